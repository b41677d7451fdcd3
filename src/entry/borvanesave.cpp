#include "windowstate.h"

#include "accelbutton.h"
#include "app/waitcursor.h"
#include "messages.h"
#include "panelrows.h"
#include "store/numbering.h"
#include "store/writeunit.h"

#include <QFrame>
#include <QLineEdit>

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

} // namespace

void TfmBorvane::SaveBtnClick()
{
    WaitCursor wait;
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
    if (m_mode == QLatin1String("3"))
        saveNewVoucher(before);
    // A new voucher's save has set "1" by now: one click never does both.
    if (m_mode == QLatin1String("2"))
        saveCorrection(before);
}

bool TfmBorvane::saveChecksPass()
{
    // An amount needs an account. The texts are compared, not the values:
    // only an empty field or exactly "0" passes without one.
    for (LinePanel& line : m_lines) {
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
    // A typed name needs the code of a chosen master row, on every line.
    for (const CodeCheck& check : kCodeChecks) {
        for (LinePanel& line : m_lines) {
            QLineEdit* field = line.name(check.kind);
            if (!field->text().isEmpty() && line.code(check.kind).isEmpty()) {
                warningBox(this, lineWarning(line.number, QString::fromUtf8(check.what)));
                field->setFocus();
                return false;
            }
        }
    }
    return true;
}

void TfmBorvane::saveNewVoucher(const WindowState& before)
{
    SaveBtn->setFocus(); // the field being left runs its exit handling
    m_lastStoredKey.clear();
    try {
        // The number and every row in one transaction under the voucher
        // table's write lock: no other workstation takes the same number,
        // and a failure keeps nothing of the voucher.
        store::WriteUnit unit(Query_Sql.connection());
        edSerial->setText(store::Serial_Jen_MaxValue(Query_Max, edDate->text()));
        pSaveQuery();
        unit.commit();
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
    Query1.locate(QStringLiteral("serial_ttt"), m_lastStoredKey);
}

void TfmBorvane::pSaveQuery()
{
    QList<VoucherLine> lines;
    for (const LinePanel& line : m_lines)
        lines << readVoucherLine(line);
    const VoucherHead head{edDate->text(), branchIndex(), edSerial->text()};
    m_lastStoredKey = voucherrows::insertVoucherLines(Query_Sql, head, lines);
}
