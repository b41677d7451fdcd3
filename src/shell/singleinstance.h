#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QWidget;

namespace shell {

// The single-instance guard. The first copy of the program holds a lock file
// and listens on a local socket, both named after the instance name and the
// user and kept in a folder only the user can write (singleInstanceFolder());
// a later copy finds the lock held, asks the running copy through the
// socket to come forward, and ends. A copy killed hard leaves a lock that the
// next start recognises as stale and a socket file that it removes.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& instanceName, QObject* parent = nullptr);
    // The guard's files in the given folder (tests).
    SingleInstance(const QString& instanceName, const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first copy; it then listens for later ones.
    bool claim();
    // claim() in two steps, for a start that checks the guard before the
    // application object exists: the lock needs none, listening needs one.
    bool takeLock();
    void listen();
    // claim() for voucher-admin's restore, which holds the guard so that no
    // copy opens the books it replaces: a later copy learns from a note
    // beside the lock, named by the holder's process, that the holder is a
    // restore (heldByRestore()).
    bool claimForRestore();
    // For a later copy that found the lock held: whether a restore holds it.
    bool heldByRestore() const;
    // For a later copy: asks the running copy to come forward. False when no
    // running copy answered within the time (this copy then runs as a first one).
    bool askRunningCopyForward(int timeoutMs = 5000);

    // Lets go of the lock and the socket before the process ends: a copy
    // started while this one finishes work without a window runs as the first.
    void release();

    // The socket's path; the lock file is the same path with ".lock".
    QString key() const { return m_key; }

signals:
    void comeForwardRequested();

private:
    void acceptConnections();
    // The note of a restore run by the process `pid`, beside the lock.
    QString restoreNote(qint64 pid) const { return m_key + QStringLiteral(".restore-%1").arg(pid); }

    QString m_folder;
    QString m_key;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    bool m_restoring = false;
};

// Where the guard keeps its files: the user's runtime folder when it is
// private to the user, else a private folder (mode 0700) of the user's own in
// the temporary folder or, should another user hold that name, in the home
// folder. Empty when none can be had (the guard then stands aside).
QString singleInstanceFolder();

// The instance name of an executable path: its file name; where programs carry
// an extension (Windows), the file name less its last four characters.
QString instanceNameFromPath(const QString& executablePath);

// Tells the clerk, in a message box, that the books are being restored and
// to start the program again in a moment.
void tellRestoreUnderway();

// Brings a window to the front: restores it when minimised, raises and
// activates it.
void bringToFront(QWidget* window);

} // namespace shell
