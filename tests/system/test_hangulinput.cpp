// Hangul typed through a real input method: fcitx5 with its Hangul engine on
// a private X server and session bus, keys sent as X key events (xdotool).
// The entry window asks for Hangul in its name fields, the syllables reach
// the names, descriptions and lookup searches, and an amount refuses them.
#include "fielddesk.h"

#include "widgets/hangulinput.h"
#include "widgets/application.h"
#include "voucher/amountform.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace entrykit;

namespace {

const QString kRefused = QStringLiteral("잘못 입력하셨습니다");

// Hangul as the second input method of the only group: the keyboard layout
// first, so that the input method starts switched off.
const char kProfile[] = R"([Groups/0]
Name=Default
Default Layout=us
DefaultIM=hangul

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=hangul
Layout=

[GroupOrder]
0=Default
)";

bool waitFor(const std::function<bool()>& ready, int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// An X server, a session bus and fcitx5 of this test alone, started before the
// application and stopped when the test ends, whatever its outcome.
class InputDesktop {
public:
    ~InputDesktop()
    {
        for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
            stop(*it);
    }

    // Empty on success, else what failed.
    QString start()
    {
        for (const char* program : {"Xvfb", "dbus-daemon", "fcitx5", "xdotool"})
            if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
                return QStringLiteral("%1 is not installed (scripts/install-deps.sh)").arg(QLatin1String(program));
        int display = 90;
        while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)) && display < 400)
            ++display;
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
        if (!spawn({"Xvfb", ":" + QByteArray::number(display), "-nolisten", "tcp", "-screen", "0", "1280x1024x24"})
            || !waitFor([&] { return QFile::exists(socket); }, 15))
            return QStringLiteral("Xvfb :%1 did not start").arg(display);

        const QString bus = m_dir.filePath(QStringLiteral("bus"));
        if (!spawn({"dbus-daemon", "--session", "--nofork", "--address=unix:path=" + bus.toUtf8()})
            || !waitFor([&] { return QFile::exists(bus); }, 15))
            return QStringLiteral("the session bus did not start");

        QDir(m_dir.path()).mkpath(QStringLiteral("config/fcitx5"));
        QDir(m_dir.path()).mkpath(QStringLiteral("data"));
        QDir(m_dir.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(m_dir.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile profile(m_dir.filePath(QStringLiteral("config/fcitx5/profile")));
        if (!profile.open(QIODevice::WriteOnly) || profile.write(kProfile) < 0)
            return QStringLiteral("cannot write the fcitx5 profile");
        profile.close();
        qputenv("DISPLAY", ":" + QByteArray::number(display));
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + bus.toUtf8());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", m_dir.filePath(QStringLiteral("run")).toUtf8());
        if (!spawn({"fcitx5", "--disable=all", "--enable=dbus,dbusfrontend,keyboard,hangul,xcb"}))
            return QStringLiteral("fcitx5 did not start");
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_IM_MODULE", "fcitx");
        return {};
    }

private:
    bool spawn(const QList<QByteArray>& args)
    {
        std::vector<char*> argv;
        for (const QByteArray& a : args)
            argv.push_back(const_cast<char*>(a.constData()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
            return false;
        m_children.push_back(pid);
        return true;
    }

    static void stop(pid_t pid)
    {
        kill(pid, SIGTERM);
        if (!waitFor([pid] { return waitpid(pid, nullptr, WNOHANG) == pid; }, 5)) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    QTemporaryDir m_dir;
    std::vector<pid_t> m_children;
};

// The controller of fcitx5 on the session bus.
QString askFcitx(const QString& method)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"),
                                                             QStringLiteral("org.fcitx.Fcitx.Controller1"), method);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    return reply.arguments().isEmpty() ? QString() : reply.arguments().first().toString();
}

// X key events, as a keyboard gives them, to the window with the X focus.
bool pressKeys(const QStringList& keys)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} + keys);
    // The test's own event loop must run meanwhile: the keys come to this process.
    for (int waited = 0; xdotool.state() != QProcess::NotRunning && waited < 20000; waited += 20)
        QTest::qWait(20);
    QTest::qWait(300); // the engine's answers over the bus
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

} // namespace

class TestHangulInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.fcitx.Fcitx5")), 30000);
        widgets::HangulInput::instance().start(); // as the program does after its first paint
    }

    void hangulReachesNamesSearchesAndDescriptions_data() { addEngines(); }
    void hangulReachesNamesSearchesAndDescriptions()
    {
        FETCH_ENGINE();
        FieldDesk desk(engine);
        QLineEdit* date = desk.edit(QStringLiteral("edDate"));
        date->setFocus();
        QVERIFY(desk.show());
        QTest::qWait(500);
        askFcitx(QStringLiteral("Deactivate"));
        QTRY_COMPARE(askFcitx(QStringLiteral("CurrentInputMethod")), QStringLiteral("keyboard-us"));

        // The employee name asks for Hangul as it takes the focus.
        QLineEdit* employee = desk.nameField(voucher::LookupKind::Employee, 1);
        employee->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(askFcitx(QStringLiteral("CurrentInputMethod")), QStringLiteral("hangul"));
        QVERIFY(pressKeys({QStringLiteral("g"), QStringLiteral("k"), QStringLiteral("s"), QStringLiteral("Tab")}));
        QCOMPARE(employee->text(), QStringLiteral("한"));

        // Its lookup opened with that search; the clerk goes on typing there.
        lookup::LookupFrame* form3 = desk.dialog(voucher::LookupKind::Employee);
        QTRY_VERIFY(form3->isActiveWindow());
        QCOMPARE(form3->searchEdit()->text(), QStringLiteral("한"));
        QTRY_COMPARE(QApplication::focusWidget(), form3->searchEdit());
        QVERIFY(pressKeys({QStringLiteral("End"), QStringLiteral("t"), QStringLiteral("h"), QStringLiteral("Return")}));
        QCOMPARE(form3->searchEdit()->text(), QStringLiteral("한소"));
        QCOMPARE(form3->query()->rowCount(), 1);
        QCOMPARE(form3->query()->asText(QStringLiteral("Sawon_Name")), QStringLiteral("한소영"));

        // A description.
        form3->hide();
        QVERIFY(desk.comeBack());
        QLineEdit* text = desk.edit(QStringLiteral("edAc_Text_01"));
        text->setFocus(Qt::TabFocusReason);
        QVERIFY(pressKeys({QStringLiteral("g"), QStringLiteral("k"), QStringLiteral("s"), QStringLiteral("r"),
                           QStringLiteral("m"), QStringLiteral("f"), QStringLiteral("Tab")}));
        QCOMPARE(text->text(), QStringLiteral("한글"));

        // A new voucher: its account chosen (leaving it for the customer
        // field starts the voucher, and the lookup writes the choice).
        QLineEdit* account = desk.nameField(voucher::LookupKind::Account, 1);
        account->setFocus(Qt::TabFocusReason);
        QTest::keyClick(account, Qt::Key_Tab);
        lookup::LookupFrame* form1 = desk.dialog(voucher::LookupKind::Account);
        QTRY_VERIFY(form1->isActiveWindow());
        form1->hide();
        QVERIFY(desk.comeBack());
        desk.window->writeLookupChoice(voucher::LookupKind::Account, 1, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
        desk.window->writeLookupChoice(voucher::LookupKind::Employee, 1, QStringLiteral("1010"), QStringLiteral("한소영"));
        QCOMPARE(desk.window->mode(), voucher::VoucherMode::New);

        // The amount takes the figures and refuses the syllable, the input
        // method still being Hangul.
        DesktopBoxes boxes;
        QLineEdit* amount = desk.crAmt(1);
        amount->setFocus(Qt::TabFocusReason);
        QVERIFY(pressKeys({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("g"), QStringLiteral("k"),
                           QStringLiteral("s"), QStringLiteral("Tab")}));
        QTRY_COMPARE(boxes.texts, QStringList{kRefused});
        // The box may open before the Tab has moved the focus, and then the
        // move does not happen: the clerk presses Tab again.
        QVERIFY(desk.comeBack());
        if (desk.window->focusWidget() == amount)
            QVERIFY(pressKeys({QStringLiteral("Tab")}));
        QTRY_COMPARE(amount->text(), voucher::amountDisplayForm(12));

        QVERIFY(desk.comeBack());
        QTest::mouseClick(desk.button(QStringLiteral("SaveBtn")), Qt::LeftButton);
        QTRY_COMPARE(desk.window->mode(), voucher::VoucherMode::Idle);
        QCOMPARE(boxes.texts, QStringList{kRefused});
        const QVector<QStringList> stored = desk.account.connection().selectNative(
            QStringLiteral("select rtrim(Ac_Text), Cr_Amt from account_jen_AA where Serial_CrDr = '01'"));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0][0], QStringLiteral("한글"));
        QCOMPARE(stored[0][1].toDouble(), 12.0);
    }

    // Alt with a letter that is no accelerator types nothing, composing or not.
    void altChordsTypeNothing()
    {
        FieldDesk desk;
        desk.edit(QStringLiteral("edDate"))->setFocus(); // leaving an account field would open its lookup
        QVERIFY(desk.show());
        QTest::qWait(500);
        QLineEdit* text = desk.edit(QStringLiteral("edAc_Text_01"));
        text->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(askFcitx(QStringLiteral("CurrentInputMethod")), QStringLiteral("hangul"));
        QVERIFY(pressKeys(QStringLiteral("x p t m x m alt+p alt+d alt+q alt+z").split(u' ')));
        QCOMPARE(text->text(), QStringLiteral("테스트"));
    }
};

int main(int argc, char** argv)
{
    InputDesktop desktop;
    const QString failure = desktop.start();
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "FAIL: %s\n", qPrintable(failure));
        return 1;
    }
    widgets::VoucherApplication app(argc, argv);
    TestHangulInput test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hangulinput.moc"
