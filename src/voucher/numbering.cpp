#include "voucher/numbering.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "schema/voucherform.h"
#include "store/statement.h"

#include <cmath>

namespace voucher {

namespace {

constexpr int kLineWidth = 60; // statement lines are sent blank-filled; the width means nothing

QString filled(const char* line)
{
    return QString::fromLatin1(line).leftJustified(kLineWidth, u' ');
}

void setSerialMaxText(store::SqlStatement& queryMax)
{
    queryMax.close();
    queryMax.clearText();
    queryMax.addLine(filled("Select Max(Serial_Jen) as Serial_Max"));
    queryMax.addLine(filled("From   Account_Jen_AA"));
    // The date field takes pasted text: it is bound, never written into the statement.
    queryMax.addLine(filled("Where  Date_Day = :tbDate_Day"));
}

} // namespace

void prepareSerialJenMax(store::SqlStatement& queryMax)
{
    setSerialMaxText(queryMax);
    queryMax.prepare();
}

QString Serial_Jen_MaxValue(store::SqlStatement& queryMax, const QString& dateText)
{
    setSerialMaxText(queryMax);
    queryMax.bindText(QStringLiteral("tbDate_Day"), dateText);
    queryMax.open();
    const QString highest = queryMax.asText(QStringLiteral("Serial_Max"));
    queryMax.close();

    if (highest.isEmpty())
        return dateText + QStringLiteral("-00000001");

    // Characters 12 to 19: the sequence number after "YYYY-MM-DD-".
    const QString digits = highest.mid(11, 8);
    const double sequence = core::strictToDouble(digits);
    if (sequence != std::floor(sequence) || sequence < 0)
        throw core::ConversionError(QStringLiteral("'%1'은(는) 올바른 전표 번호가 아닙니다.").arg(highest));
    return dateText + u'-' + core::formatZeroPadded(qint64(sequence) + 1, 8);
}

QString Serial_MaxValue(int branchIndex, const QString& voucherNumber, const QString& lineNumber,
                        const QString& formAndSide)
{

    return QString::fromLatin1(schema::kTableKubun) + u'*' + core::formatZeroPadded(branchIndex, 5) + u'*' + QLatin1String(schema::kWithdrawalKind) + u'*'
           + core::Str_RemoveBlanks(voucherNumber) + u'*' + core::Str_RemoveBlanks(lineNumber) + u'*'
           + core::Str_RemoveBlanks(formAndSide);
}

} // namespace voucher
