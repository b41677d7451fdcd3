#pragma once

#include "entry/borvane.h"
#include "widgets/branchcombo.h"

#include <QLineEdit>

// Runs the entry window's handlers directly, as its events would, for the
// system tests and the benchmarks: the timing then holds the handler and
// not the event delivery, and an error reaches the caller instead of the
// program's error report. Fields are found by their names, handlers run
// through TfmBorvane::runHandler.
class BorvaneProbe {
public:
    using Handler = entry::TfmBorvane::Handler;

    explicit BorvaneProbe(entry::TfmBorvane& window)
        : w(window), edDate(field(window, "edDate")), edSerial(field(window, "edSerial")),
          cbKubun(window.findChild<widgets::BranchCombo*>(QStringLiteral("cbKubun")))
    {
    }

    // The base date as typed, and the branch position chosen in the selector
    // (its change handler reloads the list, as a keystroke there does).
    void setDate(const QString& date) { edDate->setText(date); }
    QString date() const { return edDate->text(); }
    void chooseBranch(int position) { cbKubun->setCurrentIndex(position); }
    void cbKubunChange() { w.runHandler(Handler::cbKubunChange); }
    void pQuery() { w.runHandler(Handler::pQuery); }

    // Makes the list row of voucher + line current; a click on it then chooses it.
    bool locateListRow(const QString& serialJen, const QString& serialBun)
    {
        return list().locate(QStringLiteral("serial_ttt"), serialJen + serialBun);
    }
    void DBGrid1CellClick() { w.runHandler(Handler::DBGrid1CellClick); }
    bool chooseListRow(const QString& serialJen, const QString& serialBun)
    {
        if (!locateListRow(serialJen, serialBun))
            return false;
        DBGrid1CellClick();
        return true;
    }

    // A new voucher typed line by line: InsertBtnClick, the mode a typed
    // account gives ("3"), then each line's names with the codes their
    // lookups would write, description and amount.
    void InsertBtnClick() { w.runHandler(Handler::InsertBtnClick); }
    void CancelBtnClick() { w.runHandler(Handler::CancelBtnClick); }
    void startNewVoucher() { w.runHandler(Handler::StartNewVoucher); }
    void typeLine(int line, const QString& accountCode, const QString& accountName, double amount,
                  const QString& text)
    {
        w.writeLookupChoice(voucher::LookupKind::Account, line, accountCode, accountName);
        w.line(line).acText->setText(text);
        setAmount(line, amount);
    }
    // A two-line voucher (12,000 and 3,400 won of travel costs) with the
    // description text on both lines, typed from an idle window.
    void typeVoucher(const QString& text)
    {
        CancelBtnClick();
        focusAmount(2);
        startNewVoucher();
        typeLine(1, QStringLiteral("51101001000"), QStringLiteral("여비교통비"), 12000, text);
        typeLine(2, QStringLiteral("51101001000"), QStringLiteral("여비교통비"), 3400, text);
    }
    QString lineText(int line) const { return w.line(line).acText->text(); }
    void setAmount(int line, double amount) { w.line(line).crAmt->setText(QString::number(amount, 'f', 0)); }
    // Where the clerk's focus is before pressing a button: the line's amount.
    void focusAmount(int line) { w.line(line).crAmt->setFocus(); }
    void SaveBtnClick() { w.runHandler(Handler::SaveBtnClick); }
    void DeleteBtnClick() { w.runHandler(Handler::DeleteBtnClick); }

    voucher::VoucherMode mode() const { return w.mode(); }
    const QString& lastStoredKey() const { return w.lastStoredKey(); }
    QString voucherNumber() const { return edSerial->text(); }
    store::SqlStatement& list() { return w.voucherList(); }

private:
    static QLineEdit* field(entry::TfmBorvane& window, const char* name)
    {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    entry::TfmBorvane& w;
    QLineEdit* edDate;
    QLineEdit* edSerial;
    widgets::BranchCombo* cbKubun;
};
