#include "borvaneprobe.h"
#include "modalwatcher.h"
#include "programrun.h"

#include "core/errors.h"
#include "lookup/masterlookups.h"
#include "schema/datasource.h"
#include "schema/schema.h"
#include "widgets/application.h"
#include "store/connection.h"
#include "store/statement.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <functional>
#include <csignal>
#include <unistd.h>

// The PostgreSQL server stops while the program runs: the next action shows
// the engine's error and keeps what the clerk typed, nothing stored is lost,
// and once the server is back the program works again without a restart.
// The server is one of the test's own on another port (never the shared
// one), with its own ODBC configuration.
class TestServerStop : public QObject {
    Q_OBJECT

    int m_port = 0;
    // Closes (Escape) the message boxes that come up, a box must not wait
    // for a click that never comes; their texts are m_boxes.texts.
    ModalWatcher m_boxes;
    QString m_claim;
    QString m_root;

    static QString script() { return QStringLiteral(VOUCHER_SOURCE_DIR "/scripts/pg-test-env.sh"); }

    bool runScript(const QString& action, QString* output)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VOUCHER_PG_PORT"), QString::number(m_port));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("bash"), {script(), action});
        const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return ok;
    }

    // Stops the server and keeps its data (the script's stop removes it).
    bool stopServer(QString* output)
    {
        QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
        if (versions.isEmpty())
            return false;
        QProcess p;
        p.start(QStringLiteral("runuser"), {QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"),
                                            QStringLiteral("/usr/lib/postgresql/%1/bin/pg_ctl").arg(versions.last()),
                                            QStringLiteral("-D"), m_root + QStringLiteral("/data"), QStringLiteral("-m"),
                                            QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
        const bool ok = p.waitForFinished(60000) && p.exitCode() == 0;
        *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return ok;
    }

    static int voucherRows(const QString& number)
    {
        auto c = store::Connection::openOdbc(QStringLiteral("Account"));
        QSqlQuery q(c->database());
        q.exec(QStringLiteral("select count(*) from account_jen_AA where serial_jen = '%1'").arg(number));
        return q.next() ? q.value(0).toInt() : -1;
    }

    // Runs a handler; returns the text of the store's error it ended with, "" when none.
    static QString errorOf(const std::function<void()>& handler)
    {
        try {
            handler();
        } catch (const core::DbError& e) {
            return e.text().isEmpty() ? QStringLiteral("(empty error text)") : e.text();
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        m_boxes.answerKey = Qt::Key_Escape;
        if (geteuid() != 0)
            QSKIP("a PostgreSQL server of the test's own needs root (runuser)");
        if (!QFile::exists(QStringLiteral("/usr/lib/postgresql")))
            QSKIP("PostgreSQL is not installed");
        for (int port = 54331; port < 54399 && !m_port; ++port) {
            if (QDir().mkdir(QStringLiteral("/tmp/voucher-pg-claim-%1").arg(port))) {
                m_port = port;
                m_claim = QStringLiteral("/tmp/voucher-pg-claim-%1").arg(port);
            }
        }
        QVERIFY2(m_port, "no free port for a server of the test's own");
        QString output;
        QVERIFY2(runScript(QStringLiteral("start"), &output), qPrintable(output));
        // export ODBCSYSINI='…' ODBCINI='…' … VOUCHER_PG_ROOT='…'
        static const QRegularExpression assignment(QStringLiteral("(\\w+)='([^']*)'"));
        for (auto it = assignment.globalMatch(output); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(1) == QLatin1String("ODBCSYSINI") || m.captured(1) == QLatin1String("ODBCINI"))
                qputenv(m.captured(1).toLatin1().constData(), m.captured(2).toUtf8());
            if (m.captured(1) == QLatin1String("VOUCHER_PG_ROOT"))
                m_root = m.captured(2);
        }
        QVERIFY2(!m_root.isEmpty() && qgetenv("ODBCINI").contains(QByteArray::number(m_port)), qPrintable(output));
        auto c = store::Connection::openOdbc(QStringLiteral("Account"));
        schema::createSchema(*c);
        schema::loadDemoData(*c);
        store::Connection::setAccount(std::move(c));
    }

    void cleanup() { QVERIFY2(m_boxes.texts.isEmpty(), qPrintable(m_boxes.texts.join(u'\n'))); }

    void cleanupTestCase()
    {
        store::Connection::setAccount(nullptr);
        if (m_port) {
            QString output;
            runScript(QStringLiteral("stop"), &output);
            QDir().rmdir(m_claim);
        }
    }

    // The program itself on the server: it shows its window and ends
    // normally, its connections closed on the way out.
    void programEndsNormallyOnTheServer()
    {
        ProgramData data(ProgramData::Start::NoFile);
        data.useRegisteredDataSources();
        QString output;
        QVERIFY2(data.programStarts(&output), qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("ODBC 데이터 원본 Account")), qPrintable(output));
    }

    void serverStopsAndComesBack()
    {
        entry::TfmBorvane window;
        window.show();
        BorvaneProbe w(window);
        w.setDate(QStringLiteral("2001-05-30"));
        w.chooseBranch(0);
        w.pQuery();

        w.typeVoucher(QStringLiteral("정지 전"));
        w.SaveBtnClick();
        QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
        const QString before = w.lastStoredKey().left(19);
        QCOMPARE(voucherRows(before), 4);

        QString output;
        QVERIFY2(stopServer(&output), qPrintable(output));

        // The clerk's next action is a save: the engine's error, and the voucher stays typed.
        w.typeVoucher(QStringLiteral("정지 중"));
        const QString stopped = errorOf([&] { w.SaveBtnClick(); });
        // A Korean line about the server above the engine's text.
        QVERIFY2(stopped.section(u'\n', 0, 0).contains(QStringLiteral("서버")), qPrintable(stopped));
        QVERIFY2(!stopped.section(u'\n', 1).trimmed().isEmpty(), qPrintable(stopped));
        QCOMPARE(w.mode(), voucher::VoucherMode::New);
        QCOMPARE(window.line(1).acText->text(), QStringLiteral("정지 중"));
        QCOMPARE(window.line(2).crAmt->text(), QStringLiteral("3400"));
        // And again, still down: the same.
        QVERIFY(!errorOf([&] { w.SaveBtnClick(); }).isEmpty());
        QCOMPARE(w.mode(), voucher::VoucherMode::New);

        QVERIFY2(runScript(QStringLiteral("start"), &output), qPrintable(output));

        // Back: the same click saves the voucher as typed.
        const QString error = errorOf([&] { w.SaveBtnClick(); });
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
        const QString after = w.lastStoredKey().left(19);
        QCOMPARE(after, QStringLiteral("2001-05-30-00000002"));
        QCOMPARE(voucherRows(before), 4);
        QCOMPARE(voucherRows(after), 4);
        QVERIFY(w.locateListRow(before, QStringLiteral("01")));
        QVERIFY(w.locateListRow(after, QStringLiteral("02")));
    }

    void listingWhileStoppedThenBack()
    {
        entry::TfmBorvane window;
        BorvaneProbe w(window);
        w.setDate(QStringLiteral("2001-05-30"));
        w.pQuery();
        const int rows = w.list().rowCount();
        QVERIFY(rows >= 4);

        QString output;
        QVERIFY2(stopServer(&output), qPrintable(output));
        QVERIFY(!errorOf([&] { w.cbKubunChange(); }).isEmpty());
        QVERIFY2(runScript(QStringLiteral("start"), &output), qPrintable(output));
        const QString error = errorOf([&] { w.cbKubunChange(); });
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(w.list().rowCount(), rows);
    }

    // A restart between two actions (the clerk's connection was ended by
    // it): the first save finds the connection dead before anything of the
    // voucher is written, connects again and saves, on the first click.
    void firstSaveAfterRestart()
    {
        entry::TfmBorvane window;
        window.show();
        BorvaneProbe w(window);
        w.setDate(QStringLiteral("2001-05-31"));
        w.chooseBranch(0);
        w.pQuery();

        QString output;
        QVERIFY2(stopServer(&output), qPrintable(output));
        QVERIFY2(runScript(QStringLiteral("start"), &output), qPrintable(output));

        w.typeVoucher(QStringLiteral("재시작 후"));
        const QString error = errorOf([&] { w.SaveBtnClick(); });
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
        QCOMPARE(voucherRows(w.lastStoredKey().left(19)), 4);
    }

    // A lookup showing more employees than its first page: its server
    // session is in no transaction, list shown, read on or hidden, and the
    // rows are the table's in order. With its server process stopped, the
    // next search ends within the answer bound with the clerk's message.
    void lookupHoldsNoTransactionWhileAListIsShown()
    {
        store::Connection& program = store::Connection::account();
        program.execNative(QStringLiteral("insert into Sawon_Table select 'S' || lpad(g::text, 6, '0'), '직원' || g, "
                                          "'', '', '', '' from generate_series(1, 3000) g"));
        lookup::TForm3 dialog(nullptr);
        dialog.prepareFor(1, QString());
        dialog.runSearch();
        dialog.show();
        store::SqlStatement& list = *dialog.query();
        const auto shown = [&] {
            QVector<QStringList> codes;
            for (int row = 0; row < list.rowCount(); ++row)
                codes.append({list.value(row, 0).toString().trimmed()});
            return codes;
        };
        const QString table = QStringLiteral("select Sawon_Code from Sawon_Table ");
        const QString pid = store::Connection::lookups().selectNative(QStringLiteral("select pg_backend_pid()"))[0][0];
        const QString state = QStringLiteral("select state from pg_stat_activity where pid = ") + pid;
        QCOMPARE(program.selectNative(state), QVector<QStringList>{{QStringLiteral("idle")}});
        // Rows another session adds before the rows read: the list reads on after the last row read.
        program.execNative(QStringLiteral("insert into Sawon_Table select 'S00001' || g || 'A', '', '', '', '', '' from generate_series(0, 2) g"));
        list.fetchMore();
        dialog.hide();
        QVERIFY(list.canFetchMore()); // still half read
        QCOMPARE(program.selectNative(state), QVector<QStringList>{{QStringLiteral("idle")}});
        QCOMPARE(shown(), program.selectNative(table + QStringLiteral("where rtrim(Sawon_Code) not like '%A' order by 1")));

        ::kill(pid.toInt(), SIGSTOP);
        QElapsedTimer waited;
        waited.start();
        const QString stopped = errorOf([&] { dialog.runSearch(); });
        const qint64 ms = waited.elapsed();
        ::kill(pid.toInt(), SIGCONT);
        QVERIFY2(stopped.startsWith(QStringLiteral("데이터베이스 서버와의 연결이 끊겼거나")), qPrintable(stopped));
        QVERIFY2(ms < (store::Connection::kAnswerSeconds + 2) * 1000, qPrintable(QString::number(ms)));

        dialog.runSearch();
        QCOMPARE(shown(), program.selectNative(table + QStringLiteral("order by 1")));
    }

    // The program starts while the server is down: the window still opens,
    // the engine's error is reported, and once the server is back the next
    // list (leaving the date) connects and fills the branches and the list.
    void startsWhileTheServerIsDown()
    {
        QString output;
        QVERIFY2(stopServer(&output), qPrintable(output));
        store::Connection::setAccount(schema::resolveAccount()); // as the program starts
        QVERIFY2(store::Connection::account().describe().startsWith(QStringLiteral("ODBC 데이터 원본 Account")),
                 qPrintable(store::Connection::account().describe()));
        entry::TfmBorvane window;
        auto* date = window.findChild<QLineEdit*>(QStringLiteral("edDate"));
        auto* branches = window.findChild<QComboBox*>(QStringLiteral("cbKubun"));
        QCOMPARE(m_boxes.texts.size(), 1);
        QVERIFY2(m_boxes.texts.first().contains(QStringLiteral("연결할 수 없습니다")), qPrintable(m_boxes.texts.first()));
        // Beneath it the engine's own words, as under every failure, not Qt's driver text.
        QVERIFY2(!m_boxes.texts.first().contains(QStringLiteral("QODBC")), qPrintable(m_boxes.texts.first()));
        m_boxes.texts.clear();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(branches->count(), 0);

        // Still down: leaving the date tries again and reports again.
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Tab);
        QTRY_COMPARE(m_boxes.texts.size(), 1);
        m_boxes.texts.clear();

        QVERIFY2(runScript(QStringLiteral("start"), &output), qPrintable(output));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, QStringLiteral("2001-05-30"));
        QCOMPARE(date->text(), QStringLiteral("2001-05-30"));
        QTest::keyClick(date, Qt::Key_Tab);
        QVERIFY(m_boxes.texts.isEmpty());
        QVERIFY(branches->count() >= 2);
        QCOMPARE(branches->currentIndex(), 0);
        BorvaneProbe w(window);
        QVERIFY(w.list().rowCount() >= 4); // the vouchers saved above
    }
};

int main(int argc, char** argv)
{
    widgets::VoucherApplication app(argc, argv);
    TestServerStop test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_serverstop.moc"
