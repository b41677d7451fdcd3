#include "tablechecksum.h"

#include "progress.h"
#include "sqlutil.h"
#include "textshape.h"
#include "utf8text.h"

#include "core/strutil.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QSqlRecord>
#include <QtEndian>
#include <optional>

namespace admin {

QString TableChecksum::text() const
{
    return QStringLiteral("%1행 검사합 %2").arg(rows).arg(sum, 16, 16, QLatin1Char('0'));
}

namespace {

// "yyyy-MM-dd hh:mm:ss" or with T, perhaps with a fraction of one or more digits.
bool looksLikeTime(QStringView text)
{
    constexpr qsizetype kSeconds = 19;
    if (!hasShape(QStringView(text).left(kSeconds), "0000-00-00?00:00:00"))
        return false;
    if (text.size() == kSeconds)
        return true;
    if (text.size() == kSeconds + 1 || text[kSeconds] != u'.')
        return false;
    for (qsizetype i = kSeconds + 1; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    return true;
}

} // namespace

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
    const QString text = core::Str_TrimRight(value.toString());
    // An embedded file keeps a time as its text; a server as a time.
    if (looksLikeTime(text)) {
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

namespace {

// A text's canonical form is the text without its trailing blanks unless
// it reads as a time: appended here without a copy of its own, as most
// values of a ledger are such texts.
bool appendCanonicalText(QByteArray& out, QStringView text)
{
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    if (looksLikeTime(text))
        return false;
    appendUtf8(out, text);
    return true;
}

// The same for a text given in UTF-8 (no byte of a longer character is a blank).
bool appendCanonicalText(QByteArray& out, QByteArrayView text)
{
    while (!text.isEmpty() && text.back() == ' ')
        text.chop(1);
    // Anything that could read as a time goes the whole way.
    if (text.size() >= 19 && text[4] == '-')
        return false;
    out += text;
    return true;
}

} // namespace

void ChecksumAdder::add(const RowStream& row, qsizetype columns)
{
    m_text.clear();
    for (int i = 0; i < columns; ++i) {
        if (i > 0)
            m_text += '\x1f';
        if (const std::optional<QByteArrayView> text = row.textBytes(i); text && appendCanonicalText(m_text, *text))
            continue;
        const QVariant value = row.value(i);
        if (value.metaType().id() == QMetaType::QString && !value.isNull()
            && appendCanonicalText(m_text, *static_cast<const QString*>(value.constData())))
            continue;
        m_text += canonicalValue(value).toUtf8();
    }
    const QByteArray hash = QCryptographicHash::hash(m_text, QCryptographicHash::Sha256);
    m_sum.sum += qFromBigEndian<quint64>(hash.constData());
    ++m_sum.rows;
}

TableChecksum checksumOf(store::Connection& connection, const QString& table, const QStringList& columns,
                         const QString& what)
{
    const qint64 total = countRows(connection, table);
    RowStream rows(connection, QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u','), table));
    return checksumOf(rows, columns.size(), total, what);
}

TableChecksum checksumOf(RowStream& rows, qsizetype columns, qint64 total, const QString& what)
{
    Progress progress(what, total);
    ChecksumAdder adder;
    while (rows.next()) {
        adder.add(rows, columns);
        progress.advanceTo(adder.sum().rows);
    }
    return adder.sum();
}

} // namespace admin
