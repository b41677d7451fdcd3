#pragma once

#include "entry/borvane.h"
#include "widgets/branchcombo.h"

#include <QLineEdit>

// Runs the entry window's handlers directly, as its events would, for the
// system tests and the benchmarks: the timing then holds the handler and
// not the event delivery, and an error reaches the caller instead of the
// program's error report.
class BorvaneProbe {
public:
    explicit BorvaneProbe(TfmBorvane& window) : w(window) {}

    // The base date as typed, and the branch position chosen in the selector
    // (its change handler reloads the list, as a keystroke there does).
    void setDate(const QString& date) { w.edDate->setText(date); }
    QString date() const { return w.edDate->text(); }
    void chooseBranch(int position) { w.cbKubun->setCurrentIndex(position); }
    void cbKubunChange() { w.cbKubunChange(); }
    void pQuery() { w.pQuery(); }

    // Makes the list row of voucher + line current; a click on it then chooses it.
    bool locateListRow(const QString& serialJen, const QString& serialBun)
    {
        return w.Query1.locate(QStringLiteral("serial_ttt"), serialJen + serialBun);
    }
    void DBGrid1CellClick() { w.DBGrid1CellClick(); }
    bool chooseListRow(const QString& serialJen, const QString& serialBun)
    {
        if (!locateListRow(serialJen, serialBun))
            return false;
        DBGrid1CellClick();
        return true;
    }
    void pDBGridDisplay() { w.pDBGridDisplay(); }

    // A new voucher typed line by line: InsertBtnClick, the mode a typed
    // account gives ("3"), then each line's names with the codes their
    // lookups would write, description and amount.
    void InsertBtnClick() { w.InsertBtnClick(); }
    void CancelBtnClick() { w.CancelBtnClick(); }
    void startNewVoucher()
    {
        w.setMode(QStringLiteral("3"));
        w.pEnabledBtn();
    }
    void typeLine(int line, const QString& accountCode, const QString& accountName, double amount,
                  const QString& text)
    {
        w.writeLookupChoice(LookupKind::Account, line, accountCode, accountName);
        w.lineAt(line).acText->setText(text);
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
    QString lineText(int line) const { return w.lineAt(line).acText->text(); }
    void setAmount(int line, double amount) { w.lineAt(line).crAmt->setText(QString::number(amount, 'f', 0)); }
    // Where the clerk's focus is before pressing a button: the line's amount.
    void focusAmount(int line) { w.lineAt(line).crAmt->setFocus(); }
    void SaveBtnClick() { w.SaveBtnClick(); }
    void DeleteBtnClick() { w.DeleteBtnClick(); }

    const QString& mode() const { return w.mode(); }
    const QString& lastStoredKey() const { return w.lastStoredKey(); }
    QString voucherNumber() const { return w.edSerial->text(); }
    store::SqlStatement& list() { return w.Query1; }

private:
    TfmBorvane& w;
};
