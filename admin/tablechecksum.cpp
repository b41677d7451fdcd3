#include "tablechecksum.h"

#include "sqlutil.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QtEndian>

QString TableChecksum::text() const
{
    return QStringLiteral("%1행 검사합 %2").arg(rows).arg(sum, 16, 16, QLatin1Char('0'));
}

QString canonicalValue(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("\x01");
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(value.toDouble(), 'g', 17);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    default:
        break;
    }
    QString text = value.toString();
    while (text.endsWith(u' '))
        text.chop(1);
    // An embedded file keeps a time as its text; a server as a time.
    static const QRegularExpression time(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d[T ]\\d\\d:\\d\\d:\\d\\d(\\.\\d+)?$"));
    if (time.match(text).hasMatch()) {
        QString iso = text;
        iso[10] = u'T';
        const QDateTime parsed = QDateTime::fromString(iso, Qt::ISODateWithMs);
        if (parsed.isValid())
            return parsed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    }
    return text;
}

QStringList columnsOf(store::Connection& connection, const QString& table)
{
    QSqlQuery q = prepareNative(connection, QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table));
    execPrepared(connection, q);
    const QSqlRecord record = q.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i);
    return columns;
}

TableChecksum checksumOf(store::Connection& connection, const QString& table, const QStringList& columns)
{
    QSqlQuery q = prepareNative(connection, QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u','), table));
    q.setForwardOnly(true);
    execPrepared(connection, q);
    TableChecksum sum;
    QStringList values;
    while (q.next()) {
        values.clear();
        for (int i = 0; i < columns.size(); ++i)
            values << canonicalValue(q.value(i));
        const QByteArray hash =
            QCryptographicHash::hash(values.join(QChar(0x1f)).toUtf8(), QCryptographicHash::Sha256);
        sum.sum += qFromBigEndian<quint64>(hash.constData());
        ++sum.rows;
    }
    return sum;
}
