#include "writeunit.h"

#include "app/errors.h"

#include <QSqlError>

namespace store {

namespace {

QString lastErrorText(const QSqlDatabase& db)
{
    const QSqlError error = db.lastError();
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

// Takes the voucher table's write lock inside the transaction just begun.
void lockVoucherTable(Connection& connection)
{
    switch (connection.engine()) {
    case Engine::SQLite:
        break; // BEGIN IMMEDIATE already holds the database's write lock
    case Engine::PostgreSQL:
        // Conflicts with itself and with every row write, not with plain reads.
        connection.execNative(QStringLiteral("LOCK TABLE account_jen_AA IN SHARE ROW EXCLUSIVE MODE"));
        break;
    case Engine::SqlServer:
        connection.execNative(QStringLiteral("SELECT TOP 0 * FROM account_jen_AA WITH (TABLOCKX, HOLDLOCK)"));
        break;
    }
}

} // namespace

WriteUnit::WriteUnit(Connection& connection) : m_connection(connection)
{
    m_connection.reopenIfBroken();
    if (m_connection.engine() == Engine::SQLite) {
        m_connection.finishPendingReads(); // an old read snapshot would refuse the write lock
        // Waits (busy timeout) while another workstation writes, then keeps
        // every other writer out until COMMIT.
        m_connection.execNative(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        QSqlDatabase db = m_connection.database();
        if (!db.transaction()) {
            const QString text = lastErrorText(db);
            m_connection.noteFailure(db.lastError()); // a lost server is reconnected next time
            throw DbError(text);
        }
    }
    m_active = true;
    m_connection.setInTransaction(true);
    try {
        lockVoucherTable(m_connection);
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
    if (!m_active)
        return;
    if (m_connection.engine() == Engine::SQLite) {
        try {
            m_connection.execNative(QStringLiteral("COMMIT"));
        } catch (...) {
            rollback();
            throw;
        }
    } else {
        QSqlDatabase db = m_connection.database();
        if (!db.commit()) {
            const QString text = lastErrorText(db);
            rollback();
            throw DbError(text);
        }
    }
    m_active = false;
    m_connection.setInTransaction(false);
}

void WriteUnit::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_connection.setInTransaction(false);
    if (m_connection.engine() == Engine::SQLite) {
        try {
            m_connection.execNative(QStringLiteral("ROLLBACK"));
        } catch (const DbError&) {
            // The engine may already have ended the transaction after a failed statement.
        }
    } else {
        m_connection.database().rollback();
        // A statement inside may have failed because the server went away,
        // which the transaction kept from noteFailure: ask now, so that the
        // connection is made anew before the next statement and the program
        // works again once the server is back.
        m_connection.noteFailure(QSqlError());
    }
}

} // namespace store
