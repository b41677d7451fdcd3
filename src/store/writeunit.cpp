#include "writeunit.h"

#include "core/errors.h"

#include <QSqlError>

namespace store {

namespace {

// Takes the voucher table's write lock inside the transaction just begun.
void lockVoucherTable(Connection& connection)
{
    switch (connection.engine()) {
    case core::Engine::SQLite:
        break; // BEGIN IMMEDIATE already holds the database's write lock
    case core::Engine::PostgreSQL:
        // Conflicts with itself and with every row write, not with plain reads.
        connection.execNative(QStringLiteral("LOCK TABLE account_jen_AA IN SHARE ROW EXCLUSIVE MODE"));
        break;
    case core::Engine::SqlServer:
        connection.execNative(QStringLiteral("SELECT TOP 0 * FROM account_jen_AA WITH (TABLOCKX, HOLDLOCK)"));
        break;
    }
}

} // namespace

WriteUnit::WriteUnit(Connection& connection) : m_connection(connection)
{
    if (m_connection.inTransaction()) {
        m_joined = true;
        return;
    }
    try {
        begin();
    } catch (const core::DbError&) {
        // The connection was found dead before anything of the unit was
        // written (a server restarted since the last action): connect again
        // and go on, once. Not when the server stopped answering: that
        // wait has been long enough. A file has no server to come back.
        if (m_connection.engine() == core::Engine::SQLite || !m_connection.isBroken() || m_connection.answerLost())
            throw;
        begin();
    }
}

void WriteUnit::begin()
{
    m_connection.reopenIfBroken();
    if (m_connection.engine() == core::Engine::SQLite) {
        m_connection.finishPendingReads(); // an old read snapshot would refuse the write lock
        // Waits (busy timeout) while another workstation writes, then keeps
        // every other writer out until COMMIT.
        m_connection.execNative(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        QSqlDatabase db = m_connection.database();
        bool begun = false;
        {
            const AnswerDeadline deadline = m_connection.watchAnswer();
            begun = db.transaction();
        }
        if (!begun)
            m_connection.fail(db.lastError()); // a lost server is reconnected next time
    }
    m_active = true;
    m_connection.setInTransaction(true);
    try {
        lockVoucherTable(m_connection);
        m_locked.start();
    } catch (...) {
        rollback();
        throw;
    }
}

WriteUnit::~WriteUnit()
{
    try {
        rollback();
    } catch (...) {
        // A destructor must not throw; the engine drops an unfinished transaction with the connection.
    }
}

void WriteUnit::commit()
{
    if (m_joined || !m_active)
        return;
    if (m_connection.engine() == core::Engine::SQLite) {
        try {
            m_connection.execNative(QStringLiteral("COMMIT"));
        } catch (...) {
            rollback();
            throw;
        }
    } else {
        QSqlDatabase db = m_connection.database();
        bool committed = false;
        {
            const AnswerDeadline deadline = m_connection.watchAnswer();
            committed = db.commit();
        }
        if (!committed) {
            const QString text = m_connection.clerkText(db.lastError());
            rollback();
            throw core::DbError(text);
        }
    }
    m_active = false;
    m_connection.setInTransaction(false);
    noteReleased();
}

void WriteUnit::noteReleased()
{
    if (m_locked.isValid())
        m_connection.noteLockHeld(m_locked.nsecsElapsed());
    m_locked.invalidate();
}

void WriteUnit::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_connection.setInTransaction(false);
    if (m_connection.engine() == core::Engine::SQLite) {
        try {
            m_connection.execNative(QStringLiteral("ROLLBACK"));
        } catch (const core::DbError&) {
            // The engine may already have ended the transaction after a failed statement.
        }
    } else {
        {
            const AnswerDeadline deadline = m_connection.watchAnswer();
            m_connection.database().rollback();
        }
        // A statement inside may have failed because the server went away,
        // which the transaction kept from noteFailure: ask now, so that the
        // connection is made anew before the next statement and the program
        // works again once the server is back.
        m_connection.noteFailure(QSqlError());
    }
    noteReleased();
}

} // namespace store
