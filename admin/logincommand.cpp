#include "logincommand.h"

#include "sqlutil.h"

#include "core/errors.h"

#include <QRegularExpression>

namespace admin {

namespace {

const char* const kVoucherTable = "account_jen_AA";

QStringList grants(const QString& role, const QString& schema, bool administrator)
{
    QStringList sql;
    // What the role had before is taken away first: it gets exactly this.
    sql << QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA %1 FROM %2").arg(schema, role)
        << QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2").arg(schema, role);
    const QString masters = masterTables().join(QStringLiteral(", "));
    if (administrator) {
        sql << QStringLiteral("GRANT CREATE ON SCHEMA %1 TO %2").arg(schema, role)
            << QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %1, %2, closed_books TO %3")
                   .arg(masters, QLatin1String(kVoucherTable), role);
    } else {
        sql << QStringLiteral("GRANT SELECT ON %1, closed_books TO %2").arg(masters, role)
            << QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO %2").arg(QLatin1String(kVoucherTable), role);
    }
    // The trail only grows, whoever logs in (its trigger refuses even the owner).
    sql << QStringLiteral("GRANT SELECT, INSERT ON voucher_history TO %1").arg(role);
    return sql;
}

} // namespace

int runAddLogin(const TargetChoice& choice, const QString& name, bool administrator)
{
    static const QRegularExpression plain(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    if (!plain.match(name).hasMatch())
        throw core::AppError(QStringLiteral("로그인 이름은 영문 소문자, 숫자, 밑줄로 주십시오 (값: %1).").arg(name));
    OpenedTarget target = openTarget(choice);
    store::Connection& c = *target.connection;
    if (c.engine() != core::Engine::PostgreSQL)
        throw core::AppError(QStringLiteral("add-clerk와 add-admin은 서버(PostgreSQL) 데이터 원본의 로그인을 만듭니다. "
                                      "내장 SQLite 파일에는 로그인이 없고, 전표 이력에는 운영체제 사용자가 남습니다."));
    say(QStringLiteral("대상: %1").arg(c.describe()));
    const QString schema = c.selectNative(QStringLiteral("SELECT quote_ident(current_schema())")).value(0).value(0);
    const bool exists =
        c.selectNative(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = '%1'").arg(name)).value(0).value(0) != u'0';

    AdminTransaction transaction(c);
    if (!exists)
        execDirect(c, QStringLiteral("CREATE ROLE %1 LOGIN").arg(name));
    for (const QString& sql : grants(name, schema, administrator))
        execDirect(c, sql);
    transaction.commit();

    say(exists ? QStringLiteral("로그인 %1이(가) 이미 있습니다: 권한을 다시 정했습니다.").arg(name)
               : QStringLiteral("로그인 %1을(를) 만들었습니다.").arg(name));
    say(administrator ? QStringLiteral("권한: 마스터 테이블과 전표, 마감의 읽기와 쓰기, 전표 이력의 읽기와 추가 (고치거나 지울 수는 없습니다).")
                      : QStringLiteral("권한: 마스터 테이블과 마감은 읽기만, 전표는 읽기와 쓰기, 전표 이력은 읽기와 추가만."));
    say(QStringLiteral("비밀번호는 psql에서 \\password %1 로 정하십시오. 작업 PC마다 사용자의 ~/.pgpass(모드 0600)에 "
                       "서버:포트:데이터베이스:%1:비밀번호 한 줄로 두고, odbc.ini에는 Username만 적습니다.")
            .arg(name));
    return 0;
}

} // namespace admin
