#include "answerwatch.h"

#include <QDir>
#include <QFile>
#include <QByteArray>
#include <QSet>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <sys/socket.h>
#include <unistd.h>

namespace store {

namespace {

using Clock = std::chrono::steady_clock;

// One watcher thread for the process; one statement runs at a time on the
// user-interface thread, but tools may hold several connections.
class Watcher {
public:
    static Watcher& instance()
    {
        static Watcher* watcher = new Watcher; // lives to the end; its thread is detached
        return *watcher;
    }

    unsigned long long arm(int socket, Clock::time_point deadline)
    {
        std::lock_guard lock(m_mutex);
        if (!m_started) {
            std::thread([this] { run(); }).detach();
            m_started = true;
        }
        ++m_lastTicket;
        m_armed = {m_lastTicket, socket, deadline, false};
        m_wake.notify_all();
        return m_lastTicket;
    }

    // Returns whether the deadline of the ticket had passed.
    bool disarm(unsigned long long ticket)
    {
        std::lock_guard lock(m_mutex);
        if (m_armed.ticket != ticket)
            return m_firedTicket == ticket;
        const bool fired = m_armed.fired;
        m_armed = {};
        return fired;
    }

private:
    struct Armed {
        unsigned long long ticket = 0;
        int socket = -1;
        Clock::time_point deadline;
        bool fired = false;
    };

    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            if (!m_armed.ticket || m_armed.fired) {
                m_wake.wait(lock);
                continue;
            }
            const unsigned long long ticket = m_armed.ticket;
            if (m_wake.wait_until(lock, m_armed.deadline) == std::cv_status::timeout && m_armed.ticket == ticket
                && !m_armed.fired) {
                // The driver's poll on this socket returns, and it reports the connection lost.
                ::shutdown(m_armed.socket, SHUT_RDWR);
                m_armed.fired = true;
                m_firedTicket = ticket;
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_started = false;
    unsigned long long m_lastTicket = 0;
    unsigned long long m_firedTicket = 0;
    Armed m_armed;
};

QSet<int> openSockets()
{
    QSet<int> sockets;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& name : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        // A socket's link reads "socket:[inode]" (QFile would resolve it as a path).
        const QByteArray target = QFile::encodeName(fds.filePath(name));
        char link[64] = {};
        const ssize_t n = ::readlink(target.constData(), link, sizeof link - 1);
        if (n > 7 && QByteArray(link, int(n)).startsWith("socket:"))
            sockets.insert(name.toInt());
    }
    return sockets;
}

} // namespace

int socketOpenedBy(const std::function<void()>& open)
{
    const QSet<int> before = openSockets();
    open();
    const QSet<int> opened = openSockets() - before;
    return opened.size() == 1 ? *opened.begin() : -1;
}

AnswerDeadline::AnswerDeadline(int socket, int milliseconds, bool* expired) : m_expired(expired)
{
    if (socket >= 0 && milliseconds > 0)
        m_ticket = Watcher::instance().arm(socket, Clock::now() + std::chrono::milliseconds(milliseconds));
}

AnswerDeadline::~AnswerDeadline()
{
    if (m_ticket && Watcher::instance().disarm(m_ticket) && m_expired)
        *m_expired = true;
}

} // namespace store
