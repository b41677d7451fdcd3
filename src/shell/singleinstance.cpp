#include "singleinstance.h"

#include "widgets/messages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QThread>
#include <QWidget>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace shell {

namespace {

const QByteArray kComeForward = "come-forward\n";

// Copies of different users never meet: the key carries the user.
QString userPart()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

#ifdef Q_OS_UNIX
// A folder only this user can reach: a real directory (not a link), owned by
// the user, with no access for anyone else. Made when missing. A folder that
// is there already keeps its mode, even the user's own: one open to others
// (a runtime folder of mode 1777, /tmp itself) holds their files too, and
// closing it would lock them out; it is passed over, as is anyone else's.
bool isPrivateFolder(const QString& path, bool create)
{
    const QByteArray native = QFile::encodeName(path);
    // Made here, its mode is this program's to set whatever the umask says.
    if (create && ::mkdir(native.constData(), 0700) == 0)
        ::chmod(native.constData(), 0700);
    struct stat info {};
    return ::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & 07777) == 0700;
}
#endif

} // namespace

QString singleInstanceFolder()
{
#ifdef Q_OS_UNIX
    // The session's runtime folder, when it is the user's own and private.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime, false))
        return runtime;
    // Otherwise a private folder in the temporary folder; should someone else
    // have taken its name, one in the user's home, where nobody else writes.
    const QString inTemp = QDir(QDir::tempPath()).filePath(QStringLiteral("voucher-run-") + userPart());
    if (isPrivateFolder(inTemp, true))
        return inTemp;
    const QString cache = QDir::homePath() + QStringLiteral("/.cache");
    QDir().mkpath(cache);
    const QString inHome = cache + QStringLiteral("/voucher-run");
    if (isPrivateFolder(inHome, true))
        return inHome;
    return QString();
#else
    return QDir::tempPath(); // a folder of the user's own on Windows
#endif
}

QString instanceNameFromPath(const QString& executablePath)
{
    const QString fileName = QFileInfo(executablePath).fileName();
#ifdef Q_OS_WIN
    return fileName.chopped(qMin<qsizetype>(4, fileName.size()));
#else
    return fileName;
#endif
}

SingleInstance::SingleInstance(const QString& instanceName, QObject* parent)
    : SingleInstance(instanceName, singleInstanceFolder(), parent)
{
}

SingleInstance::SingleInstance(const QString& instanceName, const QString& folder, QObject* parent)
    : QObject(parent),
      m_folder(folder),
      m_key(QDir(folder).filePath(instanceName + u'-' + userPart())),
      m_lock(m_key + QStringLiteral(".lock"))
{
    // Held for the whole run: only a dead holder makes the lock stale.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    release();
}

void SingleInstance::release()
{
    if (m_server)
        m_server->close();
    // Released first: a copy starting now takes the lock, never a lock without its note.
    m_lock.unlock();
    if (std::exchange(m_restoring, false))
        QFile::remove(restoreNote(QCoreApplication::applicationPid()));
}

bool SingleInstance::claim()
{
    if (!takeLock())
        return false;
    listen();
    return true;
}

bool SingleInstance::takeLock()
{
    // No private folder at all: run unguarded rather than trust a shared one.
    if (m_folder.isEmpty())
        return true;
    if (!m_lock.tryLock(0)) {
        // A lock file that names no holder (cut short as it was written) is
        // stale too; a lock of a live copy stays.
        qint64 pid = 0;
        QString host, app;
        if (m_lock.error() != QLockFile::LockFailedError || m_lock.getLockInfo(&pid, &host, &app)
            || !m_lock.removeStaleLockFile() || !m_lock.tryLock(0))
            return false;
    }
    // A restore killed hard leaves its note; should its process number come
    // back as this holder's, the note would speak for this one.
    if (!m_restoring)
        QFile::remove(restoreNote(QCoreApplication::applicationPid()));
    return true;
}

bool SingleInstance::claimForRestore()
{
    if (m_folder.isEmpty())
        return claim();
    // The note goes first: a copy that finds the lock held by a restore
    // finds the note too. Named by this process, it speaks for no other
    // holder, and one restore refused beside another leaves that one's note.
    const QString note = restoreNote(QCoreApplication::applicationPid());
    m_restoring = QFile(note).open(QIODevice::WriteOnly);
    if (claim())
        return true;
    if (std::exchange(m_restoring, false))
        QFile::remove(note);
    return false;
}

bool SingleInstance::heldByRestore() const
{
    qint64 holder = 0;
    QString host, app;
    return !m_folder.isEmpty() && m_lock.getLockInfo(&holder, &host, &app) && QFile::exists(restoreNote(holder));
}

void SingleInstance::listen()
{
    if (m_folder.isEmpty() || !m_lock.isLocked() || m_server)
        return;
    // A copy killed hard leaves its socket file behind; it would block listen.
    QLocalServer::removeServer(m_key);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(m_key))
        connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readRequest = [this, socket] {
            if (!socket->canReadLine())
                return;
            const QByteArray line = socket->readLine();
            if (line == kComeForward)
                emit comeForwardRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        readRequest(); // the request may have arrived with the connection
    }
}

bool SingleInstance::askRunningCopyForward(int timeoutMs)
{
    if (m_folder.isEmpty())
        return false;
    // The running copy may hold the lock but not listen yet: try for a while.
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_key);
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(kComeForward);
            const bool sent = socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(1000);
            if (sent)
                return true;
        }
        QThread::msleep(50);
    }
    return false;
}

void tellRestoreUnderway()
{
    QMessageBox box(QMessageBox::Information, widgets::kProgramName,
                    QStringLiteral("장부를 복원하는 중입니다. 잠시 뒤에 다시 시작하십시오."), QMessageBox::Ok);
    box.exec();
}

void bringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace shell
