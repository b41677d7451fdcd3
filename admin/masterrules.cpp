#include "masterrules.h"

#include "schema/voucherform.h"

#include <QRegularExpression>
#include <algorithm>

namespace admin {

namespace {

// The chart of accounts is keyed by its code set as well: the former chart
// keeps its codes beside the current one.
const QList<MasterRules>& allRules()
{
    const auto row = [](const char* fields) { return QString::fromUtf8(fields).split(u'|'); };
    static const QList<MasterRules> rules = {
        {QStringLiteral("kubun_table"), {QStringLiteral("Kubun_Code")}, true, false, 5,
         row("Kubun_Code=00000|Kubun_Name=본사|Kubun_JangSo=서울")},
        {QStringLiteral("test_ac_code"), {QStringLiteral("code_kubun"), QStringLiteral("ac_code")}, false, true, 0,
         row("ac_code=10101001000|ac_name=현금|bigo=자산 > 유동자산 > 당좌자산 : 보유 현금 및 소액현금|code_kubun=SSSSS"
             "|a_kubun=1|b_kubun=01|c_kubun=01")},
        {QStringLiteral("Sale_Table"), {QStringLiteral("Sale_Code")}, false, false, 0,
         row("Sale_Code=10001|Sale_Name=(주)한빛상사|Sale_Serial01=214|Sale_Serial02=81|Sale_Serial03=34567")},
        {QStringLiteral("Bank_Table"), {QStringLiteral("Bank_Code")}, false, false, 0,
         row("Bank_Code=20001|Bank_Name=국민은행 본점|Bank_Serial=012-01-0345-678")},
        {QStringLiteral("Sawon_Table"), {QStringLiteral("Sawon_Code")}, false, false, 0,
         row("Sawon_Code=1001|Sawon_Name=김철수|Sawon_Kubun=남|Sawon_Jumin01=800101|Sawon_Jumin02=1000000"
             "|Sawon_Text=회계팀 대리")},
        {QStringLiteral("Buser_Table"), {QStringLiteral("Buser_Code")}, false, false, 0,
         row("Buser_Code=100|Buser_Name=경영지원팀|Buser_Text=경영기획 및 지원 업무")},
        {QStringLiteral("Project_Table"), {QStringLiteral("Project_Code")}, false, false, 0,
         row("Project_Code=P001|Project_Name=본사 이전|Project_Text=사옥 이전 공사")},
        {QStringLiteral("Item_Table"), {QStringLiteral("Item_Code")}, false, false, 0,
         row("Item_Code=I001|Item_Name=복사용지|Item_Text=A4 80g")},
    };
    return rules;
}

bool digits(const QString& text, int count)
{
    static const QRegularExpression allDigits(QStringLiteral("^[0-9]*$"));
    return text.size() == count && allDigits.match(text).hasMatch();
}

} // namespace

const QString kCashAccount = QLatin1String(schema::kCashCode);
const QString kLookupCodeSet = QStringLiteral("SSSSS");

QString leadingZerosHint()
{
    return QStringLiteral("표 계산 프로그램이 앞의 0을 지웠을 수 있습니다: 그 열을 텍스트 형식으로 지정하고 코드를 다시 적어 저장하십시오.");
}

const QList<VoucherCodeColumn>& voucherCodeColumns()
{
    static const QList<VoucherCodeColumn> columns = {
        {"Ac_JenCode", "계정과목", {QStringLiteral("test_ac_code.ac_code")}},
        {"Kubun_Code", "거래처/은행", {QStringLiteral("Sale_Table.Sale_Code"), QStringLiteral("Bank_Table.Bank_Code")}},
        {"Sawon_Code", "사원", {QStringLiteral("Sawon_Table.Sawon_Code")}},
        {"Buser_Code", "부서", {QStringLiteral("Buser_Table.Buser_Code")}},
        {"Project_Code", "프로젝트", {QStringLiteral("Project_Table.Project_Code")}},
        {"Item_Code", "관리항목", {QStringLiteral("Item_Table.Item_Code")}},
        {"Kubun_Bon", "지점", {QStringLiteral("kubun_table.Kubun_Code")}},
    };
    return columns;
}

const MasterRules* masterRules(const QString& table)
{
    for (const MasterRules& r : allRules())
        if (r.table.compare(table, Qt::CaseInsensitive) == 0)
            return &r;
    return nullptr;
}

QStringList importableTables()
{
    QStringList names;
    for (const MasterRules& r : allRules())
        names << r.table;
    return names;
}

QList<RuleProblem> classificationProblems(const QString& aKubun, const QString& bKubun, const QString& cKubun)
{
    // The account lookup groups accounts by the three parts joined, a
    // five-digit key such as "10101".
    QList<RuleProblem> problems;
    const struct {
        const char* column;
        const QString& value;
        int width;
    } parts[] = {{"a_kubun", aKubun, 1}, {"b_kubun", bKubun, 2}, {"c_kubun", cKubun, 2}};
    for (const auto& p : parts)
        if (!digits(p.value, p.width))
            problems.append({QLatin1String(p.column),
                             QStringLiteral("분류 키는 숫자 %1자리여야 합니다 (값: \"%2\").%3")
                                 .arg(p.width)
                                 .arg(p.value, lostLeadingZeros(p.value, p.width) ? u' ' + leadingZerosHint() : QString())});
    return problems;
}

int expectedCodeDigits(const MasterRules& rules, const QStringList& codes)
{
    if (rules.codeDigits > 0)
        return rules.codeDigits;
    qsizetype longest = 0;
    for (const QString& code : codes)
        if (code.startsWith(u'0') && digits(code, int(code.size())))
            longest = std::max(longest, code.size());
    return int(longest);
}

bool lostLeadingZeros(const QString& code, int expectedDigits)
{
    return !code.isEmpty() && code.size() < expectedDigits && digits(code, int(code.size()));
}

QString branchSequenceProblem(QStringList codes)
{
    // The branch selector takes a branch's position in its list for its code.
    codes.sort();
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const QString wanted = QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
        if (codes[i] != wanted)
            return QStringLiteral("지점 코드는 00000부터 빈 곳 없이 이어져야 합니다: %1 자리에 %2이(가) 있습니다.")
                .arg(wanted, codes[i]);
    }
    return {};
}

} // namespace admin
