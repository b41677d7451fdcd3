// The name fields of the line panels: leaving one hands its text to the
// lookup dialog of its kind for its line; only a choice in the dialog gives
// the field its code again.
#include "borvane.h"

#include "core/strutil.h"
#include "lookup/lookupdialog.h"
#include "widgets/branchcombo.h"
#include "widgets/focusexit.h"
#include "widgets/messages.h"

#include <QLineEdit>

namespace entry {

namespace {

// Controls the clerk may move to without the field being taken as left:
// the header, the grid and the button bar except Insert and Cancel.
const QStringList& stayPutTargets()
{
    static const QStringList names = {
        QStringLiteral("edDate"),    QStringLiteral("cbKubun"),  QStringLiteral("DBGrid1"),
        QStringLiteral("SaveBtn"),   QStringLiteral("DeleteBtn"), QStringLiteral("PrintBtn"),
        QStringLiteral("CloseBtn"),  QStringLiteral("Panel7"),
    };
    return names;
}

} // namespace

void TfmBorvane::connectLineFields()
{
    widgets::FocusExit& exits = widgets::FocusExit::instance();
    for (LinePanel& line : m_lines) {
        const int n = line.number;
        for (voucher::LookupKind kind : voucher::kAllNameKinds) {
            // A chosen name the clerk changes no longer names the chosen row:
            // its code goes, and the save asks for a new choice.
            connect(line.name(kind), &QLineEdit::textEdited, this, [this, kind, n] {
                lineAt(n).code(kind).clear();
                lineTyped();
            });
            if (kind == voucher::LookupKind::Account)
                exits.setHandler(line.name(kind), [this, n](QWidget*) { edAc_JenName_0NExit(n); });
            else
                exits.setHandler(line.name(kind), [this, kind, n](QWidget*) { edName_0NExit(kind, n); });
        }
        for (QLineEdit* typed : {line.acText, line.crAmt})
            connect(typed, &QLineEdit::textEdited, this, [this] { lineTyped(); });
    }
}

QString TfmBorvane::activeControlName() const
{
    // While an exit handler runs, the window's focus widget is the control
    // receiving the focus; after a handler moves the focus it is the new one.
    return widgets::focusTargetName(focusWidget());
}

bool TfmBorvane::focusTargetStaysPut() const
{
    return stayPutTargets().contains(activeControlName());
}

void TfmBorvane::edName_0NExit(voucher::LookupKind kind, int line)
{
    if (focusTargetStaysPut())
        return;
    handOverToLookup(kind, lineAt(line));
}

void TfmBorvane::edAc_JenName_0NExit(int line)
{
    LinePanel& l = lineAt(line);
    // Moving on to the customer field of the same line starts a voucher:
    // it needs a branch and a base date.
    if (activeControlName() == l.name(voucher::LookupKind::CustomerBank)->objectName()) {
        if (branchIndex() < 0 || cbKubun->currentText().isEmpty()) {
            widgets::warningBox(this, QStringLiteral("본지점 구분을 선택하세요."));
            cbKubun->setFocus();
        }
        if (edDate->text().isEmpty() || core::cp949Length(edDate->text()) != 10) {
            widgets::warningBox(this, QStringLiteral("기준일자를 선택하세요."));
            edDate->setFocus();
        }
        // A correction never turns into a new voucher.
        if (m_draft.mode != voucher::VoucherMode::Correcting)
            m_draft.mode = voucher::VoucherMode::New;
        pEnabledBtn();
    }
    // After a failed check the focus stands on the branch or the date.
    if (focusTargetStaysPut())
        return;
    handOverToLookup(voucher::LookupKind::Account, l);
}

void TfmBorvane::handOverToLookup(voucher::LookupKind kind, LinePanel& line)
{
    QLineEdit* field = line.name(kind);
    lookup::LookupDialog* dialog = lookupDialog(kind);
    // The dialog serves this line from now on, whether it is shown or not;
    // the search text goes over as typed, blanks and all.
    if (dialog)
        dialog->prepareFor(line.number, field->text());
    line.code(kind).clear();
    // An empty name needs no lookup; an empty account lists every account.
    if (kind != voucher::LookupKind::Account && core::Str_RemoveBlanks(field->text()).isEmpty())
        return;
    if (!dialog)
        return;
    dialog->runSearch();
    dialog->showLookup();
}

} // namespace entry
