#include "voucherform.h"

#include <iterator>

namespace schema {


QString cashName()
{
    return QString::fromUtf8(kCashNameUtf8);
}

QString voucherRowSerial(const VoucherRow& r)
{
    return QStringList{QLatin1String(kTableKubun), r.branch, r.kubunJen, r.serialJen, r.serialBun, r.form, r.side}
        .join(QLatin1Char('*'));
}

QVector<QVariant> voucherRowValues(const VoucherRow& r)
{
    const QVector<QVariant> values = {
        voucherRowSerial(r), r.serialJen, r.serialBun, r.side, r.date.mid(5, 2), r.date.left(4), r.date,
        QLatin1String(kTableKubun), r.branch, r.kubunJen, QLatin1String(kAmountKind), r.form,
        QLatin1String(kGielSerial), r.accountCode, r.accountName, r.text, r.itemCode, r.itemName, r.kubunCode,
        r.kubunName, r.projectCode, r.projectName, r.buserCode, r.buserName, r.sawonCode, r.sawonName, r.crAmt,
        r.drAmt, r.endDay};
    Q_ASSERT(values.size() == qsizetype(std::size(kVoucherColumns)));
    return values;
}

QStringList voucherColumnNames()
{
    QStringList names;
    for (const VoucherColumn& c : kVoucherColumns)
        names << QLatin1String(c.name);
    return names;
}

} // namespace schema
