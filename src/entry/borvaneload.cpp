#include "borvane.h"

#include "core/strutil.h"
#include "widgets/messages.h"
#include "panelrows.h"
#include "voucher/amountform.h"

#include <QFrame>
#include <QLineEdit>

namespace entry {

namespace {

// A field already showing the stored text keeps it: setting it again lays
// the text out again, which is most of a load's own time, and another line
// of the voucher on the panels, or a name shared by its lines, shows the same.
void showText(QLineEdit* field, const QString& text)
{
    if (field->text() != text)
        field->setText(text);
}

} // namespace

void TfmBorvane::pPanel_DisplayQuery()
{
    if (warnWhenListEmpty())
        return;
    const QList<voucher::LoadedRow> rows = m_book.loadVoucher(edDate->text(), branchIndex(), edSerial->text());

    const QString chosenLine = m_book.listedLine().serialBun;
    std::optional<voucher::VoucherDraft::LoadedLine> chosenRead;
    for (const voucher::LoadedRow& row : rows) {
        const int n = core::strictToInt(row.stored.serialBun);
        if (n < 1 || n > voucher::kLineCount)
            continue;
        if (row.stored.serialBun == chosenLine)
            chosenRead = voucher::VoucherDraft::LoadedLine{row.stored, n, {}};
        showLoadedLine(lineAt(n), row.line);
    }

    if (chosenRead) {
        chosenRead->shown = readVoucherLine(lineAt(chosenRead->panel));
        m_draft.loadedLine = std::move(chosenRead);
        return;
    }
    // Nothing of the chosen line was read (the base date was edited since the
    // list was made, or the line is gone) and the panels kept what they held.
    // The line loaded before stays the one to correct only if it is the
    // chosen line and its panel still shows it as loaded, not cleared or
    // typed over since.
    const bool loadedLineStillShown = m_draft.loadedLine && m_draft.loadedLine->stored.serialJen == core::Str_TrimRight(edSerial->text())
                                      && m_draft.loadedLine->stored.serialBun == chosenLine
                                      && readVoucherLine(lineAt(m_draft.loadedLine->panel)) == m_draft.loadedLine->shown;
    if (!loadedLineStillShown)
        m_draft.loadedLine.reset();
}

void TfmBorvane::showLoadedLine(LinePanel& line, const voucher::VoucherLine& loaded)
{
    showText(line.serialBun, loaded.serialBun);
    for (voucher::LookupKind kind : voucher::kAllNameKinds) {
        showText(line.name(kind), loaded.name(kind));
        line.code(kind) = loaded.code(kind);
    }
    showText(line.acText, loaded.acText);
    showLoadedAmount(line.crAmt, line.crAmtPlain, loaded.crAmt);
    showLoadedAmount(line.drAmt, line.drAmtPlain, loaded.drAmt);
}

void TfmBorvane::showLoadedAmount(QLineEdit* field, QString& plain, double stored)
{
    plain = voucher::amountPlainForm(stored);
    const double value = core::Str_ToNumber(core::Str_TrimLeft(plain));
    showText(field, voucher::amountDisplayForm(value));
}

} // namespace entry
