#include "singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

} // namespace

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
    : QObject(parent),
      m_key(instanceName + u'-' + userPart()),
      m_lock(QDir(QDir::tempPath()).filePath(m_key + QStringLiteral(".lock")))
{
    // Held for the whole run: only a dead holder makes the lock stale.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::claim()
{
    if (!m_lock.tryLock(0))
        return false;
    // A copy killed hard leaves its socket file behind; it would block listen.
    QLocalServer::removeServer(m_key);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(m_key))
        connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
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

void bringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}
