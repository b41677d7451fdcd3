// voucher-admin: prepares the data source `Account` of the voucher program.
//
//   voucher-admin init [--empty] [--sqlite PATH | --odbc [--schema S]]
//   voucher-admin synth [--sqlite PATH | --odbc] [--rows N] [--accounts N] ...
//   voucher-admin check [--sqlite PATH | --odbc [--schema S]]
//   voucher-admin status [--sqlite PATH | --odbc [--schema S]]
//   voucher-admin backup FILE [--sqlite PATH]
//   voucher-admin restore FILE [--yes] [--sqlite PATH]
//   voucher-admin backup-place DIR | --clear [--sqlite PATH]
//   voucher-admin copy --from sqlite:PATH --to odbc [--schema S] [--replace] (or the reverse)
//   voucher-admin import TABLE FILE.csv [--replace] [--encoding E] [target]
//   voucher-admin export TABLE FILE.csv [--encoding E] [--from DATE] [--to DATE] [--with-resident-numbers] [target]
//   voucher-admin template TABLE FILE.csv [--encoding E]
//   voucher-admin close-books --through DATE | reopen-books --through DATE [target]
//   voucher-admin add-clerk NAME | add-admin NAME [--odbc [--schema S]]

#include "backupcommand.h"
#include "backupplacecommand.h"
#include "checkcommand.h"
#include "closebookscommand.h"
#include "copycommand.h"
#include "csvtemplate.h"
#include "exportcommand.h"
#include "importcommand.h"
#include "initcommand.h"
#include "logincommand.h"
#include "statuscommand.h"
#include "synthcommand.h"

#include "core/errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace admin {
namespace {

struct SizeOption {
    const char* name;
    qint64 SynthOptions::*wide;
    int SynthOptions::*narrow;
};

const SizeOption kSizes[] = {
    {"rows", &SynthOptions::rows, nullptr},
    {"accounts", nullptr, &SynthOptions::accounts},
    {"customers", nullptr, &SynthOptions::customers},
    {"banks", nullptr, &SynthOptions::banks},
    {"employees", nullptr, &SynthOptions::employees},
    {"departments", nullptr, &SynthOptions::departments},
    {"projects", nullptr, &SynthOptions::projects},
    {"items", nullptr, &SynthOptions::items},
    {"years", nullptr, &SynthOptions::years},
    {"branches", nullptr, &SynthOptions::branches},
    {"per-day", nullptr, &SynthOptions::perDay},
};

void complain(const QString& text)
{
    std::fputs((text + u'\n').toUtf8().constData(), stderr);
}

// Every refusal reads alike, whichever part of the tool finds it.
int refuse(const QString& text, int code = 2)
{
    complain(QStringLiteral("오류: %1").arg(text));
    return code;
}

int run(QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "출금 전표 프로그램의 데이터 원본 Account를 준비합니다.\n\n"
        "  init   테이블과 데모 마스터 데이터를 만듭니다 (있는 것은 그대로 둡니다).\n"
        "         --empty: 데모 데이터 없이 프로그램에 꼭 필요한 행(Jen_Print, 현금 계정)만 넣습니다.\n"
        "  check  전표 장부를 검사합니다: 줄마다 차변과 대변 행, 맞는 금액, 대변의 현금 계정,\n"
        "         전표번호의 중복, 마스터 테이블에 없는 코드. 전표 이력(voucher_history)의 해시 사슬과\n"
        "         이력이 말하는 전표 행. 문제가 있으면 종료 코드 1.\n"
        "  import TABLE FILE.csv\n"
        "         마스터 테이블을 CSV 파일에서 가져옵니다 (UTF-8 또는 CP949/EUC-KR, 머리 줄은 열 이름).\n"
        "         모든 행을 먼저 검사하고, 문제가 하나라도 있으면 아무것도 쓰지 않습니다.\n"
        "         --replace: 테이블의 행을 바꿉니다 (없으면 더합니다).\n"
        "         TABLE: kubun_table, test_ac_code, Sale_Table, Bank_Table, Sawon_Table,\n"
        "                Buser_Table, Project_Table, Item_Table\n"
        "  export TABLE FILE.csv\n"
        "         마스터 테이블이나 전표 테이블 account_jen_AA(--from, --to 날짜, --voucher 번호),\n"
        "         전표 이력 voucher_history(--from, --to 변경한 날, --voucher 번호)를 CSV로 씁니다.\n"
        "         Sawon_Table의 주민등록번호 뒷자리(Sawon_Jumin02)는 첫 숫자만 두고 *로 가립니다;\n"
        "         --with-resident-numbers: 가리지 않고 그대로 씁니다.\n"
        "  close-books --through DATE\n"
        "         DATE까지의 날짜를 마감합니다: 그날까지의 전표는 저장, 수정, 삭제할 수 없습니다.\n"
        "  reopen-books --through DATE\n"
        "         DATE 다음 날부터 다시 엽니다 (마감은 DATE까지). 둘 다 전표 이력에 남습니다.\n"
        "  add-clerk NAME, add-admin NAME\n"
        "         서버(PostgreSQL)에 사무원 또는 관리자 로그인을 만듭니다. 전표 이력은 누구도 고치거나 지울 수 없습니다.\n"
        "  template TABLE FILE.csv\n"
        "         마스터 테이블을 가져올 CSV 양식을 새 파일로 씁니다: 머리 줄(열 이름)과 보기 행 하나.\n"
        "  status 프로그램이 쓸 데이터 원본(SQLite 파일 경로, 또는 ODBC 데이터 원본의 드라이버와 서버),\n"
        "         스키마의 상태, 테이블마다 행 수, 마지막 백업을 보여 줍니다. 아무것도 쓰지 않습니다.\n"
        "  backup FILE\n"
        "         SQLite 데이터 파일을 프로그램이 쓰는 중에도 한 순간의 모습 그대로 백업합니다.\n"
        "  restore FILE\n"
        "         백업 파일을 SQLite 데이터 파일에 통째로 되살립니다 (모두 되살리거나 하나도 바꾸지 않습니다).\n"
        "         바뀔 장부는 먼저 데이터 파일 옆 backup 폴더에 백업합니다. 프로그램이 만들지 않은 테이블,\n"
        "         열, 인덱스, 뷰, 트리거가 든 백업은 되살리지 않습니다. 터미널에서는 먼저 묻고, 스크립트에서는\n"
        "         --yes가 있어야 합니다. 프로그램이 파일을 열어 두고 있으면 하지 않습니다.\n"
        "         압축한 날마다의 백업(.db.gz)도 받습니다.\n"
        "  backup-place DIR (또는 --clear)\n"
        "         프로그램의 날마다의 백업을 데이터 파일 옆의 backup 폴더와 함께 이 폴더(다른 디스크나\n"
        "         네트워크 폴더)에도 둡니다 (7일). 사용자마다 다른 폴더를 주십시오. --clear: 그만둡니다.\n"
        "  copy --from sqlite:PATH --to odbc (또는 --from odbc --to sqlite:PATH)\n"
        "         회사의 장부 전체(모든 테이블)를 다른 데이터 원본으로 옮깁니다: 대상에는 한 트랜잭션으로 쓰고,\n"
        "         테이블마다 양쪽의 행 수와 검사합이 같을 때만 확정합니다. 대상의 마스터 테이블은 원본의 것으로\n"
        "         바뀝니다. 대상에 전표가 이미 있으면 --replace가 있어야 지우고 복사합니다.\n"
        "  synth  측정용 대량 데이터를 만듭니다: 마스터 테이블을 데모 데이터와 생성한 행으로 바꾸고\n"
        "         전표 테이블을 채웁니다. 전표가 이미 있으면 --replace가 있어야 지웁니다.\n\n"
        "대상을 주지 않으면 프로그램과 같은 데이터 원본을 씁니다: 등록된 ODBC 데이터 원본 Account,\n"
        "없으면 사용자 데이터 폴더의 SQLite 파일."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("init, synth, check, status, import, export, template, backup, restore, backup-place, copy, "
                                                                            "close-books, reopen-books, add-clerk, add-admin"));
    parser.addOption({QStringLiteral("sqlite"), QStringLiteral("이 SQLite 파일에 만듭니다."), QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("odbc"), QStringLiteral("ODBC 데이터 원본 Account를 씁니다.")});
    parser.addOption({QStringLiteral("schema"), QStringLiteral("ODBC(PostgreSQL): 이 스키마에서 작업합니다."),
                      QStringLiteral("S")});
    parser.addOption({QStringLiteral("empty"), QStringLiteral("init: 데모 마스터 데이터 없이 만듭니다.")});
    parser.addOption({QStringLiteral("encoding"),
                      QStringLiteral("import, export, template: CSV 파일의 인코딩 utf-8, cp949, euc-kr (가져오기 기본값: 자동 판별, "
                                     "내보내기 기본값: utf-8)"),
                      QStringLiteral("E")});
    parser.addOption({QStringLiteral("from"), QStringLiteral("export account_jen_AA: 이 날짜부터 (yyyy-MM-dd). copy: 원본 sqlite:PATH 또는 odbc"),
                      QStringLiteral("DATE")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("export account_jen_AA: 이 날짜까지 (yyyy-MM-dd). copy: 대상 sqlite:PATH 또는 odbc"),
                      QStringLiteral("DATE")});
    parser.addOption({QStringLiteral("with-resident-numbers"),
                      QStringLiteral("export Sawon_Table: 주민등록번호 뒷자리를 가리지 않고 씁니다.")});
    const SynthOptions defaults;
    for (const SizeOption& s : kSizes) {
        const qint64 value = s.wide ? defaults.*(s.wide) : defaults.*(s.narrow);
        parser.addOption({QString::fromLatin1(s.name), QStringLiteral("synth: 기본값 %1").arg(value), QStringLiteral("N")});
    }
    parser.addOption({QStringLiteral("seed"), QStringLiteral("synth: 난수 씨앗 (기본값 1)"), QStringLiteral("N")});
    parser.addOption({QStringLiteral("through"), QStringLiteral("close-books, reopen-books: 마감할 마지막 날 (yyyy-MM-dd)"),
                      QStringLiteral("DATE")});
    parser.addOption({QStringLiteral("voucher"), QStringLiteral("export account_jen_AA, voucher_history: 이 전표번호만"),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("yes"), QStringLiteral("restore: 묻지 않고 복원합니다 (스크립트에서).")});
    parser.addOption({QStringLiteral("clear"), QStringLiteral("backup-place: 두 번째 백업 장소를 지웁니다.")});
    parser.addOption({QStringLiteral("replace"),
                      QStringLiteral("synth: 기존 전표를 지우고 새로 만듭니다. import: 테이블의 행을 바꿉니다. "
                                     "copy: 대상에 있는 전표를 지우고 복사합니다.")});
    if (!parser.parse(app.arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        return refuse(unknown.isEmpty() ? QStringLiteral("옵션을 읽을 수 없습니다 (값이 없거나 값을 받지 않는 옵션입니다): %1")
                                              .arg(parser.errorText())
                                        : QStringLiteral("알 수 없는 옵션입니다: %1%2")
                                              .arg(unknown[0].size() > 1 ? QStringLiteral("--") : QStringLiteral("-"), unknown[0]));
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    const QStringList positional = parser.positionalArguments();
    const QString command = positional.value(0);
    const bool withTableAndFile = command == QLatin1String("import") || command == QLatin1String("export")
                                  || command == QLatin1String("template");
    const bool withFile = command == QLatin1String("backup") || command == QLatin1String("restore")
                          || (command == QLatin1String("backup-place") && !parser.isSet(QStringLiteral("clear")))
                          || command == QLatin1String("add-clerk") || command == QLatin1String("add-admin");
    if (positional.isEmpty()) {
        complain(parser.helpText());
        return 2;
    }
    if (positional.size() != (withTableAndFile ? 3 : withFile ? 2 : 1))
        return refuse(QStringLiteral("%1 뒤에는 %2 (voucher-admin --help).")
                          .arg(command, withTableAndFile ? QStringLiteral("TABLE과 FILE을 주십시오")
                                        : withFile       ? QStringLiteral("FILE(또는 NAME) 하나를 주십시오")
                                                         : QStringLiteral("옵션만 줍니다")));
    TargetChoice target;
    target.sqlitePath = parser.value(QStringLiteral("sqlite"));
    target.odbc = parser.isSet(QStringLiteral("odbc"));
    target.schema = parser.value(QStringLiteral("schema"));
    if (target.odbc && !target.sqlitePath.isEmpty())
        return refuse(QStringLiteral("--sqlite와 --odbc는 함께 쓸 수 없습니다."));

    if (command == QLatin1String("backup"))
        return runBackup(target, positional[1]);
    if (command == QLatin1String("restore"))
        return runRestore(target, positional[1], parser.isSet(QStringLiteral("yes")));
    if (command == QLatin1String("backup-place"))
        return runBackupPlace(target, positional.value(1));
    if (command == QLatin1String("status"))
        return runStatus(target);
    if (command == QLatin1String("close-books") || command == QLatin1String("reopen-books"))
        return runCloseBooks(target, parser.value(QStringLiteral("through")), command == QLatin1String("reopen-books"));
    if (command == QLatin1String("add-clerk") || command == QLatin1String("add-admin"))
        return runAddLogin(target, positional[1], command == QLatin1String("add-admin"));
    if (command == QLatin1String("copy")) {
        if (!target.sqlitePath.isEmpty() || target.odbc)
            return refuse(QStringLiteral("copy는 --sqlite와 --odbc 대신 --from과 --to로 양쪽을 받습니다."));
        CopyOptions o;
        o.from = parser.value(QStringLiteral("from"));
        o.to = parser.value(QStringLiteral("to"));
        o.schema = target.schema;
        o.replace = parser.isSet(QStringLiteral("replace"));
        return runCopy(o);
    }
    if (command == QLatin1String("import")) {
        ImportOptions o;
        o.target = target;
        o.table = positional[1];
        o.file = positional[2];
        o.encoding = csvEncodingNamed(parser.value(QStringLiteral("encoding")));
        o.replace = parser.isSet(QStringLiteral("replace"));
        return runImport(o);
    }
    if (command == QLatin1String("export")) {
        ExportOptions o;
        o.target = target;
        o.table = positional[1];
        o.file = positional[2];
        o.encoding = csvEncodingNamed(parser.value(QStringLiteral("encoding")));
        o.from = parser.value(QStringLiteral("from"));
        o.to = parser.value(QStringLiteral("to"));
        o.withResidentNumbers = parser.isSet(QStringLiteral("with-resident-numbers"));
        o.voucher = parser.value(QStringLiteral("voucher"));
        return runExport(o);
    }
    if (command == QLatin1String("template"))
        return runTemplate(positional[1], positional[2], csvEncodingNamed(parser.value(QStringLiteral("encoding"))));
    if (command == QLatin1String("init"))
        return runInit(target, parser.isSet(QStringLiteral("empty")));
    if (command == QLatin1String("check"))
        return runCheck(target);
    if (command != QLatin1String("synth"))
        return refuse(QStringLiteral("알 수 없는 명령입니다: %1").arg(command));

    SynthOptions options;
    options.target = target;
    options.replace = parser.isSet(QStringLiteral("replace"));
    for (const SizeOption& s : kSizes) {
        const QString name = QString::fromLatin1(s.name);
        if (!parser.isSet(name))
            continue;
        bool ok = false;
        const qint64 value = parser.value(name).toLongLong(&ok);
        if (!ok || value < 1 || (s.narrow && value > 100000000))
            return refuse(QStringLiteral("--%1: 1 이상의 정수를 주십시오.").arg(name));
        if (s.wide)
            options.*(s.wide) = value;
        else
            options.*(s.narrow) = int(value);
    }
    if (parser.isSet(QStringLiteral("seed")))
        options.seed = parser.value(QStringLiteral("seed")).toULongLong();
    return runSynth(options);
}

} // namespace
} // namespace admin

int main(int argc, char** argv)
{
    // Without TZ the C library looks at /etc/localtime again for every local
    // time it converts: a stat per time of millions of rows. Named, it is read once.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QCoreApplication app(argc, argv);
    try {
        return admin::run(app);
    } catch (const core::AppError& e) {
        return admin::refuse(e.text(), 1);
    } catch (const std::exception& e) {
        return admin::refuse(QString::fromLocal8Bit(e.what()), 1);
    }
}
