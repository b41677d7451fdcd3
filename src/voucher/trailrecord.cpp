#include "voucher/trailrecord.h"

#include "voucher/namecolumns.h"

#include <QCryptographicHash>
#include <QLocale>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace voucher {

QString TrailRecord::computedHash() const
{
    QByteArray text;
    for (const QString* field :
         {&operation, &serialJen, &serialBun, &branch, &date, &doneBy, &doneAt, &workstation, &before, &after, &prevHash}) {
        const QByteArray bytes = field->toUtf8();
        text += QByteArray::number(bytes.size()) + ':' + bytes + '\n';
    }
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

namespace {

QString escaped(QString value)
{
    return value.replace(u'\\', QLatin1String("\\\\")).replace(u'\t', QLatin1String("\\t")).replace(u'\n', QLatin1String("\\n"));
}

QString unescaped(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        out += next == u't' ? QChar(u'\t') : next == u'n' ? QChar(u'\n') : next;
    }
    return out;
}

QString valueOf(const QList<std::pair<QString, QString>>& row, const char* column)
{
    for (const auto& [name, value] : row)
        if (name == QLatin1String(column))
            return value;
    return {};
}

} // namespace

const QStringList& trailRowColumns()
{
    static const QStringList columns = [] {
        QStringList c = {QStringLiteral("Serial_CrDr"), QStringLiteral("Date_Day"), QStringLiteral("Kubun_Bon")};
        for (const NameColumns& n : kNameColumns)
            c << QLatin1String(n.codeColumn) << QLatin1String(n.nameColumn);
        c << QStringLiteral("Ac_Text") << QStringLiteral("Cr_Amt") << QStringLiteral("Dr_Amt");
        return c;
    }();
    return columns;
}

QString trailRowText(const QStringList& values)
{
    QStringList pairs;
    for (qsizetype i = 0; i < trailRowColumns().size(); ++i)
        pairs << trailRowColumns()[i] + u'=' + escaped(values.value(i));
    return pairs.join(u'\t');
}

QList<QList<std::pair<QString, QString>>> parseTrailRows(const QString& text)
{
    QList<QList<std::pair<QString, QString>>> rows;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        QList<std::pair<QString, QString>> row;
        for (const QString& pair : line.split(u'\t'))
            row.append({pair.section(u'=', 0, 0), unescaped(pair.section(u'=', 1))});
        rows << row;
    }
    return rows;
}

QString trailSummary(const QString& rowsText)
{
    for (const auto& row : parseTrailRows(rowsText)) {
        if (valueOf(row, "Serial_CrDr") != QLatin1String("01"))
            continue;
        const double amount = valueOf(row, "Cr_Amt").toDouble();
        QString text = QStringLiteral("%1 %2").arg(valueOf(row, "Ac_JenName"), QLocale(QLocale::Korean).toString(amount, 'f', 0));
        if (const QString note = valueOf(row, "Ac_Text"); !note.isEmpty())
            text += QStringLiteral(" (%1)").arg(note);
        return text;
    }
    return QStringLiteral("(없음)");
}


QString operatingSystemUser()
{
#ifdef Q_OS_UNIX
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

QString workstationName()
{
    return QSysInfo::machineHostName();
}

} // namespace voucher
