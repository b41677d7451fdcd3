#include "failure.h"

#include <QDir>
#include <QFileInfo>

namespace store {

namespace {

bool mentions(const QString& text, std::initializer_list<const char*> parts)
{
    for (const char* part : parts)
        if (text.contains(QLatin1String(part), Qt::CaseInsensitive))
            return true;
    return false;
}

// SQLSTATEs as PostgreSQL (through psqlODBC) and SQL Server report them;
// QODBC puts them in the native error code, possibly several joined by ';'.
bool hasState(const QSqlError& error, std::initializer_list<const char*> states)
{
    const QString code = error.nativeErrorCode();
    for (const char* state : states)
        if (code.contains(QLatin1String(state)))
            return true;
    return false;
}

} // namespace

Failure classifyFailure(const QSqlError& error, const QString& engineText, core::Engine engine)
{
    const QString text = engineText + u' ' + error.text();
    if (hasState(error, {"55P03"}) || mentions(text, {"lock timeout", "database is locked", "lock request time out"}))
        return Failure::LockWait;
    if (hasState(error, {"57014"}) || mentions(text, {"statement timeout", "query timeout"}))
        return Failure::SlowAnswer;
    // Before the read-only test: a full disk is not fixed by rights.
    if (hasState(error, {"53100"}) || mentions(text, {"database or disk is full", "no space left on device",
                                                      "could not allocate space", "disk full"}))
        return Failure::DiskFull;
    if (mentions(text, {"readonly database", "read-only database", "unable to open database file",
                        "disk i/o error", "attempt to write a readonly"}))
        return Failure::ReadOnlyFile;
    if (hasState(error, {"42P01", "42S02"}) || mentions(text, {"no such table", "invalid object name"})
        || (mentions(text, {"relation"}) && mentions(text, {"does not exist"})))
        return Failure::MissingTables;
    // The SQLite driver files every failed step under connection errors.
    const bool connectionError = error.type() == QSqlError::ConnectionError && engine != core::Engine::SQLite;
    if (connectionError || hasState(error, {"08S01", "08003", "08006", "57P01", "57P02", "57P03"})
        || mentions(text, {"terminating connection", "server closed the connection", "could not receive data",
                           "could not send data", "no connection to the server", "connection not open",
                           "connection refused", "communication link failure", "the database system is"}))
        return Failure::ServerLost;
    if (hasState(error, {"42501"}) || mentions(text, {"permission denied", "permission was denied", "access denied"}))
        return Failure::NoRights;
    return Failure::Other;
}

QString failureLine(Failure failure, const QString& file)
{
    switch (failure) {
    case Failure::LockWait:
        return QStringLiteral("다른 작업이 데이터를 잠그고 있어 기다리다 멈췄습니다. 잠시 후 다시 하세요.");
    case Failure::SlowAnswer:
        return QStringLiteral("데이터베이스가 제시간에 답하지 않아 작업을 멈췄습니다. 잠시 후 다시 하세요.");
    case Failure::ServerLost:
        return QStringLiteral("데이터베이스 서버와의 연결이 끊겼거나 서버가 답하지 않습니다. "
                              "서버가 돌아오면 다시 하세요.");
    case Failure::ReadOnlyFile:
        if (!file.isEmpty()) {
            const QFileInfo info(file);
            return QStringLiteral("데이터베이스 파일에 쓸 수 없습니다. 파일 %1과 그 폴더 %2에 쓰기 권한이 있는지 확인하세요.")
                .arg(QDir::toNativeSeparators(info.absoluteFilePath()),
                     QDir::toNativeSeparators(info.absolutePath()));
        }
        return QStringLiteral("데이터베이스에 쓸 수 없습니다. 관리자에게 알리세요.");
    case Failure::DiskFull:
        if (!file.isEmpty())
            return QStringLiteral("디스크가 가득 차서 데이터베이스 파일에 쓸 수 없습니다. 데이터 파일의 폴더 %1이 "
                                  "있는 디스크에서 공간을 비운 뒤 다시 하세요.")
                .arg(QDir::toNativeSeparators(QFileInfo(file).absolutePath()));
        return QStringLiteral("데이터베이스 서버의 디스크가 가득 차서 쓸 수 없습니다. "
                              "관리자에게 알려 서버의 디스크에서 공간을 비운 뒤 다시 하세요.");
    case Failure::MissingTables:
        return QStringLiteral("데이터베이스에 전표 테이블이 없습니다. voucher-admin init으로 테이블을 만드세요.");
    case Failure::NoRights:
        return QStringLiteral("이 작업을 할 데이터베이스 권한이 없습니다. 관리자에게 권한을 요청하세요.");
    case Failure::Other:
        break;
    }
    return QStringLiteral("데이터베이스가 작업을 처리하지 못했습니다. 아래 내용을 관리자에게 알리세요.");
}

QString engineText(const QSqlError& error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

QString clerkFailureText(const QSqlError& error, const QString& engineText, core::Engine engine, const QString& file)
{
    return failureLine(classifyFailure(error, engineText, engine), file) + u'\n' + engineText;
}

QString connectFailureText(const QSqlError& error, const QString& engineText, core::Engine engine, const QString& file)
{
    if (engine == core::Engine::SQLite)
        return clerkFailureText(error, engineText, engine, file);
    return QStringLiteral("데이터베이스 서버에 연결할 수 없습니다. 서버가 켜져 있는지 확인하고 잠시 후 다시 하세요.\n")
           + engineText;
}

} // namespace store
