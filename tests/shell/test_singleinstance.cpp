// The single-instance guard in one process and with the built program run twice.
#include "modalwatcher.h"
#include "shell/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString uniqueName(const char* base)
{
    return QStringLiteral("%1-%2-%3")
        .arg(QLatin1String(base))
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate() % 100000);
}

// A copy of the built program started with its own home, data folder, temp
// folder and an empty ODBC configuration, so that it opens a fresh SQLite file.
class ProgramCopy {
public:
    // `adjust` changes the environment before the start.
    ProgramCopy(const QString& program, const QTemporaryDir& home,
                const std::function<void(QProcessEnvironment&)>& adjust = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        env.insert(QStringLiteral("TMPDIR"), home.path());
        env.insert(QStringLiteral("ODBCINI"), home.filePath(QStringLiteral("odbc.ini")));
        env.insert(QStringLiteral("ODBCSYSINI"), home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VOUCHER_INSTANCE_TRACE"), QStringLiteral("1"));
        if (adjust)
            adjust(env);
        process.setProcessEnvironment(env);
        process.setProgram(program);
        process.start();
    }
    ~ProgramCopy()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    // Waits until the copy has written the line to stderr.
    bool waitForLine(const QByteArray& line, int timeoutMs = 30000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            stderrText += process.readAllStandardError();
            if (stderrText.contains(line))
                return true;
            if (process.state() == QProcess::NotRunning)
                return false;
            process.waitForReadyRead(100);
        }
        return false;
    }
    QProcess process;
    QByteArray stderrText;
};

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void instanceNameIsTheWholeFileName();
    void secondCopyAsksTheFirstForward();
    void differentNamesDoNotMeet();
    void leftoversOfAKilledCopyDoNotBlock();
    void bringToFrontRestoresAMinimisedWindow();
    void programStartedTwice();
    void filesOfOthersInTheSharedTempFolderDecideNothing();
    void aProgramStartedDuringARestoreSaysSo();
};

void TestSingleInstance::instanceNameIsTheWholeFileName()
{
#ifdef Q_OS_WIN
    QCOMPARE(shell::instanceNameFromPath(QStringLiteral("C:/Programs/Acct.exe")), QStringLiteral("Acct"));
#else
    QCOMPARE(shell::instanceNameFromPath(QStringLiteral("/usr/local/bin/voucher")), QStringLiteral("voucher"));
    QCOMPARE(shell::instanceNameFromPath(QStringLiteral("./Acct")), QStringLiteral("Acct"));
    QCOMPARE(shell::instanceNameFromPath(QStringLiteral("/opt/acct.v2")), QStringLiteral("acct.v2"));
#endif
}

void TestSingleInstance::secondCopyAsksTheFirstForward()
{
    const QString name = uniqueName("voucher-guard");
    shell::SingleInstance first(name);
    QVERIFY(first.claim());
    QSignalSpy forward(&first, &shell::SingleInstance::comeForwardRequested);

    shell::SingleInstance second(name);
    QVERIFY(!second.claim());
    QVERIFY(second.askRunningCopyForward(3000));
    QTRY_COMPARE(forward.count(), 1);
    first.release(); // the first finishes its work without a window
    QVERIFY(second.claim());
}

void TestSingleInstance::differentNamesDoNotMeet()
{
    shell::SingleInstance one(uniqueName("voucher-one"));
    shell::SingleInstance other(uniqueName("voucher-other"));
    QVERIFY(one.claim());
    QVERIFY(other.claim());
    // Once the first copy has ended its name is free again.
    const QString name = uniqueName("voucher-again");
    {
        shell::SingleInstance first(name);
        QVERIFY(first.claim());
    }
    shell::SingleInstance next(name);
    QVERIFY(next.claim());
}

void TestSingleInstance::leftoversOfAKilledCopyDoNotBlock()
{
    const QString name = uniqueName("voucher-killed");
    shell::SingleInstance probe(name);
    const QString key = probe.key();

    // A lock file naming a process that no longer exists, and a socket file nobody listens on.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    QVERIFY(gone.waitForFinished());
    const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
    QFile lock(key + QStringLiteral(".lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid) + "\nvoucher\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    QFile socketFile(key);
    QVERIFY(socketFile.open(QIODevice::WriteOnly));
    socketFile.close();

    shell::SingleInstance first(name);
    QVERIFY(first.claim());
    QSignalSpy forward(&first, &shell::SingleInstance::comeForwardRequested);
    shell::SingleInstance second(name);
    QVERIFY(!second.claim());
    QVERIFY(second.askRunningCopyForward(3000));
    QTRY_COMPARE(forward.count(), 1);
}

void TestSingleInstance::bringToFrontRestoresAMinimisedWindow()
{
    QWidget window;
    window.showMinimized();
    QTRY_VERIFY(window.isMinimized());
    shell::bringToFront(&window);
    QVERIFY(!window.isMinimized());
    QVERIFY(window.isVisible());
}

// A copy of the built program in home under the given name; "" when the
// program is not built next to the tests or cannot be copied.
QString copyOfTheProgram(const QTemporaryDir& home, const QString& name)
{
    const QString built = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../voucher"));
    const QString copy = home.filePath(name);
    return QFile::copy(built, copy) ? copy : QString();
}

void TestSingleInstance::programStartedTwice()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    // Copies of the program under its own name and under another one.
    const QString program = copyOfTheProgram(home, QStringLiteral("voucher"));
    const QString renamed = copyOfTheProgram(home, QStringLiteral("voucher2"));
    QVERIFY(!program.isEmpty() && !renamed.isEmpty());

    auto first = std::make_unique<ProgramCopy>(program, home);
    QVERIFY2(first->waitForLine("voucher: running"), first->stderrText.constData());

    ProgramCopy second(program, home);
    QVERIFY(second.process.waitForFinished(30000));
    QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.process.exitCode(), 0);
    second.stderrText += second.process.readAllStandardError();
    QVERIFY2(second.stderrText.contains("handed over to the running copy"), second.stderrText.constData());
    QVERIFY(!second.stderrText.contains("voucher: running"));
    QVERIFY2(first->waitForLine("voucher: came forward"), first->stderrText.constData());

    // The guard comes before the display: a second copy that could open no
    // display at all still hands over.
    ProgramCopy noDisplay(program, home, [](QProcessEnvironment& env) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    });
    QVERIFY(noDisplay.process.waitForFinished(30000));
    noDisplay.stderrText += noDisplay.process.readAllStandardError();
    QCOMPARE(noDisplay.process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(noDisplay.stderrText.contains("handed over to the running copy"), noDisplay.stderrText.constData());

    // Another file name is another program: it runs beside the first.
    ProgramCopy other(renamed, home);
    QVERIFY2(other.waitForLine("voucher: running"), other.stderrText.constData());

    // Killed hard, the first copy leaves nothing that stops the next start.
    first->process.kill();
    QVERIFY(first->process.waitForFinished(5000));
    first.reset();
    ProgramCopy third(program, home);
    QVERIFY2(third.waitForLine("voucher: running"), third.stderrText.constData());
    QVERIFY(!third.stderrText.contains("handed over"));
}

// Another local user who knows the names the guard would use in the shared
// temporary folder plants a live lock and a listening socket there (and, as
// root can arrange, takes the name of a private folder in it): the clerk's
// program still starts and keeps its own guard.
void TestSingleInstance::filesOfOthersInTheSharedTempFolderDecideNothing()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString program = copyOfTheProgram(home, QStringLiteral("voucher"));
    QVERIFY(!program.isEmpty());
    const QString shared = home.filePath(QStringLiteral("shared-tmp"));
    QVERIFY(QDir().mkpath(shared));
    QVERIFY(::chmod(QFile::encodeName(shared).constData(), 01777) == 0);

    const bool root = ::geteuid() == 0;
    const uid_t nobody = 65534;
    const QString user = QString::number(::getuid());
    const auto plant = [&](const QString& folder, QLocalServer& server, QLockFile& lock) {
        const QString socketPath = QDir(folder).filePath(QStringLiteral("voucher-") + user);
        QVERIFY(server.listen(socketPath));
        QVERIFY(lock.tryLock(0));
        if (root) {
            QVERIFY(::chown(QFile::encodeName(socketPath).constData(), nobody, nobody) == 0);
            QVERIFY(::chown(QFile::encodeName(socketPath + QStringLiteral(".lock")).constData(), nobody, nobody) == 0);
        }
    };
    QLocalServer foreignServer;
    QLockFile foreignLock(QDir(shared).filePath(QStringLiteral("voucher-%1.lock").arg(user)));
    plant(shared, foreignServer, foreignLock);
    QLocalServer squatServer;
    std::unique_ptr<QLockFile> squatLock;
    if (root) {
        const QString squatted = QDir(shared).filePath(QStringLiteral("voucher-run-") + user);
        QVERIFY(QDir().mkpath(squatted));
        QVERIFY(::chmod(QFile::encodeName(squatted).constData(), 0777) == 0);
        QVERIFY(::chown(QFile::encodeName(squatted).constData(), nobody, nobody) == 0);
        squatLock = std::make_unique<QLockFile>(QDir(squatted).filePath(QStringLiteral("voucher-%1.lock").arg(user)));
        plant(squatted, squatServer, *squatLock);
    }

    const auto sharedTempOnly = [&](QProcessEnvironment& env) {
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), shared); // the clerk's own but open: passed over, kept 1777
        env.insert(QStringLiteral("TMPDIR"), shared);
    };
    auto first = std::make_unique<ProgramCopy>(program, home, sharedTempOnly);
    QVERIFY2(first->waitForLine("voucher: running", 10000), first->stderrText.constData());
    QVERIFY2(!first->stderrText.contains("handed over") && !first->stderrText.contains("no running copy"),
             first->stderrText.constData());
    QVERIFY(!foreignServer.hasPendingConnections() && !squatServer.hasPendingConnections());

    // Its own guard still holds: a second copy hands over to it.
    ProgramCopy second(program, home, sharedTempOnly);
    QVERIFY(second.process.waitForFinished(30000));
    second.stderrText += second.process.readAllStandardError();
    QVERIFY2(second.stderrText.contains("handed over to the running copy"), second.stderrText.constData());
    QVERIFY2(first->waitForLine("voucher: came forward"), first->stderrText.constData());

    // Killed hard, it leaves a stale lock of its own that does not hold up the next start.
    first->process.kill();
    QVERIFY(first->process.waitForFinished(5000));
    first.reset();
    ProgramCopy third(program, home, sharedTempOnly);
    QVERIFY2(third.waitForLine("voucher: running"), third.stderrText.constData());
    QVERIFY2(!third.stderrText.contains("no running copy"), third.stderrText.constData());
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(shared).constData(), &info) == 0 && (info.st_mode & 07777) == 01777);
}

void TestSingleInstance::aProgramStartedDuringARestoreSaysSo()
{
    const QString name = uniqueName("voucher-restore");
    {
        // The note of a restore killed hard goes with its lock, even when it names the next holder's process.
        shell::SingleInstance program(name);
        QVERIFY(QFile(program.key() + QStringLiteral(".restore-%1").arg(QCoreApplication::applicationPid())).open(QIODevice::WriteOnly));
        QVERIFY(program.claim());
        shell::SingleInstance later(name);
        QVERIFY(!later.takeLock() && !later.heldByRestore());
    }
    ModalWatcher watcher;
    shell::tellRestoreUnderway();
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("장부를 복원하는 중입니다. 잠시 뒤에 다시 시작하십시오.")});

    // The program itself, started while a restore holds its guard, tells the clerk instead of handing over.
    QTemporaryDir home;
    const QString program = copyOfTheProgram(home, QStringLiteral("voucher"));
    QVERIFY(!program.isEmpty());
    shell::SingleInstance restoring(QStringLiteral("voucher"), home.path());
    QVERIFY(restoring.claimForRestore());
    ProgramCopy started(program, home);
    QVERIFY2(started.waitForLine("voucher: a restore holds the books"), started.stderrText.constData());
    QVERIFY(!started.stderrText.contains("handed over"));
}

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
