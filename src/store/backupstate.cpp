#include "backupstate.h"

#include "core/errors.h"
#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace store {

namespace {

constexpr qint64 kStaleSeconds = 2 * 24 * 3600;

QString besideDatabase(const QString& databasePath, const QString& suffix)
{
    const QFileInfo info(databasePath);
    return info.absoluteDir().filePath(info.completeBaseName() + suffix);
}

QString placeFile(const QString& databasePath) { return besideDatabase(databasePath, QStringLiteral("-backup-place.txt")); }
QString stateFile(const QString& databasePath) { return besideDatabase(databasePath, QStringLiteral("-backup-state.json")); }

QJsonObject readState(const QString& databasePath)
{
    QFile file(stateFile(databasePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString when(const QDateTime& time) { return time.toString(QStringLiteral("yyyy-MM-dd HH:mm")); }

} // namespace

QString secondBackupPlace(const QString& databasePath)
{
    QFile file(placeFile(databasePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

void setSecondBackupPlace(const QString& databasePath, const QString& folder)
{
    if (folder.isEmpty()) {
        refuseForeignName(placeFile(databasePath));
        if (QFileInfo::exists(placeFile(databasePath)) && !QFile::remove(placeFile(databasePath)))
            throw core::AppError(QStringLiteral("%1을(를) 지울 수 없습니다.").arg(placeFile(databasePath)));
        return;
    }
    writePrivateFile(placeFile(databasePath), folder.toUtf8() + '\n', ExistingName::ReplaceOwn);
}

PlaceRecord backupRecord(const QString& databasePath, const QString& place)
{
    const QJsonObject o = readState(databasePath).value(place).toObject();
    PlaceRecord r;
    r.lastGood = QDateTime::fromString(o.value(QStringLiteral("lastGood")).toString(), Qt::ISODateWithMs);
    r.lastGoodFile = o.value(QStringLiteral("lastGoodFile")).toString();
    r.lastAttempt = QDateTime::fromString(o.value(QStringLiteral("lastAttempt")).toString(), Qt::ISODateWithMs);
    r.error = o.value(QStringLiteral("error")).toString();
    return r;
}

void recordBackupAttempt(const QString& databasePath, const QString& place, const QDateTime& started,
                         const QString& file, const QString& error)
{
    QJsonObject state = readState(databasePath);
    QJsonObject o = state.value(place).toObject();
    o[QStringLiteral("lastAttempt")] = started.toString(Qt::ISODateWithMs);
    o[QStringLiteral("error")] = error;
    if (error.isEmpty()) {
        o[QStringLiteral("lastGood")] = started.toString(Qt::ISODateWithMs);
        o[QStringLiteral("lastGoodFile")] = file;
    }
    state[place] = o;
    writePrivateFile(stateFile(databasePath), QJsonDocument(state).toJson(), ExistingName::ReplaceOwn);
}

QStringList backupWarnings(const QString& databasePath, const QStringList& places, const QDateTime& now)
{
    QStringList lines;
    for (const QString& place : places) {
        const PlaceRecord r = backupRecord(databasePath, place);
        if (!r.error.isEmpty())
            lines << QStringLiteral("%1에 백업을 만들지 못했습니다 (%2): %3").arg(place, when(r.lastAttempt), r.error);
        else if (r.lastGood.isValid() && r.lastGood.secsTo(now) > kStaleSeconds)
            lines << QStringLiteral("%1의 마지막 백업이 %2일 전(%3)의 것입니다.")
                         .arg(place).arg(r.lastGood.daysTo(now)).arg(when(r.lastGood));
    }
    return lines;
}

} // namespace store
