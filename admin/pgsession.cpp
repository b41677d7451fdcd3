#include "pgsession.h"

#include "odbcsettings.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "schema/datasource.h"

#include <QMap>
#include <libpq-fe.h>
#include <vector>

namespace admin {

namespace {

// A data source's setting under any of the names psqlODBC reads it by.
QString dsnSetting(const QString& dsn, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (const QString value = odbcSetting(dsn, name); !value.isEmpty())
            return value;
    return {};
}

// libpq's connection keywords for what the data source says.
QMap<QByteArray, QByteArray> connectionSettings(const QString& dsn)
{
    QMap<QByteArray, QByteArray> settings;
    const auto set = [&](const char* keyword, std::initializer_list<const char*> names) {
        if (const QString value = dsnSetting(dsn, names); !value.isEmpty())
            settings[keyword] = value.toUtf8();
    };
    set("host", {"Servername", "Server"});
    set("port", {"Port"});
    set("dbname", {"Database"});
    set("user", {"Username", "UID", "User"});
    set("password", {"Password", "PWD"}); // otherwise the password file or PGPASSWORD, as for psqlODBC
    set("sslmode", {"SSLmode", "SSLMode"});
    settings["connect_timeout"] = "10";
    // psqlODBC hands its pqopt to libpq as it stands: timeouts, keep-alives, certificates.
    if (const QString extra = dsnSetting(dsn, {"pqopt"}); !extra.isEmpty()) {
        if (PQconninfoOption* options = PQconninfoParse(extra.toUtf8().constData(), nullptr)) {
            for (PQconninfoOption* o = options; o->keyword; ++o)
                if (o->val)
                    settings[o->keyword] = o->val;
            PQconninfoFree(options);
        }
    }
    settings["client_encoding"] = "UTF8";
    settings["application_name"] = "voucher-admin";
    return settings;
}

QString textOf(const char* message)
{
    return QString::fromUtf8(message).trimmed();
}

} // namespace

std::unique_ptr<PgSession> PgSession::openBeside(store::Connection& odbc, const QString& dsn)
{
    const QMap<QByteArray, QByteArray> settings = connectionSettings(dsn);
    std::vector<const char*> keywords, values;
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        keywords.push_back(it.key().constData());
        values.push_back(it.value().constData());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    pg_conn* conn = PQconnectdbParams(keywords.data(), values.data(), 0);
    const QString where = QStringLiteral("서버 %1:%2, 데이터베이스 %3")
                              .arg(QString::fromUtf8(settings.value("host", "(기본)")),
                                   QString::fromUtf8(settings.value("port", "5432")),
                                   QString::fromUtf8(settings.value("dbname", "(기본)")));
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString why = textOf(PQerrorMessage(conn));
        PQfinish(conn);
        throw core::AppError(QStringLiteral("데이터 원본 %1의 서버에 대량 전송(COPY)용 연결을 열 수 없습니다 (%2): %3")
                           .arg(dsn, where, why));
    }
    std::unique_ptr<PgSession> session(new PgSession(conn));
    session->exec(QStringLiteral("SET DateStyle TO ISO, YMD"));
    session->exec(QStringLiteral("SET extra_float_digits TO 3"));

    // The same database, login and server start as the ODBC connection, in its search path.
    const QString who = QStringLiteral("SELECT current_database(), current_user, "
                                       "extract(epoch FROM pg_postmaster_start_time())::text");
    const QStringList odbcSide = odbc.selectNative(who).value(0);
    const QStringList pgSide = session->select(who).value(0);
    if (odbcSide != pgSide)
        throw core::AppError(QStringLiteral("데이터 원본 %1의 ODBC 연결과 대량 전송(COPY)용 연결이 다른 곳에 닿았습니다 (%2 | %3). "
                                      "odbc.ini의 Servername, Port, Database, Username을 확인하십시오.")
                           .arg(dsn, odbcSide.join(u'/'), pgSide.join(u'/')));
    const QByteArray path = odbc.selectNative(QStringLiteral("SELECT current_setting('search_path')")).value(0).value(0).toUtf8();
    const char* params[] = {path.constData()};
    pg_result* set = PQexecParams(conn, "SELECT set_config('search_path', $1, false)", 1, nullptr, params, nullptr, nullptr, 0);
    if (PQresultStatus(set) != PGRES_TUPLES_OK)
        session->fail(set);
    PQclear(set);
    return session;
}

std::unique_ptr<PgSession> PgSession::openSnapshot(store::Connection& odbc)
{
    std::unique_ptr<PgSession> session = openBeside(odbc, QString::fromLatin1(schema::kDataSourceName));
    session->exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    return session;
}

PgSession::~PgSession()
{
    PQfinish(m_conn); // a transaction left open ends with the connection, rolled back
}

void PgSession::fail(const pg_result* result) const
{
    const char* message = result ? PQresultErrorMessage(result) : nullptr;
    QString text = textOf(message && *message ? message : PQerrorMessage(m_conn));
    if (result)
        PQclear(const_cast<pg_result*>(result));
    throw core::DbError(text.isEmpty() ? QStringLiteral("PostgreSQL 서버가 까닭을 알리지 않은 오류") : text);
}

pg_result* PgSession::run(const QString& sql, int expected)
{
    pg_result* result = PQexec(m_conn, sql.toUtf8().constData());
    if (PQresultStatus(result) != expected)
        fail(result);
    return result;
}

void PgSession::exec(const QString& sql)
{
    PQclear(run(sql, PGRES_COMMAND_OK));
}

void PgSession::finishCopy() const
{
    PGresult* failed = nullptr;
    while (PGresult* result = PQgetResult(m_conn)) {
        if (PQresultStatus(result) != PGRES_COMMAND_OK && !failed)
            failed = result;
        else
            PQclear(result);
    }
    if (failed)
        fail(failed);
}

void PgSession::commit()
{
    pg_result* result = run(QStringLiteral("COMMIT"), PGRES_COMMAND_OK);
    const bool committed = qstrcmp(PQcmdStatus(result), "COMMIT") == 0;
    PQclear(result);
    if (!committed)
        throw core::DbError(QStringLiteral("서버가 트랜잭션을 커밋하지 않고 되돌렸습니다."));
}

QVector<QStringList> PgSession::select(const QString& sql)
{
    pg_result* result = run(sql, PGRES_TUPLES_OK);
    QVector<QStringList> rows;
    const int columns = PQnfields(result);
    for (int r = 0; r < PQntuples(result); ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c) {
            row << core::Str_TrimRight(QString::fromUtf8(PQgetvalue(result, r, c), PQgetlength(result, r, c)));
        }
        rows << row;
    }
    PQclear(result);
    return rows;
}

QString PgSession::withConstants(const QString& sql, const QStringList& values) const
{
    QString text;
    qsizetype next = 0;
    for (const QChar c : sql) {
        if (c != u'?' || next >= values.size()) {
            text += c;
            continue;
        }
        const QByteArray value = values[next++].toUtf8();
        char* quoted = PQescapeLiteral(m_conn, value.constData(), size_t(value.size()));
        if (!quoted)
            fail();
        text += QString::fromUtf8(quoted);
        PQfreemem(quoted);
    }
    return text;
}

QVector<unsigned> PgSession::columnTypes(const QString& sql)
{
    pg_result* prepared = PQprepare(m_conn, "", sql.toUtf8().constData(), 0, nullptr);
    if (PQresultStatus(prepared) != PGRES_COMMAND_OK)
        fail(prepared);
    PQclear(prepared);
    pg_result* described = PQdescribePrepared(m_conn, "");
    if (PQresultStatus(described) != PGRES_COMMAND_OK)
        fail(described);
    QVector<unsigned> types;
    for (int c = 0; c < PQnfields(described); ++c)
        types << PQftype(described, c);
    PQclear(described);
    return types;
}

} // namespace admin
