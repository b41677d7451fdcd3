#include "masterrules.h"

#include <QRegularExpression>

namespace {

// The chart of accounts is keyed by its code set as well: the former chart
// keeps its codes beside the current one.
const QList<MasterRules>& allRules()
{
    static const QList<MasterRules> rules = {
        {QStringLiteral("kubun_table"), {QStringLiteral("Kubun_Code")}, true, false},
        {QStringLiteral("test_ac_code"), {QStringLiteral("code_kubun"), QStringLiteral("ac_code")}, false, true},
        {QStringLiteral("Sale_Table"), {QStringLiteral("Sale_Code")}},
        {QStringLiteral("Bank_Table"), {QStringLiteral("Bank_Code")}},
        {QStringLiteral("Sawon_Table"), {QStringLiteral("Sawon_Code")}},
        {QStringLiteral("Buser_Table"), {QStringLiteral("Buser_Code")}},
        {QStringLiteral("Project_Table"), {QStringLiteral("Project_Code")}},
        {QStringLiteral("Item_Table"), {QStringLiteral("Item_Code")}},
    };
    return rules;
}

bool digits(const QString& text, int count)
{
    static const QRegularExpression allDigits(QStringLiteral("^[0-9]*$"));
    return text.size() == count && allDigits.match(text).hasMatch();
}

} // namespace

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
                             QStringLiteral("분류 키는 숫자 %1자리여야 합니다 (값: \"%2\").").arg(p.width).arg(p.value)});
    return problems;
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
