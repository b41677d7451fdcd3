#include "enginedb.h"
#include "savevoucher.h"

#include "store/backupstate.h"
#include "store/connection.h"
#include "store/dailybackups.h"
#include "store/statement.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

// voucher-admin on a SQLite file: init keeps what exists, synth writes the
// ledger in exactly the row form the program writes.
class TestAdminTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString dbPath() const { return m_dir.filePath(QStringLiteral("Account.db")); }

    static int admin(const QStringList& args, QString* output = nullptr)
    {
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../voucher-admin"), args);
        if (!p.waitForFinished(120000))
            return -1;
        if (output)
            *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    // The admin tool's target options for a test database of either engine.
    static QStringList targetOf(const EngineDb& db)
    {
        if (db.isPostgres())
            return {QStringLiteral("--odbc"), QStringLiteral("--schema"), db.schema()};
        return {QStringLiteral("--sqlite"), db.sqlitePath()};
    }

    // 0600: nobody but the owner reads it.
    static bool ownerOnly(const QString& file)
    {
        return (QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser)) == (QFile::ReadOwner | QFile::WriteOwner);
    }

    qint64 count(const QString& fromWhere)
    {
        auto c = store::Connection::openSqlite(dbPath());
        store::SqlStatement q(*c);
        q.addLine(QStringLiteral("Select Count(*) As Cnt From ") + fromWhere);
        q.open();
        return q.asInteger(QStringLiteral("Cnt"));
    }

    QStringList smallSizes() const
    {
        return {QStringLiteral("synth"), QStringLiteral("--sqlite"), dbPath(),   QStringLiteral("--rows"),
                QStringLiteral("3001"),  QStringLiteral("--accounts"), QStringLiteral("300"),
                QStringLiteral("--customers"), QStringLiteral("50"), QStringLiteral("--banks"), QStringLiteral("20"),
                QStringLiteral("--employees"), QStringLiteral("30"), QStringLiteral("--departments"), QStringLiteral("15"),
                QStringLiteral("--projects"), QStringLiteral("15"), QStringLiteral("--items"), QStringLiteral("20"),
                QStringLiteral("--years"), QStringLiteral("1"), QStringLiteral("--branches"), QStringLiteral("7")};
    }

private slots:
    // The restores' guard in a folder of the tests' own: a program running elsewhere on the machine refuses none.
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path())); }

    void initCreatesAndKeeps()
    {
        QString out;
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--sqlite"), dbPath()}, &out), 0);
        const qint64 accounts = count(QStringLiteral("test_ac_code"));
        QVERIFY(accounts > 100);
        QCOMPARE(count(QStringLiteral("kubun_table")), qint64(5));
        // A second run changes nothing and says so.
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--sqlite"), dbPath()}, &out), 0);
        QVERIFY2(out.contains(QStringLiteral("이미 있습니다")), qPrintable(out));
        QCOMPARE(count(QStringLiteral("test_ac_code")), accounts);
        QVERIFY(admin({QStringLiteral("init"), QStringLiteral("--sqlite"), dbPath(), QStringLiteral("--odbc")}) == 2);
        QVERIFY(admin({QStringLiteral("nonsense")}) == 2);
    }

    void initEmptyHoldsOnlyWhatTheProgramNeeds()
    {
        // A folder the administrator names keeps its mode (it may be /tmp).
        const QString folder = m_dir.filePath(QStringLiteral("shared"));
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QDir().mkpath(folder) && QFile::setPermissions(folder, open));
        const QString path = folder + QStringLiteral("/Empty.db");
        QString out;
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--empty"), QStringLiteral("--sqlite"), path}, &out), 0);
        QCOMPARE(QFileInfo(folder).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), open);
        auto c = store::Connection::openSqlite(path);
        const auto rows = [&](const QString& sql) { return c->selectNative(sql).value(0).value(0); };
        QCOMPARE(rows(QStringLiteral("select count(*) from Jen_Print")), QStringLiteral("7"));
        QCOMPARE(rows(QStringLiteral("select count(*) || ac_name from test_ac_code where ac_code = '10101001000'")),
                 QStringLiteral("1현금"));
        for (const char* table : {"test_ac_code", "kubun_table", "Sale_Table", "Bank_Table", "Sawon_Table", "Buser_Table",
                                  "Project_Table", "Item_Table", "account_jen_AA"})
            QCOMPARE(rows(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))),
                     QLatin1String(table) == QLatin1String("test_ac_code") ? QStringLiteral("1") : QStringLiteral("0"));
    }

    void checkFindsEachPlantedFault_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("found");
        // Each fault with the words of the finding that names it.
        const QList<QStringList> faults = {
            {QStringLiteral("missing credit row"),
             QStringLiteral("delete from account_jen_AA where serial_bun = '02' and serial_crdr = '02' and serial_jen = '%2'"),
             QStringLiteral("전표 %2 줄 02: 차변 행 1개, 대변 행 0개")},
            {QStringLiteral("shared number"),
             QStringLiteral("update account_jen_AA set serial_jen = '%1' where serial_jen = '%2'"),
             QStringLiteral("전표번호 %1을(를) 전표 2건이 함께 씁니다")},
            {QStringLiteral("unknown code"),
             QStringLiteral("update account_jen_AA set sawon_code = 'NOSUCH' where serial_jen = '%2' and serial_bun = '01'"),
             QStringLiteral("사원 코드 NOSUCH이(가) 마스터 테이블에 없습니다")},
            {QStringLiteral("credit not cash"),
             QStringLiteral("update account_jen_AA set ac_jencode = '10101002000' where serial_jen = '%1' and serial_crdr = '02'"),
             QStringLiteral("출금 전표의 대변 계정이 현금(10101001000)이 아니라 10101002000")},
            {QStringLiteral("amounts not mirrored"),
             QStringLiteral("update account_jen_AA set dr_amt = 1 where serial_jen = '%1' and serial_crdr = '02'"),
             QStringLiteral("금액이 맞지 않습니다")},
        };
        for (const char* engine : {"sqlite", "postgres"})
            for (const QStringList& f : faults)
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(engine), f[0])))
                    << QString::fromLatin1(engine) << f[1] << f[2];
    }

    void checkFindsEachPlantedFault()
    {
        QFETCH(QString, fault);
        QFETCH(QString, found);
        OPEN_ENGINE_DB(db, true);
        // Two vouchers of another branch each, saved as the window saves them.
        const QString date = QStringLiteral("2024-03-05");
        const QList<voucherseed::Line> lines = {{QStringLiteral("01"), QStringLiteral("10101002000"), QStringLiteral("당좌예금"), 1200, QStringLiteral("갑")},
                                       {QStringLiteral("02"), QStringLiteral("10101003000"), QStringLiteral("보통예금"), 3400, QStringLiteral("을")}};
        const QString first = voucherseed::saveVoucher(db.connection(), date, 0, lines);
        const QString second = voucherseed::saveVoucher(db.connection(), date, 1, lines);
        const auto numbered = [&](QString text) {
            return text.replace(QStringLiteral("%1"), first).replace(QStringLiteral("%2"), second);
        };
        QString out;
        QCOMPARE(admin(QStringList{QStringLiteral("check")} + targetOf(db), &out), 0);
        QVERIFY2(out.contains(QStringLiteral("이상 없음")), qPrintable(out));

        db.connection().execNative(numbered(fault));
        QCOMPARE(admin(QStringList{QStringLiteral("check")} + targetOf(db), &out), 1);
        QVERIFY2(out.contains(numbered(found)), qPrintable(out));
    }

    void importReadsCp949AndUtf8AndRoundTrips_data() { addEngines(); }

    void importReadsCp949AndUtf8AndRoundTrips()
    {
        OPEN_ENGINE_DB(source, true);
        // A text that needs quoting: comma, quote and line break.
        source.connection().execNative(QStringLiteral(
            "update test_ac_code set bigo = 'a, \"b\"' || char(10) || '현금' where ac_code = '10101001000'").replace(
            QStringLiteral("char(10)"), source.isPostgres() ? QStringLiteral("chr(10)") : QStringLiteral("char(10)")));
        const QStringList formulas = {QStringLiteral("=cmd|' /C calc'!A0"), QStringLiteral("@SUM(1+1)"), QStringLiteral("+1+1")};
        for (int i = 0; i < formulas.size(); ++i)
            source.connection().execNative(QStringLiteral("update test_ac_code set ac_name = '%1' where ac_code = '%2'")
                                               .arg(QString(formulas[i]).replace(u'\'', QStringLiteral("''")),
                                                    QStringLiteral("1010100") + QString::number(i + 2) + QStringLiteral("000")));
        const QString utf8 = m_dir.filePath(QStringLiteral("accounts-utf8.csv"));
        const QString cp949 = m_dir.filePath(QStringLiteral("accounts-cp949.csv"));
        QString out;
        QCOMPARE(admin(QStringList{QStringLiteral("export"), QStringLiteral("test_ac_code"), utf8} + targetOf(source), &out), 0);
        QCOMPARE(admin(QStringList{QStringLiteral("export"), QStringLiteral("test_ac_code"), cp949, QStringLiteral("--encoding"),
                                   QStringLiteral("cp949")} + targetOf(source), &out), 0);
        QFile file(cp949);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray cpBytes = file.readAll();
        QVERIFY(cpBytes.contains("\xc7\xf6\xb1\xdd")); // 현금 in the code page, not UTF-8
        for (const QString& formula : formulas)
            QVERIFY2(cpBytes.contains(",'" + formula.toUtf8() + ","), formula.toUtf8());

        const QString chart = QStringLiteral("select ac_code, ac_name, bigo, code_kubun, a_kubun, b_kubun, c_kubun "
                                             "from test_ac_code order by code_kubun, ac_code");
        const auto expected = source.connection().selectNative(chart);
        QVERIFY(expected.size() > 100);
        for (const QString& csv : {cp949, utf8}) {
            EngineDb target(engine, false);
            QCOMPARE(admin(QStringList{QStringLiteral("import"), QStringLiteral("test_ac_code"), csv} + targetOf(target), &out), 0);
            QVERIFY2(out.contains(QStringLiteral("%1행을 넣었습니다").arg(expected.size())), qPrintable(out));
            QCOMPARE(target.connection().selectNative(chart), expected);
            // Exported again, the file is the same to the byte.
            const QString again = m_dir.filePath(QStringLiteral("again.csv"));
            QCOMPARE(admin(QStringList{QStringLiteral("export"), QStringLiteral("test_ac_code"), again} + targetOf(target), &out), 0);
            QFile a(again), b(utf8);
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QCOMPARE(a.readAll(), b.readAll());
        }
        // Resident numbers leave masked unless asked for: {added arguments, written, not written}.
        for (const QStringList& run : {QStringList{QString(), QStringLiteral(",1******,"), QStringLiteral("1042817")},
                                       QStringList{QStringLiteral("--with-resident-numbers"), QStringLiteral(",1042817,"),
                                                   QStringLiteral("*")}}) {
            const QString staff = m_dir.filePath(QStringLiteral("staff%1.csv").arg(run[0].size()));
            QCOMPARE(admin(QStringList{QStringLiteral("export"), QStringLiteral("Sawon_Table"), staff} + run.mid(0, run[0].isEmpty() ? 0 : 1)
                               + targetOf(source), &out), 0);
            QFile written(staff);
            QVERIFY(written.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(written.readAll());
            QVERIFY2(text.contains(run[1]) && !text.contains(run[2]), qPrintable(text));
        }
        // A text the code page lacks is named by row and column, and no file is written.
        source.connection().execNative(QStringLiteral("update test_ac_code set ac_name = 'Café ☕' where ac_code = '10101002000'"));
        const QString lacking = m_dir.filePath(QStringLiteral("lacking.csv"));
        QCOMPARE(admin(QStringList{QStringLiteral("export"), QStringLiteral("test_ac_code"), lacking, QStringLiteral("--encoding"),
                                   QStringLiteral("cp949")} + targetOf(source), &out), 1);
        QVERIFY2(out.contains(QStringLiteral("번째 줄) ac_name 열에 CP949에 없는 글자 \"é\"")) && !QFile::exists(lacking), qPrintable(out));
    }

    void importWithOneBadRowWritesNothing_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QByteArray>("badRow");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("named");
        const QByteArray header = "ac_code,AC_NAME,code_kubun,a_kubun,b_kubun,c_kubun\r\n";
        const QByteArray good = "90101001000,새 계정,SSSSS,9,01,01\r\n90101002000,\"둘째, 계정\",SSSSS,9,01,01\r\n";
        for (const char* engine : {"sqlite", "postgres"}) {
            const auto row = [&](const char* name, const QString& table, const QByteArray& bad, const char* encoding,
                                 const QString& named) {
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(engine), QLatin1String(name))))
                    << QString::fromLatin1(engine) << table << bad << QString::fromLatin1(encoding) << named;
            };
            const QString accounts = QStringLiteral("test_ac_code");
            // 46 Hangul are 92 bytes: two over the 90 the program allows for a name.
            row("too wide", accounts, header + good + "90101003000," + QString(46, QChar(0xAC00)).toUtf8() + ",SSSSS,9,01,01\r\n",
                "", QStringLiteral("4번째 줄 2번째 열(ac_name): 92바이트로 너비 90바이트를 넘습니다"));
            row("duplicate code", accounts, header + good + "90101001000,또,SSSSS,9,01,01\r\n", "",
                QStringLiteral("4번째 줄 1번째 열(ac_code): 코드 90101001000이(가) 2번째 줄에도 있습니다"));
            row("bad encoding", accounts, header + good + "90101003000,\xc7\xf6\xb1\xdd,SSSSS,9,01,01\r\n", "utf-8",
                QStringLiteral("4번째 줄: UTF-8로 읽을 수 없는 바이트"));
            row("classification", accounts, header + good + "90101003000,셋,SSSSS,9,1,01\r\n", "",
                QStringLiteral("4번째 줄 5번째 열(b_kubun): 분류 키는 숫자 2자리여야 합니다"));
            row("header only", QStringLiteral("kubun_table"), "Kubun_Code,Kubun_Name\r\n", "", QStringLiteral("머리 줄만 있고 행이 없습니다"));
            row("not in cp949", accounts, header + good + "90101003000,Caf\xc3\xa9 \xe2\x98\x95,SSSSS,9,01,01\r\n", "",
                QStringLiteral("4번째 줄 2번째 열(ac_name): CP949에 없는 글자 \"é\""));
            row("chart without cash", accounts, header + good, "", QStringLiteral("현금 계정 10101001000이(가) 파일에 없습니다"));
            row("account in use", accounts, header + "10101001000,현금,SSSSS,1,01,01\r\n", "",
                QStringLiteral("계정과목 코드 10101002000을(를) 전표 1행이 씁니다"));
            row("branch in use", QStringLiteral("kubun_table"), "Kubun_Code,Kubun_Name\r\n00000,본사\r\n", "",
                QStringLiteral("지점 코드 00001을(를) 전표 2행이 씁니다"));
            row("leading zeros lost", QStringLiteral("kubun_table"), "Kubun_Code,Kubun_Name\r\n0,본사\r\n1,부산\r\n", "",
                QStringLiteral("3번째 줄 1번째 열(Kubun_Code): 코드 1은(는) 숫자 5자리여야 합니다. 표 계산 프로그램이 앞의 0을 지웠을"));
            row("branch gap", QStringLiteral("kubun_table"),
                "Kubun_Code,Kubun_Name\r\n00000,본사\r\n00001,부산\r\n00003,대구\r\n", "",
                QStringLiteral("00002 자리에 00003이(가) 있습니다"));
        }
    }

    void importWithOneBadRowWritesNothing()
    {
        QFETCH(QString, table);
        QFETCH(QByteArray, badRow);
        QFETCH(QString, encoding);
        QFETCH(QString, named);
        OPEN_ENGINE_DB(db, true);
        // A voucher of branch 00001 whose debit is the current account.
        voucherseed::saveVoucher(db.connection(), QStringLiteral("2024-03-05"), 1,
                                 {{QStringLiteral("01"), QStringLiteral("10101002000"), QStringLiteral("당좌예금"), 1200, QStringLiteral("갑")}});
        const QString csv = m_dir.filePath(QStringLiteral("bad.csv"));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(badRow) == badRow.size());
        file.close();
        const QString all = QStringLiteral("select * from %1 order by 1, 2").arg(table);
        const auto before = db.connection().selectNative(all);
        QStringList args = QStringList{QStringLiteral("import"), table, csv, QStringLiteral("--replace")} + targetOf(db);
        if (!encoding.isEmpty())
            args << QStringLiteral("--encoding") << encoding;
        QString out;
        QCOMPARE(admin(args, &out), 1);
        QVERIFY2(out.contains(csv) && out.contains(named), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("아무것도 쓰지 않았습니다")), qPrintable(out));
        QCOMPARE(db.connection().selectNative(all), before);
    }

    void templateFillsEveryColumnAndImports()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Empty.db"));
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--empty"), QStringLiteral("--sqlite"), path}), 0);
        for (const char* name : {"kubun_table", "test_ac_code", "Sale_Table", "Bank_Table", "Sawon_Table", "Buser_Table",
                                 "Project_Table", "Item_Table"}) {
            const QString table = QLatin1String(name), csv = dir.filePath(table + QStringLiteral(".csv"));
            QString out;
            QCOMPARE(admin({QStringLiteral("template"), table, csv}, &out), 0);
            QCOMPARE(admin({QStringLiteral("template"), table, csv}, &out), 1); // never over a file
            QCOMPARE(admin({QStringLiteral("import"), table, csv, QStringLiteral("--replace"), QStringLiteral("--sqlite"), path}, &out), 0);
            QVERIFY2(!table.startsWith(QLatin1String("test")) || out.contains(QStringLiteral("SSSSS인 계정만 나옵니다: 이 파일의 계정 1개 중 1개")),
                     qPrintable(out));
            const auto rows = store::Connection::openSqlite(path)->selectNative(QStringLiteral("select * from ") + table);
            QCOMPARE(rows.size(), 1);
            QVERIFY2(!rows[0].contains(QString()), qPrintable(rows[0].join(u'|')));
        }
    }

    void backupDuringASaveLoopPassesCheck()
    {
        QTemporaryDir dir;
        auto c = testdb::sqlite(dir);
        const QString path = QDir(dir.path()).filePath(QStringLiteral("Account.db"));
        // A workstation saving vouchers as fast as it can while the backup runs.
        QProcess writer;
        writer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/store_voucher_writer"),
                     {QStringLiteral("sqlite"), path, QStringLiteral("2024-04-01"), QStringLiteral("400"),
                      QStringLiteral("1"), QString::number(QDateTime::currentMSecsSinceEpoch())});
        QVERIFY(writer.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(voucherseed::voucherRowCount(*c) > 20, 30000);
        const QString backup = dir.filePath(QStringLiteral("backup.db"));
        QString out;
        QCOMPARE(admin({QStringLiteral("backup"), backup, QStringLiteral("--sqlite"), path}, &out), 0);
        const bool writerStillRan = writer.state() == QProcess::Running;
        QVERIFY(writer.waitForFinished(120000));
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(admin({QStringLiteral("check"), QStringLiteral("--sqlite"), backup}, &out), 0);
        auto copy = store::Connection::openSqlite(backup);
        const qint64 copied = voucherseed::voucherRowCount(*copy);
        QVERIFY2(copied > 0 && (!writerStillRan || copied < voucherseed::voucherRowCount(*c)), qPrintable(out));
        // A backup never overwrites a file.
        QCOMPARE(admin({QStringLiteral("backup"), backup, QStringLiteral("--sqlite"), path}, &out), 1);
        QVERIFY(ownerOnly(backup));
    }

    // Names another user prepared never receive the books: a planted file, a
    // link to another of the clerk's files, a part beside the name.
    void backupAndExportRefuseNamesOthersPrepared()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Account.db"));
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--sqlite"), path}), 0);
        const uid_t nobody = ::getpwnam("nobody")->pw_uid;
        auto plant = [&](const QString& name, const QByteArray& bytes) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
            f.close();
            QCOMPARE(::lchown(QFile::encodeName(f.fileName()).constData(), nobody, nobody), 0);
        };
        plant(QStringLiteral("victim.csv"), "mine");
        plant(QStringLiteral("planted.csv"), "");
        plant(QStringLiteral("fresh.db.part"), "planted");
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("victim.csv")), dir.filePath(QStringLiteral("link.csv"))));
        QCOMPARE(::lchown(QFile::encodeName(dir.filePath(QStringLiteral("link.csv"))).constData(), nobody, nobody), 0);
        for (const char* name : {"link.csv", "planted.csv"})
            for (const char* command : {"backup", "export"}) {
                QStringList args{QLatin1String(command), dir.filePath(QLatin1String(name)), QStringLiteral("--sqlite"), path};
                if (QLatin1String(command) == QLatin1String("export"))
                    args.insert(1, QStringLiteral("kubun_table"));
                QString out;
                QCOMPARE(admin(args, &out), 1);
                QVERIFY2(out.contains(dir.filePath(QLatin1String(name))), qPrintable(out));
            }
        QString out;
        QCOMPARE(admin({QStringLiteral("backup"), dir.filePath(QStringLiteral("fresh.db")), QStringLiteral("--sqlite"), path}, &out), 0);
        QCOMPARE(admin({QStringLiteral("export"), QStringLiteral("kubun_table"), dir.filePath(QStringLiteral("fresh.csv")),
                        QStringLiteral("--sqlite"), path}, &out), 0);
        const QStringList contents{QStringLiteral("mine"), QString(), QStringLiteral("planted")};
        QStringList found;
        for (const char* name : {"victim.csv", "planted.csv", "fresh.db.part"}) {
            QFile f(dir.filePath(QLatin1String(name)));
            QVERIFY(f.open(QIODevice::ReadOnly));
            found << QString::fromUtf8(f.readAll());
        }
        QCOMPARE(found, contents);
        QVERIFY(ownerOnly(dir.filePath(QStringLiteral("fresh.csv"))));
    }

    // The program's daily copies: compressed, in both places, seven days,
    // another at close only after a change, each attempt told by status.
    void dailyCopiesGoToBothPlacesAndRestore()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Account.db"));
        const QString place = dir.filePath(QStringLiteral("second"));
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--sqlite"), path}), 0);
        QVERIFY(QDir().mkpath(place) && QDir().mkpath(store::dailyBackupFolder(path)));
        QCOMPARE(admin({QStringLiteral("backup-place"), place, QStringLiteral("--sqlite"), path}), 0);
        for (int day = 1; day <= 8; ++day) { // an earlier version's plain copies, readable by others
            QFile old(store::dailyBackupPath(path, QDate(2020, 1, day)).chopped(3));
            QVERIFY(old.open(QIODevice::WriteOnly) && old.setPermissions(old.permissions() | QFile::ReadOther));
        }
        const auto vouchers = [&] { return store::Connection::openSqlite(path)->selectNative(QStringLiteral("select * from account_jen_AA order by 1, 2, 3")); };
        auto save = [&] {
            QTest::qSleep(20); // a later modification time than the copy before
            voucherseed::saveVoucher(*store::Connection::openSqlite(path), QStringLiteral("2024-03-05"), 0,
                                     {{QStringLiteral("01"), QStringLiteral("10101002000"), QStringLiteral("당좌예금"), 1200, QStringLiteral("갑")}});
        };
        save();
        const auto first = vouchers();
        QCOMPARE(store::makeDailyBackups(path, QDateTime::currentDateTime(), store::DailyMoment::Start).size(), 2);
        QCOMPARE(store::dailyBackups(path).size(), 7);
        QVERIFY(ownerOnly(store::dailyBackups(path).last()));
        QVERIFY(store::makeDailyBackups(path, QDateTime::currentDateTime(), store::DailyMoment::Start).isEmpty());
        QVERIFY(store::makeDailyBackups(path, QDateTime::currentDateTime(), store::DailyMoment::Close).isEmpty());
        save();
        {
            QLockFile closing(dir.filePath(QStringLiteral("Account-backup.lock"))); // a closed program still copies
            QVERIFY(closing.tryLock(0));
            QVERIFY(store::makeDailyBackups(path, QDateTime::currentDateTime(), store::DailyMoment::Close).isEmpty());
        }
        const QDateTime closed = QDateTime::currentDateTime();
        QCOMPARE(store::makeDailyBackups(path, closed, store::DailyMoment::Close).size(), 2);
        save();
        QVERIFY(QDir(place).removeRecursively()); // the network folder is gone
        QCOMPARE(store::makeDailyBackups(path, closed.addSecs(1), store::DailyMoment::Close).size(), 2);
        QString out;
        QCOMPARE(admin({QStringLiteral("status"), QStringLiteral("--sqlite"), path}, &out), 0);
        QVERIFY2(out.contains(QStringLiteral("주의: %1에 백업을 만들지 못했습니다").arg(place)) && out.contains(QStringLiteral("폴더가 없습니다")), qPrintable(out));
        QVERIFY(store::backupWarnings(path, {store::dailyBackupFolder(path)}, closed.addDays(3)).value(0).contains(QStringLiteral("3일 전")));
        // The day keeps its first copy and its last; the first is put back.
        QCOMPARE(store::dailyBackups(path).size(), 8);
        // A compressed copy is asked for like any backup: without a terminal, only with --yes.
        QCOMPARE(admin({QStringLiteral("restore"), store::dailyBackups(path)[1], QStringLiteral("--sqlite"), path}, &out), 1);
        QCOMPARE(admin({QStringLiteral("restore"), store::dailyBackups(path)[1], QStringLiteral("--yes"), QStringLiteral("--sqlite"), path}, &out), 0);
        QCOMPARE(vouchers(), first);
    }

    void statusNamesTheSourceAndCountsRows_data() { addEngines(); }

    void statusNamesTheSourceAndCountsRows()
    {
        OPEN_ENGINE_DB(db, true);
        voucherseed::saveVoucher(db.connection(), QStringLiteral("2024-03-05"), 0,
                        {{QStringLiteral("01"), QStringLiteral("10101002000"), QStringLiteral("당좌예금"), 1200, QStringLiteral("갑")}});
        const QString accounts = QString::number(db.connection().selectNative(QStringLiteral("select count(*) from test_ac_code")).value(0).value(0).toLongLong());
        QString out;
        QCOMPARE(admin(QStringList{QStringLiteral("status")} + targetOf(db), &out), 0);
        QVERIFY2(out.contains(QRegularExpression(QStringLiteral("test_ac_code +%1행").arg(accounts))), qPrintable(out));
        QVERIFY2(out.contains(QRegularExpression(QStringLiteral("account_jen_AA +2행"))), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("스키마: 갖추어져 있습니다")), qPrintable(out));
        if (db.isPostgres()) {
            QVERIFY2(out.contains(QStringLiteral("드라이버: PostgreSQL Unicode")), qPrintable(out));
            QVERIFY2(out.contains(QStringLiteral("서버: 127.0.0.1:") + qEnvironmentVariable("VOUCHER_PG_PORT")), qPrintable(out));
            QVERIFY2(out.contains(QStringLiteral("서버 관리자가 백업")), qPrintable(out));
            return;
        }
        QVERIFY2(out.contains(QStringLiteral("데이터 원본: SQLite 파일 ") + db.sqlitePath()), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("마지막 백업: 없습니다")), qPrintable(out));
        // The daily backups sit beside the file; the newest one is named.
        const QString folder = QFileInfo(db.sqlitePath()).absoluteDir().filePath(QStringLiteral("backup"));
        QVERIFY(QDir().mkpath(folder));
        const QString base = QFileInfo(db.sqlitePath()).completeBaseName();
        for (const char* day : {"2024-03-04", "2024-03-05"})
            QCOMPARE(admin({QStringLiteral("backup"), QStringLiteral("%1/%2-%3.db").arg(folder, base, QLatin1String(day)),
                            QStringLiteral("--sqlite"), db.sqlitePath()}), 0);
        QCOMPARE(admin(QStringList{QStringLiteral("status")} + targetOf(db), &out), 0);
        QVERIFY2(out.contains(QStringLiteral("마지막 백업: %1/%2-2024-03-05.db").arg(folder, base))
                     && out.contains(QStringLiteral("모두 2개")), qPrintable(out));
    }

    void restoreRefusesAnOpenFileAndRestoresWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Account.db"));
        const QString backup = dir.filePath(QStringLiteral("backup.db"));
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--sqlite"), path}), 0);
        {
            auto c = store::Connection::openSqlite(path);
            voucherseed::saveVoucher(*c, QStringLiteral("2024-03-05"), 0,
                            {{QStringLiteral("01"), QStringLiteral("10101002000"), QStringLiteral("당좌예금"), 1200, QStringLiteral("갑")}});
        }
        QCOMPARE(admin({QStringLiteral("backup"), backup, QStringLiteral("--sqlite"), path}), 0);
        const QString all = QStringLiteral("select * from account_jen_AA order by 1, 2, 3");
        const QString chart = QStringLiteral("select * from test_ac_code order by 1, 2");
        QVector<QStringList> vouchers, accounts;
        {
            auto c = store::Connection::openSqlite(path);
            vouchers = c->selectNative(all);
            accounts = c->selectNative(chart);
            QCOMPARE(vouchers.size(), 2);
            c->execNative(QStringLiteral("delete from account_jen_AA"));
            c->execNative(QStringLiteral("delete from test_ac_code where ac_code <> '10101001000'"));
            // While a workstation has the file open, nothing is touched.
            QString out;
            QCOMPARE(admin({QStringLiteral("restore"), backup, QStringLiteral("--sqlite"), path}, &out), 1);
            QVERIFY2(out.contains(QStringLiteral("열어 두고 있습니다")), qPrintable(out));
            QCOMPARE(c->selectNative(all).size(), 0);
        }
        QString out;
        // Without a terminal to ask on, only --yes restores; on one, only a yes.
        QCOMPARE(admin({QStringLiteral("restore"), backup, QStringLiteral("--sqlite"), path}, &out), 1);
        QVERIFY2(out.contains(QStringLiteral("--yes를 붙이십시오")), qPrintable(out));
        QProcess terminal;
        terminal.start(QStringLiteral("script"), {QStringLiteral("-qec"), QStringLiteral("'%1/../voucher-admin' restore '%2' --sqlite '%3'")
                                                      .arg(QCoreApplication::applicationDirPath(), backup, path), QStringLiteral("/dev/null")});
        terminal.write("n\n");
        QVERIFY(terminal.waitForFinished(60000));
        QVERIFY2(terminal.readAll().contains("account_jen_AA 0행을 2행으로 바꿉니다. 계속할까요? [y/N]"), "no question");
        // Where the books it replaces cannot be backed up first, nothing is restored.
        const QString backupFolder = dir.filePath(QStringLiteral("backup"));
        QVERIFY(QFile(backupFolder).open(QIODevice::WriteOnly));
        QCOMPARE(admin({QStringLiteral("restore"), backup, QStringLiteral("--yes"), QStringLiteral("--sqlite"), path}, &out), 1);
        QVERIFY2(out.contains(QStringLiteral("먼저 백업하지 못해 복원하지 않았습니다")), qPrintable(out));
        QCOMPARE(store::Connection::openSqlite(path)->selectNative(chart).size(), 1);
        QVERIFY(QFile::remove(backupFolder));
        QCOMPARE(admin({QStringLiteral("restore"), backup, QStringLiteral("--yes"), QStringLiteral("--sqlite"), path}, &out), 0);
        auto c = store::Connection::openSqlite(path);
        QCOMPARE(c->selectNative(all), vouchers);
        QCOMPARE(c->selectNative(chart), accounts);
        // The replaced books were kept, and the output says where.
        const QStringList kept = QDir(backupFolder).entryList({QStringLiteral("Account-before-restore-*.db")});
        QCOMPARE(kept.size(), 1);
        QVERIFY2(out.contains(QStringLiteral("먼저 백업했습니다: %1/%2").arg(backupFolder, kept[0])), qPrintable(out));
        QCOMPARE(store::Connection::openSqlite(QDir(backupFolder).filePath(kept[0]), true)->selectNative(chart).size(), 1);
        // A file that is not a voucher database is refused before anything is written.
        QFile junk(dir.filePath(QStringLiteral("junk.db")));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a database") > 0);
        junk.close();
        c.reset();
        QCOMPARE(admin({QStringLiteral("restore"), junk.fileName(), QStringLiteral("--yes"), QStringLiteral("--sqlite"), path}, &out), 1);
        c = store::Connection::openSqlite(path);
        QCOMPARE(c->selectNative(all), vouchers);
    }

    void restoreTakesOnlyTheProgramsOwnSchema_data()
    {
        QTest::addColumn<QString>("plant");
        QTest::addColumn<QString>("named"); // empty: restored
        QTest::newRow("trigger") << QStringLiteral("create trigger jen_times_ten after insert on account_jen_AA begin "
                                                   "update account_jen_AA set Dr_Amt = Dr_Amt * 10 where rowid = new.rowid; end")
                                 << QStringLiteral("트리거 jen_times_ten (account_jen_AA)");
        QTest::newRow("view") << QStringLiteral("create view jen_view as select * from account_jen_AA") << QStringLiteral("뷰 jen_view");
        QTest::newRow("table") << QStringLiteral("create table notes (t)") << QStringLiteral("테이블 notes");
        QTest::newRow("index") << QStringLiteral("create index ix_sale_name on Sale_Table (Sale_Name)")
                               << QStringLiteral("인덱스 ix_sale_name (Sale_Table)");
        QTest::newRow("column") << QStringLiteral("alter table test_ac_code add column hidden") << QStringLiteral("열 test_ac_code.hidden");
        QTest::newRow("earlier version without an index") << QStringLiteral("drop index ix_jen_row_key") << QString();
    }

    void restoreTakesOnlyTheProgramsOwnSchema()
    {
        QFETCH(QString, plant);
        QFETCH(QString, named);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Account.db"));
        const QString backup = dir.filePath(QStringLiteral("planted.db"));
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--sqlite"), path}), 0);
        QCOMPARE(admin({QStringLiteral("backup"), backup, QStringLiteral("--sqlite"), path}), 0);
        store::Connection::openSqlite(backup)->execNative(plant);
        voucherseed::saveVoucher(*store::Connection::openSqlite(path), QStringLiteral("2024-03-05"), 0,
                                 {{QStringLiteral("01"), QStringLiteral("10101002000"), QStringLiteral("당좌예금"), 1200, QStringLiteral("갑")}});
        QString out;
        QCOMPARE(admin({QStringLiteral("restore"), backup, QStringLiteral("--yes"), QStringLiteral("--sqlite"), path}, &out),
                 named.isEmpty() ? 0 : 1);
        QVERIFY2(out.contains(named), qPrintable(out));
        // Refused, the target keeps its voucher.
        QCOMPARE(store::Connection::openSqlite(path)->selectNative(QStringLiteral("select count(*) from account_jen_AA")).value(0).value(0),
                 named.isEmpty() ? QStringLiteral("0") : QStringLiteral("2"));
    }

    // "table -> rows and checksum" of one side of a copy's report.
    static QMap<QString, QString> copyChecksums(const QString& out, const QString& side)
    {
        static const QRegularExpression line(QStringLiteral(
            "^  (\\S+) +원본 (\\d+행 검사합 [0-9a-f]{16}) \\| 대상 (\\d+행 검사합 [0-9a-f]{16})"),
            QRegularExpression::MultilineOption);
        QMap<QString, QString> sums;
        for (const auto& m : line.globalMatch(out))
            sums[m.captured(1)] = m.captured(side == QLatin1String("원본") ? 2 : 3);
        return sums;
    }

    void copyToTheServerAndBackKeepsEveryRow()
    {
        REQUIRE_POSTGRES();
        QTemporaryDir dir;
        const QString company = dir.filePath(QStringLiteral("company.db"));
        const QString back = dir.filePath(QStringLiteral("back.db"));
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--empty"), QStringLiteral("--sqlite"), company}), 0);
        QStringList synth = smallSizes();
        synth[2] = company;
        synth[4] = QStringLiteral("2400"); // a server's rows come in blocks of a thousand
        QCOMPARE(admin(synth), 0);
        // Values a reader or writer could change on the way: a NULL, a full-width text ending in a character
        // outside the basic plane, cents, milliseconds, what a bulk text format escapes, a text that spells its NULL.
        store::Connection::openSqlite(company)->execNative(
            QStringLiteral("update account_jen_AA set cr_amt = -5000, dr_amt = 1234.56, ac_text = NULL, item_name = '%1', "
                           "sawon_name = 'a\\b\\' || char(9) || 't' || char(10) || 'n' || char(13) || 'r\\N' || char(8) || char(11), buser_name = '\\N', "
                           "end_day = '2024-03-01T10:11:12.345' where rowid = (select min(rowid) from account_jen_AA)")
                .arg(QString(199, QChar(0xD55C)) + QStringLiteral("\U0001F600")));
        // The trail goes along: a line the book saved (a backslash in its text) and a closed period.
        voucherseed::saveVoucher(*store::Connection::openSqlite(company), QStringLiteral("2001-05-30"), 0,
                                 {{QStringLiteral("01"), QStringLiteral("10101003000"), QStringLiteral("보통예금"), 5000, QStringLiteral("a\\b")}});
        const QStringList closeBooks{QStringLiteral("close-books"), QStringLiteral("--through"), QStringLiteral("2000-01-31")};
        QCOMPARE(admin(closeBooks + QStringList{QStringLiteral("--sqlite"), company}), 0);
        QString out;
        // check finds the planted amounts alone: the trail's chain holds, its line agrees with the rows.
        const auto trailHolds = [&](const QStringList& where, int records) {
            return admin(QStringList{QStringLiteral("check")} + where, &out) == 1 && out.contains(QStringLiteral("문제 1건."))
                   && out.contains(QStringLiteral("전표 이력 %1건과 이력이 아는 전표 줄 1개").arg(records));
        };
        EngineDb server(QStringLiteral("postgres"), false);
        const QStringList onServer{QStringLiteral("--schema"), server.schema()};
        const QStringList toServer = QStringList{QStringLiteral("copy"), QStringLiteral("--from"), QStringLiteral("sqlite:") + company,
                                                 QStringLiteral("--to"), QStringLiteral("odbc")} + onServer;
        QCOMPARE(admin(toServer, &out), 0);
        const QMap<QString, QString> original = copyChecksums(out, QStringLiteral("원본"));
        QCOMPARE(original.size(), 12);
        QVERIFY2(original.value(QStringLiteral("account_jen_AA")).startsWith(QStringLiteral("2402행")), qPrintable(out));
        QCOMPARE(copyChecksums(out, QStringLiteral("대상")), original);
        QVERIFY2(out.trimmed().endsWith(QStringLiteral("프로그램은 이 파일을 쓰지 않습니다.")), qPrintable(out));
        QVERIFY2(trailHolds(QStringList{QStringLiteral("--odbc")} + onServer, 2), qPrintable(out));
        // Either engine exports the same books to the same bytes; an amount stays a number.
        QByteArray exports[2];
        for (int side = 0; side < 2; ++side) {
            const QString csv = dir.filePath(QStringLiteral("jen%1.csv").arg(side));
            QCOMPARE(admin(QStringList{QStringLiteral("export"), QStringLiteral("account_jen_AA"), csv}
                           + (side ? QStringList{QStringLiteral("--odbc")} + onServer : QStringList{QStringLiteral("--sqlite"), company})), 0);
            QFile file(csv);
            QVERIFY(file.open(QIODevice::ReadOnly));
            exports[side] = file.readAll();
        }
        QVERIFY(exports[0].contains(",-5000,1234.56,") && exports[0].contains("Serial_Jen"));
        QCOMPARE(exports[1], exports[0]);
        // Refusals in the tool's own words: {words, arguments...}.
        const QString no = dir.filePath(QStringLiteral("no.csv"));
        const QString jen = QStringLiteral("account_jen_AA");
        for (const QStringList& wrong :
             {QStringList{QStringLiteral("달력에 없는 날짜"), QStringLiteral("export"), jen, no, QStringLiteral("--from"), QStringLiteral("2026-02-30")},
              QStringList{QStringLiteral("보다 뒤입니다"), QStringLiteral("export"), jen, no, QStringLiteral("--from"),
                          QStringLiteral("2024-03-02"), QStringLiteral("--to"), QStringLiteral("2024-03-01")},
              QStringList{QStringLiteral("스키마 nosuch이(가) 데이터베이스에 없습니다"), QStringLiteral("init"), QStringLiteral("--odbc"),
                          QStringLiteral("--schema"), QStringLiteral("nosuch")}}) {
            QCOMPARE(admin(wrong.mid(1), &out), 1);
            QVERIFY2(out.startsWith(QStringLiteral("오류: ")) && out.contains(wrong[0]), qPrintable(out));
        }
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("no.csv"))));

        // The server now holds vouchers: a second copy is refused and changes nothing.
        QCOMPARE(admin(toServer, &out), 1);
        QVERIFY2(out.contains(QStringLiteral("--replace")), qPrintable(out));
        // A bulk connection the server refuses is an error, never a slower way round; the books stay
        // (the ODBC side names its own SSL mode, the test server has none).
        qputenv("PGSSLMODE", "require");
        QCOMPARE(admin(toServer + QStringList{QStringLiteral("--replace")}, &out), 1);
        qunsetenv("PGSSLMODE");
        QVERIFY2(out.contains(QStringLiteral("(COPY)용 연결을 열 수 없습니다")), qPrintable(out));
        // A target that stores a row otherwise than it was written fails the proof and keeps its books.
        server.connection().execNative(QStringLiteral("create function skew() returns trigger language plpgsql as "
                                                      "$$ begin new.cr_amt := new.cr_amt + 1; return new; end $$"));
        server.connection().execNative(QStringLiteral("create trigger skew before insert on account_jen_AA for each row execute function skew()"));
        QCOMPARE(admin(toServer + QStringList{QStringLiteral("--replace")}, &out), 1);
        QVERIFY2(out.contains(QStringLiteral("account_jen_AA 원본 2402행")) && out.contains(QStringLiteral("다름")), qPrintable(out));
        server.connection().execNative(QStringLiteral("drop trigger skew on account_jen_AA"));
        QVERIFY2(admin(toServer + QStringList{QStringLiteral("--replace")}, &out) == 0, qPrintable(out)); // the same trail

        QVERIFY2(admin(QStringList{QStringLiteral("copy"), QStringLiteral("--from"), QStringLiteral("odbc"), QStringLiteral("--to"),
                                   QStringLiteral("sqlite:") + back} + onServer, &out) == 0, qPrintable(out));
        // The server's rows read through ODBC sum up as they did read back where they were written.
        QCOMPARE(copyChecksums(out, QStringLiteral("원본")), original);
        QCOMPARE(copyChecksums(out, QStringLiteral("대상")), original);
        QVERIFY2(trailHolds({QStringLiteral("--sqlite"), back}, 2), qPrintable(out));
        // And the rows themselves, file against file.
        auto a = store::Connection::openSqlite(company, true);
        auto b = store::Connection::openSqlite(back, true);
        for (const char* table : {"kubun_table", "test_ac_code", "Sale_Table", "Bank_Table", "Sawon_Table", "Buser_Table",
                                  "Project_Table", "Item_Table", "Jen_Print", "account_jen_AA", "closed_books", "voucher_history"}) {
            const QString all = QStringLiteral("select * from %1").arg(QLatin1String(table));
            auto copied = b->selectNative(all), kept = a->selectNative(all);
            std::sort(copied.begin(), copied.end());
            std::sort(kept.begin(), kept.end());
            QCOMPARE(copied, kept);
        }
        // A record the source lacks (numbered after the copied ones) keeps the server's books as they are.
        QCOMPARE(admin(QStringList{QStringLiteral("reopen-books"), QStringLiteral("--through"), QStringLiteral("1999-12-31"),
                                   QStringLiteral("--odbc")} + onServer), 0);
        QCOMPARE(admin(toServer + QStringList{QStringLiteral("--replace")}, &out), 1);
        QVERIFY2(out.contains(QStringLiteral("export voucher_history")), qPrintable(out));
        QVERIFY2(trailHolds(QStringList{QStringLiteral("--odbc")} + onServer, 3), qPrintable(out));
        // A source of an earlier version, without the trail, is refused until init brings it up to date.
        store::Connection::openSqlite(back)->execNative(QStringLiteral("DROP TABLE voucher_history"));
        QCOMPARE(admin({QStringLiteral("copy"), QStringLiteral("--from"), QStringLiteral("sqlite:") + back, QStringLiteral("--to"),
                        QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("new.db"))}, &out), 1);
        QVERIFY2(out.contains(QStringLiteral("voucher-admin init")), qPrintable(out));
    }

    // Long work tells each tenth once, on standard error: standard output,
    // read by scripts, holds the command's own lines only.
    void progressTellsTenthsOnStandardErrorOnly_data()
    {
        QTest::addColumn<QStringList>("args"); // %L the ledger, %D a folder of the test's
        QTest::addColumn<QStringList>("told");
        const QString jen = QStringLiteral("account_jen_AA");
        QTest::newRow("export") << QStringList{QStringLiteral("export"), jen, QStringLiteral("%D/jen.csv"), QStringLiteral("--sqlite"), QStringLiteral("%L")}
                                << QStringList{jen};
        QTest::newRow("check") << QStringList{QStringLiteral("check"), QStringLiteral("--sqlite"), QStringLiteral("%L")} << QStringList{jen};
        QTest::newRow("copy") << QStringList{QStringLiteral("copy"), QStringLiteral("--from"), QStringLiteral("sqlite:%L"), QStringLiteral("--to"),
                                             QStringLiteral("sqlite:%D/copy.db")}
                              << QStringList{jen, QStringLiteral("확인 ") + jen};
    }

    void progressTellsTenthsOnStandardErrorOnly()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, told);
        QTemporaryDir dir;
        const QString ledger = dir.filePath(QStringLiteral("ledger.db"));
        QStringList synth = smallSizes();
        synth[2] = ledger;
        synth[4] = QStringLiteral("12000");
        QCOMPARE(admin(synth), 0);
        args.replaceInStrings(QStringLiteral("%L"), ledger).replaceInStrings(QStringLiteral("%D"), dir.path());
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../voucher-admin"), args);
        QVERIFY(p.waitForFinished(120000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput()), err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(!out.contains(QStringLiteral("%)")) && !out.contains(QStringLiteral("행 ...")), qPrintable(out));
        static const QRegularExpression line(QStringLiteral("^  (.+): [\\d,]+ / 12,000행 \\((\\d+)%\\)"), QRegularExpression::MultilineOption);
        QStringList tenths, expected;
        for (const auto& m : line.globalMatch(err))
            tenths << m.captured(1) + u' ' + m.captured(2);
        for (const QString& what : told)
            for (int tenth = 10; tenth <= 100; tenth += 10)
                expected << what + u' ' + QString::number(tenth);
        QCOMPARE(tenths, expected);
    }

    void synthWritesTheProgramsRowForm()
    {
        QString out;
        QCOMPARE(admin(smallSizes(), &out), 0);
        QCOMPARE(count(QStringLiteral("account_jen_AA")), qint64(3000)); // an odd row count cannot be met
        QCOMPARE(count(QStringLiteral("test_ac_code")), qint64(300));
        QCOMPARE(count(QStringLiteral("Sale_Table")), qint64(50));
        QCOMPARE(count(QStringLiteral("Sawon_Table")), qint64(30));
        QCOMPARE(count(QStringLiteral("kubun_table")), qint64(7));
        QCOMPARE(count(QStringLiteral("kubun_table Where Kubun_Code = '00006'")), qint64(1));
        QCOMPARE(count(QStringLiteral("test_ac_code Where code_kubun = 'SSSSS' and ac_code = '10101001000'")), qint64(1));

        auto c = store::Connection::openSqlite(dbPath());
        store::SqlStatement q(*c);
        q.addLine(QStringLiteral("Select * From Account_Jen_AA Order By Serial_Jen, Serial_Bun, Serial_CrDr"));
        q.open();
        QMap<QString, QSet<int>> sequences;      // date -> sequence numbers
        QMap<QString, QSet<QString>> voucherKeys; // number -> date|branch|kind|form
        QMap<QString, double> debitOfLine;
        QSet<QString> kinds;
        for (q.first(); !q.eof(); q.next()) {
            const auto t = [&](const char* column) { return q.asText(QLatin1String(column)); };
            const QString number = t("Serial_Jen");
            const QString date = t("Date_Day");
            QCOMPARE(number.size(), 19);
            QCOMPARE(number.left(10), date);
            QCOMPARE(t("Year_Char"), date.left(4));
            QCOMPARE(t("Month_Char"), date.mid(5, 2));
            QCOMPARE(t("Table_Kubun"), QStringLiteral("AA"));
            QCOMPARE(t("Giel_Serial"), QStringLiteral("999"));
            QCOMPARE(t("Serial"), QStringLiteral("AA*%1*%2*%3*%4*%5*%6")
                                      .arg(t("Kubun_Bon"), t("Kubun_Jen"), number, t("Serial_Bun"), t("Form_Kubun"),
                                           t("Serial_CrDr")));
            QVERIFY(t("Kubun_Bon").toInt() < 7);
            sequences[date].insert(number.mid(11).toInt());
            voucherKeys[number].insert(date + u'|' + t("Kubun_Bon") + u'|' + t("Kubun_Jen") + u'|' + t("Form_Kubun"));
            kinds.insert(t("Kubun_Jen") + t("Form_Kubun"));
            const QString line = number + t("Serial_Bun");
            if (t("Kubun_Jen") == QLatin1String("2")) {
                if (t("Serial_CrDr") == QLatin1String("01")) {
                    debitOfLine[line] = q.asFloat(QStringLiteral("Cr_Amt"));
                    QCOMPARE(q.asFloat(QStringLiteral("Dr_Amt")), 0.0);
                } else {
                    // The credit row of a withdrawal line is cash, for the debit row's amount.
                    QCOMPARE(t("Serial_CrDr"), QStringLiteral("02"));
                    QCOMPARE(t("Ac_JenCode"), QStringLiteral("10101001000"));
                    QCOMPARE(t("Ac_JenName"), QStringLiteral("현금"));
                    QCOMPARE(q.asFloat(QStringLiteral("Dr_Amt")), debitOfLine.value(line, -1));
                    QCOMPARE(q.asFloat(QStringLiteral("Cr_Amt")), 0.0);
                }
            }
        }
        for (auto it = sequences.cbegin(); it != sequences.cend(); ++it)
            for (int n = 1; n <= it->size(); ++n)
                QVERIFY2(it->contains(n), qPrintable(it.key())); // numbers of a date run without gaps
        for (auto it = voucherKeys.cbegin(); it != voucherKeys.cend(); ++it)
            QCOMPARE(it->size(), 1); // one date, branch and kind per voucher
        QVERIFY(kinds.contains(QStringLiteral("2A002")));
        QVERIFY(kinds.size() > 1);
    }

    void synthKeepsALedgerUnlessToldToReplace()
    {
        QString out;
        const qint64 before = count(QStringLiteral("account_jen_AA"));
        QVERIFY(before > 0);
        QStringList args = smallSizes();
        args[4] = QStringLiteral("400");
        QCOMPARE(admin(args, &out), 1);
        QVERIFY2(out.contains(QStringLiteral("--replace")), qPrintable(out));
        QCOMPARE(count(QStringLiteral("account_jen_AA")), before);
        args << QStringLiteral("--replace");
        QCOMPARE(admin(args, &out), 0);
        QCOMPARE(count(QStringLiteral("account_jen_AA")), qint64(400));
        // Books with a trail are a company's: their vouchers stay.
        QCOMPARE(admin({QStringLiteral("close-books"), QStringLiteral("--through"), QStringLiteral("2000-01-31"), QStringLiteral("--sqlite"), dbPath()}), 0);
        QCOMPARE(admin(args, &out), 1);
        QVERIFY2(out.contains(QStringLiteral("voucher_history")) && count(QStringLiteral("account_jen_AA")) == 400, qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(TestAdminTool)
#include "test_admintool.moc"
