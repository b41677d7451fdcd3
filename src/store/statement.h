#pragma once

#include "connection.h"
#include "sql/dialect.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <map>
#include <memory>
#include <vector>

namespace store {

// A statement object as the windows use it: close, replace the text line by
// line, bind by name, open or execute, then walk the rows and read columns by
// name. The text is Transact-SQL; it is translated for the engine on open.
// Every failure is thrown as DbError carrying the engine's text.
//
// An open result is read from the engine in batches as rows are asked for;
// rowCount() reads it to the end. reachLastRow() lets a grid show the end of
// a long result without reading the rows before it.
class SqlStatement : public QObject {
    Q_OBJECT
public:
    explicit SqlStatement(QObject* parent = nullptr); // on Connection::account()
    explicit SqlStatement(Connection& connection, QObject* parent = nullptr);
    ~SqlStatement() override;

    void close();
    bool isOpen() const { return m_open; }

    void clearText();
    void addLine(const QString& line);
    void setLines(const QStringList& lines);
    const QStringList& lines() const { return m_lines; }
    QString text() const; // the lines joined with newlines, as written

    // Names are given without the colon. One binding fills every occurrence.
    // A text is never bound as NULL: an empty (or null) QString is ''.
    void bindText(const QString& name, const QString& value);
    void bindFloat(const QString& name, double value);
    void bindDateTime(const QString& name, const QDateTime& value);
    void clearBindings();

    // Makes the engine's prepared form of the text ready, so that open() or
    // execute() only binds and runs it (work kept out of a write unit).
    // Nothing else depends on it.
    void prepare();
    void open();    // a SELECT; the first row is current
    int execute();  // INSERT, UPDATE or DELETE; the rows affected, -1 when the driver does not tell

    int rowCount();
    bool isEmpty();
    void first();
    void next();
    bool eof();
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    // Makes current the first row whose column equals the value, ignoring
    // case; returns false (current row unchanged) when none does.
    bool locate(const QString& column, const QString& value);

    int columnCount() const { return int(m_columns.size()); }
    QString columnName(int column) const { return m_columns.value(column); }
    int columnIndex(const QString& name) const; // case-insensitive, -1 if none

    // The current row's column: text without trailing blanks, or a number;
    // a NULL reads as the empty text or 0, as '' does.
    // A missing column or no current row throws DbError.
    QString asText(const QString& column);
    double asFloat(const QString& column);
    qint64 asInteger(const QString& column);

    // Rows known so far, for grids: read, or counted by reachLastRow().
    int fetchedRows() const { return int(m_rows.size()); }
    int rowsReadInOrder() const { return m_head; }
    bool canFetchMore() const { return m_open && !m_atEnd && !m_counted; }
    void fetchMore(int count = 256);
    QVariant value(int row, int column);

    // Makes the result's last rows readable at once: the engine counts the
    // rows and reads the last ones in reverse order; the rows between are
    // read when asked for. Where the text offers no such shortcut (it must
    // end in an ORDER BY over result columns), or few rows are left, the
    // result is read to its end. Returns the number of rows.
    int reachLastRow();

    Connection& connection() const { return *m_connection; }

signals:
    void opened();
    void closed();
    void rowsFetched(int from, int to);
    void currentRowChanged(int row);

private:
    // The engine's form of one text: translated once, prepared once per
    // opening of the connection.
    struct EngineForm {
        QString written;
        // The parameters of LIKE patterns, and what the texts bound to them
        // when it was translated let the engine skip (lower-casing or
        // trimming every row's text).
        QStringList likeParameters;
        sql::BoundPatterns bound;
        QString translated;
        QStringList parameters;
        std::unique_ptr<QSqlQuery> prepared;
        quint64 opening = 0;
    };

    QSqlQuery& runBound();
    EngineForm& preparedForm();
    void stopReading();
    EngineForm& engineForm();
    sql::BoundPatterns boundPatterns(const QStringList& likeParameters) const;
    const QVariant& cell(const QString& column);
    void bindAll(QSqlQuery& q, const QStringList& parameters) const;
    std::unique_ptr<QSqlQuery> runAside(const QString& engineText);
    QVector<QVariant> currentValues(QSqlQuery& q) const;
    bool canRead() const { return m_open && !m_atEnd && (m_reading || m_paged); }
    // A result read in pages (Connection::readsResultsInPages): the next
    // `count` rows, or all that are left when 0.
    void readPage(int count);
    void placeInOrder(QVector<QVariant> row);
    // Makes the row readable if the result has it; false past its end or
    // for a row that went away after the rows were counted.
    bool ensureRow(int row);
    void readRowWindow(int row);

    Connection* m_connection;
    QStringList m_lines;
    std::map<QString, QVariant> m_bindings; // by lower-case name
    // The forms of the last few texts, the latest first. Most statements are
    // run again and again with new bindings only, and some take turns among a
    // few texts (a line's insert, its update and the read of its rows): each
    // stays prepared, so that a change of text costs the engine nothing.
    static constexpr size_t kKeptForms = 4;
    std::vector<EngineForm> m_forms;
    QSqlQuery* m_reading = nullptr; // a form's query while its result is being read
    QStringList m_columns;
    mutable QHash<QString, int> m_columnBySpelling;
    // The rows in result order. Once counted, it has a place for every row;
    // a place not yet read is empty.
    QVector<QVector<QVariant>> m_rows;
    int m_head = 0;           // rows read in order from the open result
    bool m_counted = false;   // the rows were counted by reachLastRow()
    bool m_paged = false;     // read in pages; no result is held open between them
    QVector<int> m_orderKeys; // of a paged result: a page never ends between rows equal in them
    QString m_openText;       // the engine text of the open result
    bool m_open = false;
    bool m_atEnd = true;
    int m_current = -1;
};

} // namespace store
