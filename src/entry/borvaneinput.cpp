// Keyboard filters of the entry window, the base date's exit check and the
// ten amount fields: their length limits, display form and the focus moves
// from a line's amounts.
#include "borvane.h"

#include "widgets/accelbutton.h"
#include "voucher/amountform.h"
#include "widgets/dbgrid.h"
#include "widgets/focusexit.h"
#include "widgets/hangulinput.h"
#include "widgets/preeditcommit.h"
#include "core/strutil.h"
#include "widgets/waitcursor.h"
#include "voucher/basedate.h"
#include "widgets/branchcombo.h"
#include "widgets/clickhook.h"
#include "widgets/messages.h"
#include "widgets/typedkey.h"

#include <QFrame>
#include <QLineEdit>

namespace entry {

namespace {

const QString kRefusedKey = QStringLiteral("잘못 입력하셨습니다");
const QString kTooLong = QStringLiteral("전체 길이가 12자를 초과 할 수 없읍니다.....");
const QString kTooLongNegative = QStringLiteral("전체 길이가 13자를 초과 할 수 없읍니다.....");
const QString kNotAnAmount = QStringLiteral(" : 금액은 숫자로만 입력할 수 있습니다.");
const QString kNoAccountCode = QStringLiteral("계정과목의 코드와 계정명을 등록 하세요.....");

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;
constexpr char16_t kCtrlY = 25;

bool isDateKey(char16_t key)
{
    return key == kBackspace || key == kEnter || key == kCtrlY || key == u'-' || (key >= u'0' && key <= u'9');
}

} // namespace

void TfmBorvane::connectInputHandlers()
{
    auto* dateKeys = new widgets::KeyPressFilter([this](QWidget* c, char16_t& key) { edDateKeyPress(c, key); }, this);
    auto* amountKeys = new widgets::KeyPressFilter([this](QWidget* c, char16_t& key) { edAmtKeyPress(c, key); }, this);
    auto* editKeys = new widgets::KeyPressFilter([this](QWidget* c, char16_t& key) { edEditKeyPress(c, key); }, this);
    auto* composing = new widgets::PreeditCommitter(this);
    auto* amountClicks = new widgets::ClickHook(
        [this](QWidget* c) {
            for (const LinePanel& line : m_lines)
                if (line.crAmt == c)
                    edCr_Amt_0NClick(line.number);
        },
        this);
    widgets::FocusExit& exits = widgets::FocusExit::instance();
    widgets::HangulInput& hangul = widgets::HangulInput::instance();

    dateKeys->watch(edDate);
    composing->watch(edDate);
    exits.setHandler(edDate, [this](QWidget*) { edDateExit(); });
    editKeys->watch({cbKubun, edSerial});
    composing->watch(cbKubun);
    hangul.askOnFocus(cbKubun);
    hangul.askOnFocus(DBGrid1);

    for (LinePanel& line : m_lines) {
        const int n = line.number;
        editKeys->watch(line.serialBun);
        for (voucher::LookupKind kind : voucher::kAllNameKinds) {
            editKeys->watch(line.name(kind));
            composing->watch(line.name(kind));
            hangul.askOnFocus(line.name(kind));
        }
        editKeys->watch(line.acText);
        composing->watch(line.acText);
        hangul.askOnFocus(line.acText);
        amountKeys->watch({line.crAmt, line.drAmt});
        composing->watch(line.crAmt);
        amountClicks->watch(line.crAmt);
        exits.setHandler(line.crAmt, [this, n](QWidget*) { edCr_Amt_0NExit(n); });
        exits.setHandler(line.drAmt, [this, n](QWidget*) { edDr_Amt_0NExit(n); });
    }
}

void TfmBorvane::refuseKey(char16_t& key)
{
    key = 0;
    widgets::plainBox(this, kRefusedKey);
}

void TfmBorvane::edDateKeyPress(QWidget* sender, char16_t& key)
{
    if (!isDateKey(key)) {
        refuseKey(key);
        return;
    }
    edEditKeyPress(sender, key);
}

void TfmBorvane::edAmtKeyPress(QWidget* sender, char16_t& key)
{
    if (!isDateKey(key) && key != u'.') {
        refuseKey(key);
        return;
    }
    edEditKeyPress(sender, key);
}

void TfmBorvane::edEditKeyPress(QWidget* sender, char16_t& key)
{
    if (key == kEnter) {
        key = 0;
        selectNextTabStop(sender);
    }
}

void TfmBorvane::selectNextTabStop(QWidget* from)
{
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if (w->window() == this && !w->focusProxy() && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled()
            && w->isVisible()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void TfmBorvane::edDateExit()
{
    // Straight into the grid: the clerk is about to choose a listed voucher.
    if (activeControlName() == QLatin1String("DBGrid1")) {
        m_draft.mode = voucher::VoucherMode::New;
        return;
    }
    const QString date = edDate->text();
    bool accepted = true;
    if (!voucher::isCalendarDate(date)) {
        widgets::warningBox(this, voucher::badDateWarning(date));
        edDate->setFocus();
        accepted = false;
    }
    if (core::cp949Length(date) != 10) {
        widgets::warningBox(this, voucher::badDateWarning(date));
        edDate->setFocus();
        accepted = false;
    }
    // Typed lines are not thrown away unasked; with a refused date the clerk
    // is back in the field and nothing needs to go yet.
    if (hasUnsavedLines() && (!accepted || !mayDiscardTypedLines(edDate)))
        return;
    pQuery();
    m_draft.mode = voucher::VoucherMode::Idle;
    pEnabledBtn();
    showPanelsEnabled();
    paintPanelsButtonFace();
    pClear();
}

bool TfmBorvane::reformatAmount(QLineEdit* field)
{
    // Text that is no figure ("3천") is refused, never read from its digits.
    if (!voucher::isAmountText(field->text())) {
        widgets::warningBox(this, field->text() + kNotAnAmount);
        if (!field->isReadOnly())
            field->setFocus();
        return false;
    }
    const QString figure = core::Str_RemoveBlanks(field->text());
    double value = core::Str_ToNumber(figure); // an unreadable figure ends the exit here
    if (value == 0)
        value = 0; // "-0" is shown as 0
    // The clerk cannot change the read-only amount: its length is that of the
    // figure without separators, and a refusal does not keep the focus there.
    const bool readOnly = field->isReadOnly();
    const int length = core::cp949Length(readOnly ? QString(figure).remove(u',') : figure);
    const bool tooLong = value >= 0 ? length > 12 : length > 13;
    if (tooLong) {
        widgets::warningBox(this, value >= 0 ? kTooLong : kTooLongNegative);
        if (!readOnly)
            field->setFocus();
        return false;
    }
    field->setText(voucher::amountDisplayForm(value));
    return true;
}

void TfmBorvane::edCr_Amt_0NExit(int line)
{
    LinePanel& l = lineAt(line);
    if (!reformatAmount(l.crAmt))
        return;
    // Correcting: leaving the amount for the grid lands on the save button.
    if (m_draft.mode == voucher::VoucherMode::Correcting && activeControlName() == QLatin1String("DBGrid1")) {
        Panel7->setFocus();
        SaveBtn->setFocus();
    }
    if (m_draft.mode == voucher::VoucherMode::Correcting && activeControlName() == l.drAmt->objectName()) {
        l.drAmt->setText(voucher::amountPlainForm(core::Str_ToNumber(l.drAmt->text())));
        l.drAmt->selectAll();
    }
}

void TfmBorvane::edDr_Amt_0NExit(int line)
{
    LinePanel& l = lineAt(line);
    if (!reformatAmount(l.drAmt))
        return;
    QLineEdit* account = l.name(voucher::LookupKind::Account);
    if (l.code(voucher::LookupKind::Account).isEmpty()) {
        widgets::warningBox(this, kNoAccountCode);
        widgets::restoreAllCursors();
        account->selectAll();
        account->setFocus();
        return;
    }
    if (m_draft.mode == voucher::VoucherMode::Correcting && activeControlName() == QLatin1String("DBGrid1")) {
        Panel7->setFocus();
        SaveBtn->setFocus();
    }
    // The last line is closed on the save button, when there is something to save.
    if (line == voucher::kLineCount && SaveBtn->isEnabled())
        SaveBtn->setFocus();
}

void TfmBorvane::edCr_Amt_0NClick(int line)
{
    QLineEdit* field = lineAt(line).crAmt;
    if (m_draft.mode != voucher::VoucherMode::Correcting || focusWidget() != field)
        return;
    // Ready to be overtyped: the figure without blanks and separators.
    field->setText(voucher::amountPlainForm(core::Str_ToNumber(field->text())));
    field->selectAll();
}

} // namespace entry
