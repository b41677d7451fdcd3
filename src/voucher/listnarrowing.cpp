#include "voucher/listnarrowing.h"

#include "schema/schema.h"
#include "store/statement.h"

namespace voucher {

namespace {

constexpr int kDateWidth = 10;
constexpr int kBranchWidth = 5;

// Characters that compare in like exactly as in = on every engine: ASCII,
// no wildcard (% _), no escape or set bracket, no letter (case-blind in like).
bool comparesPlainly(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x80)
        return false;
    if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z'))
        return false;
    return u != u'%' && u != u'_' && u != u'\\' && u != u'[' && u != u']' && u != u'^';
}

// rtrim in SQL removes blanks only.
QString withoutTrailingBlanks(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

} // namespace

std::optional<DateAndBranch> pinnedBy(const QString& pattern)
{
    if (pattern.size() != 1 + kDateWidth + kBranchWidth + 1 || !pattern.startsWith(u'%') || !pattern.endsWith(u'%'))
        return std::nullopt;
    const QString inner = pattern.mid(1, kDateWidth + kBranchWidth);
    for (QChar c : inner) {
        if (!comparesPlainly(c))
            return std::nullopt;
    }
    return DateAndBranch{withoutTrailingBlanks(inner.left(kDateWidth)), withoutTrailingBlanks(inner.mid(kDateWidth))};
}

void narrowToDateAndBranch(store::SqlStatement& query, const QString& pattern)
{
    const std::optional<DateAndBranch> pinned = pinnedBy(pattern);
    if (!pinned || !schema::keyWidthsEnforced(query.connection()))
        return;
    QStringList lines = query.lines();
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (lines[i].contains(QLatin1String(":tbDKubun"), Qt::CaseInsensitive))
            lines.insert(i + 1, QStringLiteral("and rtrim(t.Date_Day) = :tbListDay and rtrim(t.Kubun_Bon) = :tbListBon"));
    }
    query.setLines(lines);
    query.bindText(QStringLiteral("tbListDay"), pinned->date);
    query.bindText(QStringLiteral("tbListBon"), pinned->branch);
}

} // namespace voucher
