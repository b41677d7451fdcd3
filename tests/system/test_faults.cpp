#include "borvaneprobe.h"
#include "ledgercheck.h"
#include "programrun.h"
#include "enginedb.h"
#include "voucherseed.h"

#include "core/errors.h"
#include "schema/datasource.h"
#include "schema/schema.h"
#include "widgets/application.h"
#include "store/connection.h"
#include "store/failure.h"
#include "store/dailybackups.h"
#include "store/gzipfile.h"
#include "store/onlinebackup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// A workstation killed hard (SIGKILL) while it saves: every voucher is stored
// whole or not at all, the file stays sound, and the program starts normally
// on it afterwards and saves again. The data file made, refused or filled up
// around the program: it stays the clerk's own, is made whole or not at all,
// and a file that can only be read is said at start and recovers.
// The engine stops a save (a lock held elsewhere, a backend that stopped
// answering, a read-only file, missing tables or rights): the clerk reads in
// Korean what happened and what to do above the engine's text, the voucher
// stays typed, nothing of it is stored, and it can be saved again.
class TestFaults : public QObject {
    Q_OBJECT

    static constexpr const char* kDate = "2001-06-01";

    // The entry window on the program's connection to db, listing kDate.
    struct Desk {
        explicit Desk(EngineDb& db)
        {
            store::Connection::setAccount(db.attach());
            window = std::make_unique<entry::TfmBorvane>();
            window->show();
            probe = std::make_unique<BorvaneProbe>(*window);
            probe->setDate(QString::fromLatin1(kDate));
            probe->chooseBranch(0);
            probe->pQuery();
        }
        ~Desk()
        {
            probe.reset();
            window.reset();
            store::Connection::setAccount(nullptr);
        }
        // Runs the save; returns the text of the error it ended with, "" when none.
        QString save()
        {
            try {
                probe->SaveBtnClick();
            } catch (const core::DbError& e) {
                return e.text();
            }
            return {};
        }
        std::unique_ptr<entry::TfmBorvane> window;
        std::unique_ptr<BorvaneProbe> probe;
    };

    static int storedRows(store::Connection& c, const QString& text)
    {
        return selectOne(c, QStringLiteral("select count(*) from account_jen_AA where rtrim(ac_text) = '%1'").arg(text))
            .value(0)
            .toInt();
    }

    // The refused save: the Korean line of the failure first, the engine's
    // text beneath it, the voucher still typed.
    static void verifyRefused(Desk& desk, const QString& error, store::Failure failure, const QString& file,
                              const QString& typed)
    {
        QVERIFY2(error.startsWith(store::failureLine(failure, file) + u'\n'), qPrintable(error));
        QVERIFY2(!error.section(u'\n', 1).trimmed().isEmpty(), qPrintable(error));
        QCOMPARE(desk.probe->mode(), voucher::VoucherMode::New);
        QCOMPARE(desk.probe->lineText(1), typed);
        QCOMPARE(desk.probe->lineText(2), typed);
    }

    static QString crashSaver() { return QCoreApplication::applicationDirPath() + QStringLiteral("/system_crashsaver"); }

    static QStringList savedLines(QProcess& p)
    {
        return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    static int storedVouchers(store::Connection& c)
    {
        QSqlQuery q(c.database());
        q.exec(QStringLiteral("select count(distinct serial_jen) from account_jen_AA where ac_text like 'ws%'"));
        q.next();
        return q.value(0).toInt();
    }

    // The file is sound, its vouchers whole, the program starts on it and a
    // further voucher is saved.
    static void verifyAfterKill(ProgramData& data, int expectedVouchers)
    {
        {
            auto c = store::Connection::openSqlite(data.databasePath());
            QSqlQuery check(c->database());
            QVERIFY(check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next());
            QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
            check.finish();
            const QStringList problems = checkWholeVouchers(*c);
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
            QCOMPARE(storedVouchers(*c), expectedVouchers);
        }
        // The office's own audit agrees: voucher-admin check finds nothing.
        QProcess audit;
        audit.start(QStringLiteral(VOUCHER_ADMIN), {QStringLiteral("check"), QStringLiteral("--sqlite"), data.databasePath()});
        QVERIFY(audit.waitForFinished(60000));
        QVERIFY2(audit.exitCode() == 0, audit.readAll().constData());
        QString output;
        QVERIFY2(data.programStarts(&output), qPrintable(output));
        // The program names the data source it opened on its standard error.
        QVERIFY2(output.contains(QStringLiteral("voucher: 데이터 원본: SQLite 파일 ") + data.databasePath()), qPrintable(output));

        QProcess again;
        again.start(crashSaver(), {QStringLiteral("--sqlite"), data.databasePath(), QStringLiteral("--vouchers"),
                                   QStringLiteral("1")});
        QVERIFY(again.waitForFinished(30000));
        QCOMPARE(again.exitCode(), 0);
        auto c = store::Connection::openSqlite(data.databasePath());
        QCOMPARE(storedVouchers(*c), expectedVouchers + 1);
        QVERIFY(checkWholeVouchers(*c).isEmpty());
    }

    static int modeOf(const QString& path)
    {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
    }

    static qint64 rows(const QString& path, const QString& table)
    {
        auto c = store::Connection::openSqlite(path);
        return c->selectNative(QStringLiteral("select count(*) from %1").arg(table)).value(0).value(0).toLongLong();
    }

    // Writes past `bytes` into any file fail (EFBIG) while the object lives, as on a full disk.
    struct FileSizeLimit {
        explicit FileSizeLimit(rlim_t bytes)
        {
            ::getrlimit(RLIMIT_FSIZE, &saved);
            oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit = saved;
            limit.rlim_cur = bytes;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ~FileSizeLimit()
        {
            ::setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
        }
        rlimit saved {};
        void (*oldHandler)(int) = nullptr;
    };

private slots:
    void cleanup() { store::Connection::setAccount(nullptr); }

    void heldLockEndsTheWait_data() { addEngines(); }
    void heldLockEndsTheWait()
    {
        OPEN_ENGINE_DB(db, true);
        Desk desk(db);
        const QString typed = QStringLiteral("잠금 중");
        desk.probe->typeVoucher(typed);

        // Another session holds the voucher table (the file) for writing.
        auto holder = db.attach();
        if (db.isPostgres()) {
            QVERIFY(holder->database().transaction());
            holder->execNative(QStringLiteral("LOCK TABLE account_jen_AA IN EXCLUSIVE MODE"));
        } else {
            holder->execNative(QStringLiteral("BEGIN IMMEDIATE"));
        }
        const QString error = desk.save();
        verifyRefused(desk, error, store::Failure::LockWait, db.isPostgres() ? QString() : db.sqlitePath(), typed);
        if (db.isPostgres())
            QVERIFY(holder->database().rollback());
        else
            holder->execNative(QStringLiteral("ROLLBACK"));
        QCOMPARE(storedRows(db.connection(), typed), 0);

        // Let go: the same click saves the voucher as typed.
        QCOMPARE(desk.save(), QString());
        QCOMPARE(desk.probe->mode(), voucher::VoucherMode::Idle);
        QCOMPARE(storedRows(db.connection(), typed), 4);
    }

    // The server process serving the window stops (SIGSTOP) while the
    // window is idle: the save ends with a message instead of waiting for
    // good, and works again once the process goes on.
    void stoppedBackendEndsTheWait()
    {
        REQUIRE_POSTGRES();
        EngineDb db(QStringLiteral("postgres"));
        Desk desk(db);
        const QString typed = QStringLiteral("멈춘 서버");
        desk.probe->typeVoucher(typed);

        const pid_t backend = pid_t(selectOne(store::Connection::account(), QStringLiteral("select pg_backend_pid()"))
                                        .value(0)
                                        .toLongLong());
        if (::kill(backend, SIGSTOP) != 0)
            QSKIP("the server's processes cannot be stopped from here (not root)");
        const QString error = desk.save();
        ::kill(backend, SIGCONT);
        verifyRefused(desk, error, store::Failure::ServerLost, QString(), typed);
        QCOMPARE(storedRows(db.connection(), typed), 0);

        QCOMPARE(desk.save(), QString());
        QCOMPARE(storedRows(db.connection(), typed), 4);
    }

    void messageSaysWhatToDo_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("failure");
        QTest::newRow("sqlite read-only") << QStringLiteral("sqlite") << QStringLiteral("read-only")
                                          << int(store::Failure::ReadOnlyFile);
        QTest::newRow("sqlite disk full") << QStringLiteral("sqlite") << QStringLiteral("full")
                                          << int(store::Failure::DiskFull);
        QTest::newRow("sqlite no tables") << QStringLiteral("sqlite") << QStringLiteral("no tables")
                                          << int(store::Failure::MissingTables);
        QTest::newRow("postgres no tables") << QStringLiteral("postgres") << QStringLiteral("no tables")
                                            << int(store::Failure::MissingTables);
        QTest::newRow("postgres no rights") << QStringLiteral("postgres") << QStringLiteral("no rights")
                                            << int(store::Failure::NoRights);
    }
    void messageSaysWhatToDo()
    {
        QFETCH(QString, fault);
        QFETCH(int, failure);
        OPEN_ENGINE_DB(db, true);
        const QString role = QStringLiteral("clerk_%1").arg(db.schema());
        {
            Desk desk(db);
            const QString typed = QStringLiteral("오류 안내");
            desk.probe->typeVoucher(typed);
            store::Connection& program = store::Connection::account();
            if (fault == QLatin1String("read-only")) {
                // As a file the program may read but not write (root writes any file).
                program.addSessionSetting(QStringLiteral("PRAGMA query_only = 1"));
            } else if (fault == QLatin1String("full")) {
                // No page beyond the file's, and the file's pages filled up: SQLite's "disk is full".
                program.addSessionSetting(QStringLiteral("PRAGMA max_page_count = 1"));
                QSqlQuery fill(db.connection().database());
                fill.exec(QStringLiteral("PRAGMA max_page_count = 1"));
                while (fill.exec(QStringLiteral("insert into account_jen_AA (Serial) values ('x')"))) {}
            } else if (fault == QLatin1String("no tables")) {
                db.connection().execNative(QStringLiteral("DROP TABLE account_jen_AA"));
            } else {
                // A login that may read the tables but not write them.
                db.connection().execNative(QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(role));
                db.connection().execNative(QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2").arg(db.schema(), role));
                db.connection().execNative(
                    QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO %2").arg(db.schema(), role));
                program.execNative(QStringLiteral("SET ROLE %1").arg(role));
            }
            const QString error = desk.save();
            verifyRefused(desk, error, store::Failure(failure), db.isPostgres() ? QString() : db.sqlitePath(), typed);
            if (fault == QLatin1String("no rights"))
                program.execNative(QStringLiteral("RESET ROLE"));
            if (fault != QLatin1String("no tables"))
                QCOMPARE(storedRows(db.connection(), typed), 0);
        }
        if (fault == QLatin1String("no rights")) {
            db.connection().execNative(QStringLiteral("DROP OWNED BY %1").arg(role));
            db.connection().execNative(QStringLiteral("DROP ROLE %1").arg(role));
        }
    }

    // The data folder is closed to other users and the files are the clerk's
    // alone, whether the program makes them or an earlier version made them
    // readable by all.
    void theBooksAreTheClerksAlone_data()
    {
        QTest::addColumn<bool>("madeEarlier");
        QTest::newRow("made by the program") << false;
        QTest::newRow("made readable by all earlier") << true;
    }
    void theBooksAreTheClerksAlone()
    {
        QFETCH(bool, madeEarlier);
        const mode_t umaskBefore = ::umask(022);
        ProgramData data(madeEarlier ? ProgramData::Start::WithFile : ProgramData::Start::NoFile);
        const QString folder = QFileInfo(data.databasePath()).absolutePath();
        // An earlier version's files stay open with their log as another workstation holds them.
        std::unique_ptr<store::Connection> other;
        if (madeEarlier) {
            QCOMPARE(modeOf(data.databasePath()), 0644);
            other = store::Connection::openSqlite(data.databasePath());
            other->execNative(QStringLiteral("update kubun_table set kubun_jangso = kubun_jangso"));
            QCOMPARE(modeOf(data.databasePath() + QStringLiteral("-shm")), 0644);
        }
        QString output;
        QVERIFY2(data.programStarts(&output, [] { ::umask(022); }), qPrintable(output));
        if (!other) // SQLite gives the log the file's mode when it makes it
            other = store::Connection::openSqlite(data.databasePath());
        other->execNative(QStringLiteral("update kubun_table set kubun_jangso = kubun_jangso"));
        ::umask(umaskBefore);
        QCOMPARE(modeOf(folder), 0700);
        for (const char* suffix : {"", "-wal", "-shm"})
            QVERIFY2(modeOf(data.databasePath() + QLatin1String(suffix)) == 0600, suffix);
    }

    // The disk fills while the first start makes the file: nothing half-made
    // stays, the clerk is told why, and the next start makes it whole. A file
    // an earlier version left so (tables, no branch, no voucher) is finished;
    // a file holding vouchers is never touched.
    void aFailedFirstStartIsFinishedByTheNext_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("disk full while it is made") << QStringLiteral("full");
        QTest::newRow("left with empty tables earlier") << QStringLiteral("tables");
        QTest::newRow("no branches but a voucher") << QStringLiteral("voucher");
    }
    void aFailedFirstStartIsFinishedByTheNext()
    {
        QFETCH(QString, before);
        ProgramData data(ProgramData::Start::NoFile);
        const QString path = data.databasePath();
        if (before == QLatin1String("full")) {
            // Room for the tables but not for the demo data.
            qint64 tablesOnly = 0;
            {
                QTemporaryDir scratch;
                auto c = store::Connection::openSqlite(scratch.filePath(QStringLiteral("s.db")));
                schema::createSchema(*c);
                tablesOnly = QFileInfo(scratch.filePath(QStringLiteral("s.db-wal"))).size();
            }
            QVERIFY(tablesOnly > 0);
            try {
                FileSizeLimit full(tablesOnly + 8192);
                schema::openEmbedded(path);
                QFAIL("made on a full disk");
            } catch (const core::DbError& error) {
                QVERIFY2(error.text().contains(path), qPrintable(error.text()));
            }
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
            auto c = store::Connection::openSqlite(path);
            schema::createSchema(*c);
            if (before == QLatin1String("voucher"))
                c->execNative(QStringLiteral("insert into account_jen_AA (Serial, Serial_Jen) "
                                             "values ('x', '2001-05-30-00000001')"));
        }
        QString output;
        QVERIFY2(data.programStarts(&output), qPrintable(output));
        if (before == QLatin1String("voucher")) {
            QCOMPARE(rows(path, QStringLiteral("kubun_table")), qint64(0));
            QCOMPARE(rows(path, QStringLiteral("test_ac_code")), qint64(0));
            QCOMPARE(rows(path, QStringLiteral("account_jen_AA")), qint64(1));
        } else {
            QCOMPARE(rows(path, QStringLiteral("kubun_table")), qint64(5));
            QVERIFY(rows(path, QStringLiteral("test_ac_code")) > 0);
        }
    }

    // A file the clerk may only read: the program says so at start, naming
    // the file, and still lists; once it may be written again, vouchers are
    // saved again without anyone removing a file by hand.
    void aReadOnlyFileIsSaidAndRecovers_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("the file read-only") << false;
        QTest::newRow("its folder read-only") << true;
    }
    void aReadOnlyFileIsSaidAndRecovers()
    {
        QFETCH(bool, folder);
        ProgramData data;
        const QString path = data.databasePath();
        const QString refused = folder ? QFileInfo(path).absolutePath() : path;
        const QByteArray target = QFile::encodeName(refused);
        data.handToAnotherUser(); // root writes whatever the mode says
        QCOMPARE(::chmod(target.constData(), folder ? 0555 : 0444), 0);
        QString output;
        QVERIFY2(data.programStarts(&output), qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("전표를 저장할 수 없습니다")) && output.contains(refused), qPrintable(output));

        QCOMPARE(::chmod(target.constData(), folder ? 0700 : 0600), 0);
        QVERIFY2(data.programStarts(&output), qPrintable(output));
        QVERIFY2(!output.contains(QStringLiteral("전표를 저장할 수 없습니다")), qPrintable(output));
        QProcess save;
        const QStringList command = data.commandFor(
            crashSaver(), {QStringLiteral("--sqlite"), path, QStringLiteral("--vouchers"), QStringLiteral("1")});
        save.start(command.first(), command.mid(1));
        QVERIFY(save.waitForFinished(30000));
        QVERIFY2(save.exitStatus() == QProcess::NormalExit && save.exitCode() == 0, save.readAllStandardError().constData());
        auto c = store::Connection::openSqlite(path);
        QCOMPARE(storedVouchers(*c), 1);
    }

    void killedInsideTheSave_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("count");
        // Two vouchers of ten rows are saved first; the third dies.
        QTest::newRow("at its first row") << QStringLiteral("--kill-at-row") << 21;
        QTest::newRow("in the middle") << QStringLiteral("--kill-at-row") << 25;
        QTest::newRow("at its last row") << QStringLiteral("--kill-at-row") << 30;
        QTest::newRow("while committing") << QStringLiteral("--kill-at-commit") << 3;
    }
    void killedInsideTheSave()
    {
        QFETCH(QString, option);
        QFETCH(int, count);
        ProgramData data;
        QProcess p;
        p.start(crashSaver(), {QStringLiteral("--sqlite"), data.databasePath(), option, QString::number(count),
                               QStringLiteral("--vouchers"), QStringLiteral("10")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        QCOMPARE(savedLines(p).size(), 2);
        verifyAfterKill(data, 2);
    }

    void killedFromOutside()
    {
        ProgramData data;
        QStringList saved;
        for (int round = 0; round < 5; ++round) {
            QProcess p;
            p.start(crashSaver(), {QStringLiteral("--sqlite"), data.databasePath()});
            QVERIFY(p.waitForReadyRead(30000)); // saving by now
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            p.kill();
            QVERIFY(p.waitForFinished(30000));
            saved << savedLines(p);
        }
        QVERIFY(saved.size() >= 5);
        auto c = store::Connection::openSqlite(data.databasePath());
        // Everything it was told was saved is there; at most one more per kill
        // committed before its line was written out.
        const int stored = storedVouchers(*c);
        QVERIFY2(stored >= saved.size() && stored <= saved.size() + 5,
                 qPrintable(QStringLiteral("%1 stored, %2 reported").arg(stored).arg(saved.size())));
        for (const QString& line : saved) {
            QSqlQuery q(c->database());
            q.exec(QStringLiteral("select count(*) from account_jen_AA where serial_jen = '%1'").arg(line.section(u' ', 1, 1)));
            q.next();
            QCOMPARE(q.value(0).toInt(), 10);
        }
        c.reset();
        verifyAfterKill(data, stored);
    }

    // After its first paint the program backs its file up for the day and
    // keeps the last seven days.
    void dailyBackupAfterTheFirstPaint()
    {
        ProgramData data;
        const QString path = data.databasePath();
        const QString folder = store::dailyBackupFolder(path);
        QVERIFY(QDir().mkpath(folder));
        QStringList planted;
        for (int day = 1; day <= 8; ++day) {
            planted << store::dailyBackupPath(path, QDate(2020, 1, day));
            store::backupSqliteFile(path, planted.last());
        }
        QString output;
        QVERIFY2(data.programStarts(&output), qPrintable(output));
        const QString today = store::dailyBackupPath(path, QDate::currentDate());
        QVERIFY2(output.contains(QStringLiteral("오늘의 백업: ") + today), qPrintable(output));
        QStringList kept{today}; // and the six newest of the planted days, newest first
        for (qsizetype i = planted.size() - 1; i >= 2; --i)
            kept << planted[i];
        QCOMPARE(store::dailyBackups(path), kept);
        store::gunzipFile(today, folder + QStringLiteral("/expanded.db"));
        auto copy = store::Connection::openSqlite(folder + QStringLiteral("/expanded.db"), true);
        auto original = store::Connection::openSqlite(path, true);
        const QString chart = QStringLiteral("select * from test_ac_code order by 1, 2");
        QCOMPARE(copy->selectNative(chart), original->selectNative(chart));

        // A program that closes gives up today's backup under way: nothing is
        // left behind, and the next start makes it.
        QVERIFY(QFile::remove(today));
        const std::atomic<bool> closing{true};
        QVERIFY_THROWS_EXCEPTION(core::AppError, store::backupSqliteFile(path, today, &closing));
        QVERIFY(!QFileInfo::exists(today));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).filter(QStringLiteral(".voucher-")),
                 QStringList());
        const std::atomic<bool> open{false};
        QCOMPARE(store::backupSqliteFile(path, today, &open).accounts, original->selectNative(QStringLiteral("select count(*) from test_ac_code")).value(0).value(0).toLongLong());
    }
};

int main(int argc, char** argv)
{
    widgets::VoucherApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_faults.moc"
