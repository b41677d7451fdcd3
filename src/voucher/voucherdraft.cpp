#include "voucher/voucherdraft.h"

#include "core/strutil.h"
#include "schema/schema.h"
#include "voucher/amountform.h"
#include "voucher/basedate.h"
#include "voucher/namecolumns.h"

namespace voucher {

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

QString textWarning(int line, const char* label, const QString& what)
{
    return QString::number(line) + QStringLiteral("라인 ") + QString::fromUtf8(label) + QStringLiteral(": ") + what;
}

const QString kFirstInsert = QStringLiteral("처음 등록 부분을 하세요....");
const QString kNoBranch = QStringLiteral("본지점 구분을 선택하세요.");
const QString kNothingToSave = QStringLiteral("저장할 금액이 입력된 라인이 없습니다. 금액을 입력하세요....");
const QString kNoRowToCorrect = QStringLiteral("그리드에서 수정할 레코드를 선택 하세요.....");
const QString kNoRowToDelete = QStringLiteral("그리드의 레코드를 선택하세요....");

// The texts a stored line carries, the names and the description, with the
// column each goes to and the name the clerk knows the field by.
struct StoredText {
    DraftField field;
    const char* column;
    const char* label;
};

constexpr StoredText kStoredTexts[] = {
    {DraftField::Account, kNameColumns[0].nameColumn, kNameColumns[0].label},
    {DraftField::CustomerBank, kNameColumns[1].nameColumn, kNameColumns[1].label},
    {DraftField::Employee, kNameColumns[2].nameColumn, kNameColumns[2].label},
    {DraftField::Department, kNameColumns[3].nameColumn, kNameColumns[3].label},
    {DraftField::Project, kNameColumns[4].nameColumn, kNameColumns[4].label},
    {DraftField::Item, kNameColumns[5].nameColumn, kNameColumns[5].label},
    {DraftField::Description, "Ac_Text", "적요"},
};

const QString& storedText(const TypedLine& line, DraftField field)
{
    return field == DraftField::Description ? line.acText : line.names[size_t(field)];
}

DraftProblem problem(int line, DraftField field, const QString& message,
                     DraftProblem::Select select = DraftProblem::Select::Nothing)
{
    return DraftProblem{line, field, message, select};
}

// Every text goes to the store as typed, on every engine alike: nothing a
// column would cut, refuse or change.
std::optional<DraftProblem> unstorableText(const TypedLine& line)
{
    for (const StoredText& t : kStoredTexts) {
        const QString& text = storedText(line, t.field);
        const int width = schema::voucherTextWidth(QString::fromLatin1(t.column));
        if (const qsizetype at = core::firstUnstorableInCp949(text); at >= 0) {
            // A pasted NUL shows as nothing: the clerk is told where it is
            // and finds it selected.
            const QChar::Category category = text.at(at).category();
            const bool invisible = category == QChar::Other_Control || category == QChar::Other_Format;
            DraftProblem p = problem(line.number, t.field,
                                     textWarning(line.number, t.label,
                                                 QStringLiteral("%1번째 글자에 %2 들어 있습니다. 그 문자를 지우고 다시 입력하세요....")
                                                     .arg(at + 1)
                                                     .arg(invisible ? QStringLiteral("보이지 않는 제어 문자가")
                                                                    : QStringLiteral("저장할 수 없는 문자가"))),
                                     DraftProblem::Select::Range);
            p.selectFrom = int(at);
            p.selectLength = text.at(at).isHighSurrogate() ? 2 : 1;
            return p;
        }
        if (core::cp949Length(text) > width)
            return problem(line.number, t.field,
                           textWarning(line.number, t.label,
                                       QStringLiteral("%1바이트(한글 %2자)까지만 저장할 수 있습니다....")
                                           .arg(width)
                                           .arg(width / 2)),
                           DraftProblem::Select::All);
    }
    return std::nullopt;
}

} // namespace

QString modeText(VoucherMode mode)
{
    switch (mode) {
    case VoucherMode::Idle:
        return QStringLiteral("1");
    case VoucherMode::Correcting:
        return QStringLiteral("2");
    case VoucherMode::New:
        return QStringLiteral("3");
    }
    return {};
}

DraftField nameField(LookupKind kind)
{
    return static_cast<DraftField>(kind);
}

VoucherLine TypedLine::value() const
{
    // Texts go to the store as the fields hold them, untrimmed.
    VoucherLine v;
    v.serialBun = serialBun;
    v.names = names;
    v.codes = codes;
    v.acText = acText;
    v.crAmt = amountFieldValue(crAmt);
    v.drAmt = amountFieldValue(drAmt);
    return v;
}

VoucherDraft::VoucherDraft()
{
    for (int n = 1; n <= kLineCount; ++n)
        line(n).number = n;
}

bool VoucherDraft::writesLine(const TypedLine& line) const
{
    if (mode == VoucherMode::New)
        return amountFieldValue(line.crAmt) != 0;
    if (mode == VoucherMode::Correcting)
        return loadedLine && loadedLine->panel == line.number;
    return false;
}

std::optional<DraftProblem> VoucherDraft::checkSave()
{
    // What the clerk cannot see (the panels a loaded voucher does not use)
    // is neither checked nor stored.

    // An amount needs an account. The texts are compared, not the values:
    // only an empty field or exactly "0" passes without one.
    for (TypedLine& l : lines) {
        if (!l.shown)
            continue;
        if (l.crAmt.isEmpty())
            l.crAmt = QStringLiteral("0");
        if (l.drAmt.isEmpty())
            l.drAmt = QStringLiteral("0");
        if (l.crAmt != QLatin1String("0") && l.names[size_t(LookupKind::Account)].isEmpty())
            return problem(l.number, DraftField::Account, lineWarning(l.number, QStringLiteral("계정과목을")));
    }
    // An amount is a figure, never read from the digits of some other text.
    for (const TypedLine& l : lines) {
        if (!l.shown)
            continue;
        if (!isAmountText(l.crAmt))
            return problem(l.number, DraftField::Amount, notAnAmountWarning(l.number), DraftProblem::Select::All);
        if (!isAmountText(l.drAmt))
            return problem(l.number, DraftField::ReadOnlyAmount, notAnAmountWarning(l.number),
                           DraftProblem::Select::All);
    }
    // A stored line carries the code of a chosen account, not a name alone.
    for (const TypedLine& l : lines)
        if (l.shown && writesLine(l) && l.code(LookupKind::Account).isEmpty())
            return problem(l.number, DraftField::Account, lineWarning(l.number, QStringLiteral("계정과목의 코드를")),
                           DraftProblem::Select::All);
    // A typed name needs the code of a chosen master row, on every line.
    for (const CodeCheck& check : kCodeChecks)
        for (const TypedLine& l : lines)
            if (l.shown && !l.names[size_t(check.kind)].isEmpty() && l.code(check.kind).isEmpty())
                return problem(l.number, nameField(check.kind), lineWarning(l.number, QString::fromUtf8(check.what)));
    for (const TypedLine& l : lines)
        if (l.shown && writesLine(l))
            if (auto p = unstorableText(l))
                return p;

    if (mode == VoucherMode::Idle)
        return problem(1, DraftField::Account, kFirstInsert);
    if (mode != VoucherMode::New)
        return std::nullopt;
    // The date is stored as typed: it must be a real day, however it got
    // into the field (pasted, or the field never left for a check).
    if (!isBaseDate(date))
        return problem(0, DraftField::Date, badDateWarning(date));
    if (branchIndex < 0)
        return problem(0, DraftField::Branch, kNoBranch);
    // A save that would store nothing says so, and keeps what was typed.
    for (const TypedLine& l : lines)
        if (l.shown && writesLine(l))
            return std::nullopt;
    for (const TypedLine& l : lines)
        if (l.shown)
            return problem(l.number, DraftField::Amount, kNothingToSave, DraftProblem::Select::All);
    return problem(0, DraftField::None, kNothingToSave);
}

std::optional<DraftProblem> VoucherDraft::checkCorrection() const
{
    if (serial.isEmpty())
        return problem(0, DraftField::None, kNoRowToCorrect);
    return std::nullopt;
}

int VoucherDraft::lineToDelete(const QString& listedSerialBun)
{
    const int n = core::strictToInt(core::Str_RemoveBlanks(listedSerialBun));
    return n >= 1 && n <= kLineCount ? n : 0;
}

std::optional<DraftProblem> VoucherDraft::checkDeletion(int line) const
{
    if (line != 0 && serial.isEmpty())
        return problem(0, DraftField::None, kNoRowToDelete);
    return std::nullopt;
}

QList<VoucherLine> VoucherDraft::newVoucherLines() const
{
    QList<VoucherLine> stored;
    for (const TypedLine& l : lines)
        if (l.shown)
            stored << l.value();
    return stored;
}

} // namespace voucher
