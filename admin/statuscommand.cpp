#include "statuscommand.h"

#include "odbcsettings.h"
#include "sqlutil.h"

#include "core/errors.h"
#include "schema/datasource.h"
#include "schema/schema.h"
#include "store/backupstate.h"
#include "store/dailybackups.h"

#include <QFileInfo>
#include <QLocale>

namespace admin {

namespace {

QString dateAndSize(const QString& path)
{
    const QFileInfo info(path);
    return QStringLiteral("%1 (%2, %3바이트)")
        .arg(path, info.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
        .arg(info.size());
}

void sayServer(const QString& dsn)
{
    const QString driver = odbcSetting(dsn, "Driver");
    QString server = odbcSetting(dsn, "Servername");
    if (server.isEmpty())
        server = odbcSetting(dsn, "Server");
    const QString port = odbcSetting(dsn, "Port");
    say(QStringLiteral("데이터 원본: ODBC 데이터 원본 %1").arg(dsn));
    say(QStringLiteral("  드라이버: %1").arg(driver.isEmpty() ? QStringLiteral("(알 수 없음)") : driver));
    say(QStringLiteral("  서버: %1").arg(server.isEmpty() ? QStringLiteral("(알 수 없음)")
                                                       : port.isEmpty() ? server : server + u':' + port));
    if (const QString database = odbcSetting(dsn, "Database"); !database.isEmpty())
        say(QStringLiteral("  데이터베이스: %1").arg(database));
}

void sayTables(store::Connection& c)
{
    const bool exists = schema::schemaExists(c);
    const bool lacksIndexes = exists && schema::indexesMissing(c);
    say(QStringLiteral("스키마: %1").arg(!exists ? QStringLiteral("전표 테이블이 없습니다 (init을 실행하십시오)")
                                          : lacksIndexes ? QStringLiteral("인덱스가 빠져 있습니다 (init이 더합니다)")
                                                         : QStringLiteral("갖추어져 있습니다")));
    QStringList tables = masterTables();
    tables << QStringLiteral("account_jen_AA");
    for (const QString& table : tables) {
        QString rows;
        try {
            rows = QStringLiteral("%1행").arg(countRows(c, table));
        } catch (const core::AppError&) {
            rows = QStringLiteral("테이블이 없습니다");
        }
        say(QStringLiteral("  %1 %2").arg(table, -14).arg(rows));
    }
}

} // namespace

int runStatus(const TargetChoice& choice)
{
    const QString file = sqliteFileOf(choice);
    if (file.isEmpty()) {
        sayServer(QString::fromLatin1(schema::kDataSourceName));
        OpenedTarget target = openTarget(choice);
        sayTables(*target.connection);
        say(QStringLiteral("백업: 서버 데이터 원본은 서버 관리자가 백업합니다 (프로그램은 백업하지 않습니다)."));
        return 0;
    }
    say(QStringLiteral("데이터 원본: SQLite 파일 %1").arg(file));
    if (!QFileInfo::exists(file)) {
        say(QStringLiteral("스키마: 파일이 아직 없습니다 (프로그램이 처음 시작할 때나 init이 만듭니다)."));
        return 0;
    }
    auto connection = store::Connection::openSqlite(file, true); // reads only
    sayTables(*connection);
    const QStringList places = store::backupPlaces(file);
    for (const QString& place : places) {
        const QStringList backups = store::dailyBackups(file, place);
        say(QStringLiteral("백업 장소: %1").arg(place));
        say(backups.isEmpty() ? QStringLiteral("  마지막 백업: 없습니다")
                              : QStringLiteral("  마지막 백업: %1, 모두 %2개").arg(dateAndSize(backups.first())).arg(backups.size()));
    }
    for (const QString& warning : store::backupWarnings(file, places, QDateTime::currentDateTime()))
        say(QStringLiteral("주의: %1").arg(warning));
    return 0;
}

} // namespace admin
