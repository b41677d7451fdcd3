#include "windowstate.h"

#include "widgets/accelbutton.h"
#include "widgets/waitcursor.h"
#include "basedate.h"
#include "widgets/branchcombo.h"
#include "widgets/colourpanel.h"
#include "widgets/messages.h"
#include "panelrows.h"
#include "core/strutil.h"
#include "schema/schema.h"
#include "voucher/amountform.h"
#include "voucher/namecolumns.h"

#include <QFrame>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QVector>
#include <optional>

namespace {

// The code checks, in the order they run, with what the warning names.
struct CodeCheck {
    LookupKind kind;
    const char* what;
};

constexpr CodeCheck kCodeChecks[] = {
    {LookupKind::CustomerBank, "거래처및은행명의 코드를"},
    {LookupKind::Employee, "사원이름의 코드를"},
    {LookupKind::Department, "부서이름의 코드를"},
    {LookupKind::Project, "프로젝트이름의 코드를"},
    {LookupKind::Item, "아이템 명의 코드를"},
};

QString lineWarning(int line, const QString& what)
{
    return QString::number(line) + QStringLiteral("라인에 ") + what + QStringLiteral(" 등록 하세요....");
}

QString notAnAmountWarning(int line)
{
    return QString::number(line) + QStringLiteral("라인의 금액은 숫자로만 입력할 수 있습니다....");
}

// The texts a stored line carries: the names and the description, with the
// column each goes to and the name the clerk knows the field by.
struct StoredText {
    std::optional<LookupKind> kind; // none: the description
    const char* column;
    const char* label;
};

const QVector<StoredText>& storedTexts()
{
    static const QVector<StoredText> texts = [] {
        QVector<StoredText> t;
        for (const NameColumns& n : kNameColumns)
            t.append({n.kind, n.nameColumn, n.label});
        t.append({std::nullopt, "Ac_Text", "적요"});
        return t;
    }();
    return texts;
}

QString textWarning(int line, const char* label, const QString& what)
{
    return QString::number(line) + QStringLiteral("라인 ") + QString::fromUtf8(label) + QStringLiteral(": ") + what;
}

const QString kBadDate = QStringLiteral(" : 유효하지 않은 날짜 형식입니다.");
const QString kNoBranch = QStringLiteral("본지점 구분을 선택하세요.");
const QString kNothingToSave = QStringLiteral("저장할 금액이 입력된 라인이 없습니다. 금액을 입력하세요....");

// Puts the focus on a field with its text selected, ready to be corrected.
void focusSelected(QLineEdit* field)
{
    field->selectAll();
    field->setFocus();
}

} // namespace

void TfmBorvane::SaveBtnClick()
{
    WaitCursor wait;
    // Focus moves made from here on (to a refused field, to the button) are
    // no reason for the date or branch handlers to drop the typed lines.
    const QScopedValueRollback saving(m_saving, true);
    // Taken before anything changes, to put back if the store refuses.
    const WindowState before = captureState();

    if (m_mode != QLatin1String("3") && warnWhenListEmpty())
        return;
    if (!saveChecksPass())
        return;

    if (m_mode == QLatin1String("1")) {
        warningBox(this, QStringLiteral("처음 등록 부분을 하세요...."));
        lineAt(1).name(LookupKind::Account)->setFocus();
        return;
    }
    if (m_mode == QLatin1String("3")) {
        if (!newVoucherChecksPass())
            return;
        saveNewVoucher(before);
    }
    // A new voucher's save has set "1" by now: one click never does both.
    if (m_mode == QLatin1String("2"))
        saveCorrection(before);
}

bool TfmBorvane::saveChecksPass()
{
    // What the clerk cannot see (the panels a loaded voucher does not use)
    // is neither checked nor stored.
    const auto shown = [](const LinePanel& line) { return !line.panel->isHidden(); };

    // An amount needs an account. The texts are compared, not the values:
    // only an empty field or exactly "0" passes without one.
    for (LinePanel& line : m_lines) {
        if (!shown(line))
            continue;
        if (line.crAmt->text().isEmpty())
            line.crAmt->setText(QStringLiteral("0"));
        if (line.drAmt->text().isEmpty())
            line.drAmt->setText(QStringLiteral("0"));
        QLineEdit* account = line.name(LookupKind::Account);
        if (line.crAmt->text() != QLatin1String("0") && account->text().isEmpty()) {
            warningBox(this, lineWarning(line.number, QStringLiteral("계정과목을")));
            account->setFocus();
            return false;
        }
    }
    // An amount is a figure, never read from the digits of some other text.
    for (LinePanel& line : m_lines) {
        for (QLineEdit* amount : {line.crAmt, line.drAmt}) {
            if (shown(line) && !isAmountText(amount->text())) {
                warningBox(this, notAnAmountWarning(line.number));
                focusSelected(amount);
                return false;
            }
        }
    }
    // A stored line carries the code of a chosen account, not a name alone.
    for (LinePanel& line : m_lines) {
        if (shown(line) && saveWritesLine(line) && line.code(LookupKind::Account).isEmpty()) {
            warningBox(this, lineWarning(line.number, QStringLiteral("계정과목의 코드를")));
            focusSelected(line.name(LookupKind::Account));
            return false;
        }
    }
    // A typed name needs the code of a chosen master row, on every line.
    for (const CodeCheck& check : kCodeChecks) {
        for (LinePanel& line : m_lines) {
            QLineEdit* field = line.name(check.kind);
            if (shown(line) && !field->text().isEmpty() && line.code(check.kind).isEmpty()) {
                warningBox(this, lineWarning(line.number, QString::fromUtf8(check.what)));
                field->setFocus();
                return false;
            }
        }
    }
    // Every text goes to the store as typed, on every engine alike: nothing
    // a column would cut, refuse or change.
    for (LinePanel& line : m_lines) {
        if (!shown(line) || !saveWritesLine(line))
            continue;
        for (const StoredText& t : storedTexts()) {
            QLineEdit* field = t.kind ? line.name(*t.kind) : line.acText;
            const int width = store::voucherTextWidth(QString::fromLatin1(t.column));
            if (const qsizetype at = firstUnstorableInCp949(field->text()); at >= 0) {
                // A pasted NUL shows as nothing: the clerk is told where it is
                // and finds it selected.
                const QChar::Category category = field->text().at(at).category();
                const bool invisible = category == QChar::Other_Control || category == QChar::Other_Format;
                warningBox(this, textWarning(line.number, t.label,
                                             QStringLiteral("%1번째 글자에 %2 들어 있습니다. 그 문자를 지우고 다시 입력하세요....")
                                                 .arg(at + 1)
                                                 .arg(invisible ? QStringLiteral("보이지 않는 제어 문자가")
                                                                : QStringLiteral("저장할 수 없는 문자가"))));
                field->setFocus();
                field->setSelection(int(at), field->text().at(at).isHighSurrogate() ? 2 : 1);
                return false;
            }
            if (cp949Length(field->text()) > width) {
                warningBox(this, textWarning(line.number, t.label,
                                             QStringLiteral("%1바이트(한글 %2자)까지만 저장할 수 있습니다....")
                                                 .arg(width)
                                                 .arg(width / 2)));
                focusSelected(field);
                return false;
            }
        }
    }
    return true;
}

bool TfmBorvane::saveWritesLine(const LinePanel& line) const
{
    if (m_mode == QLatin1String("3"))
        return amountFieldValue(line.crAmt->text()) != 0;
    if (m_mode == QLatin1String("2"))
        return m_loadedLine && m_loadedLine->panel == line.number;
    return false;
}

bool TfmBorvane::newVoucherChecksPass()
{
    // The date is stored as typed: it must be a real day, however it got
    // into the field (pasted, or the field never left for a check).
    if (!isBaseDate(edDate->text())) {
        warningBox(this, edDate->text() + kBadDate);
        edDate->setFocus();
        return false;
    }
    if (branchIndex() < 0) {
        warningBox(this, kNoBranch);
        cbKubun->setFocus();
        return false;
    }
    // A save that would store nothing says so, and keeps what was typed.
    for (const LinePanel& line : m_lines)
        if (!line.panel->isHidden() && saveWritesLine(line))
            return true;
    warningBox(this, kNothingToSave);
    for (LinePanel& line : m_lines) {
        if (!line.panel->isHidden()) {
            focusSelected(line.crAmt);
            break;
        }
    }
    return false;
}

void TfmBorvane::saveNewVoucher(const WindowState& before)
{
    SaveBtn->setFocus(); // the field being left runs its exit handling
    // An exit handler that kept the focus (an amount too long, say) has told
    // the clerk why; the voucher is not stored as it stands.
    if (focusWidget() != SaveBtn || m_mode != QLatin1String("3"))
        return;
    m_lastStoredKey.clear();
    try {
        // The book numbers and stores the voucher whole or not at all.
        QList<VoucherLine> lines;
        for (const LinePanel& line : m_lines)
            if (!line.panel->isHidden())
                lines << readVoucherLine(line);
        const SavedVoucher saved = m_book.saveNewVoucher(edDate->text(), branchIndex(), lines);
        edSerial->setText(saved.serialJen);
        m_lastStoredKey = saved.lastStoredKey;
    } catch (const PeriodClosedError& closed) {
        // Nothing was written: the clerk keeps the voucher and picks another date.
        restoreState(before);
        warningBox(this, closed.text());
        focusSelected(edDate);
        return;
    } catch (...) {
        // Rolled back; the clerk gets the voucher back as typed, and the
        // program's error report shows the engine's text.
        restoreState(before);
        throw;
    }
    setMode(QStringLiteral("1"));
    pEnabledBtn();
    pClear();
    Panel7->setFocus();
    pQuery();
    m_book.locateListedLine(m_lastStoredKey);
}
