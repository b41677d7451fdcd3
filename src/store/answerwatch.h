#pragma once

#include <functional>

namespace store {

// The ODBC driver waits for a server's answer without any limit of its own:
// a backend that stopped (or a host that went silent) would freeze the window
// for good, and the server's own time limits cannot act while it is stopped.
// The watch gives each statement a deadline; when it passes, the connection's
// socket is shut down from a watcher thread, the driver's wait ends with a
// lost connection, and the connection is made anew before the next action.

// Runs open() and returns the socket it opened, -1 when none or several.
int socketOpenedBy(const std::function<void()>& open);

// Arms the watch over one socket for the lifetime of the object.
class AnswerDeadline {
public:
    // Does nothing for socket -1 or 0 ms. *expired turns true when the
    // deadline passed and the socket was shut down.
    AnswerDeadline(int socket, int milliseconds, bool* expired);
    ~AnswerDeadline();
    AnswerDeadline(const AnswerDeadline&) = delete;
    AnswerDeadline& operator=(const AnswerDeadline&) = delete;

private:
    unsigned long long m_ticket = 0;
    bool* m_expired;
};

} // namespace store
