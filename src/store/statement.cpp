#include "statement.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "sql/dialect.h"
#include "sql/resultshortcuts.h"

#include <QSqlError>
#include <QSqlRecord>

#include <algorithm>
#include <utility>

namespace store {

namespace {

constexpr int kBatch = 256;
// A row this far past the rows read in order is read with its own window of
// the result instead of reading every row before it.
constexpr int kNearRows = 1024;
// The window of "every row left" of a result read in pages.
constexpr int kAllRows = 2147483647;
// Rows a window of a result read in pages reads before its page.
constexpr int kOverlapRows = 16;

// The distinct :parameter names of a text, outside string literals, in order.
QStringList parameterNames(const QString& sql)
{
    QStringList names;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'') {
            for (++i; i < n; ++i) {
                if (sql[i] == u'\'') {
                    if (i + 1 < n && sql[i + 1] == u'\'')
                        ++i;
                    else
                        break;
                }
            }
        } else if (c == u':' && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == u'_')
                   && (i == 0 || sql[i - 1] != u':')) {
            qsizetype j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == u'_'))
                ++j;
            const QString name = sql.mid(i + 1, j - i - 1);
            if (!names.contains(name, Qt::CaseInsensitive))
                names.append(name);
            i = j - 1;
        }
    }
    return names;
}

// Empty, but not null: what an empty text column reads and binds as.
const QString& emptyText()
{
    static const QString empty(QLatin1String(""));
    return empty;
}

} // namespace

SqlStatement::SqlStatement(QObject* parent) : SqlStatement(Connection::account(), parent) {}

SqlStatement::SqlStatement(Connection& connection, QObject* parent)
    : QObject(parent), m_connection(&connection)
{
}

SqlStatement::~SqlStatement() = default; // the connection's list forgets it by itself (QPointer)

void SqlStatement::close()
{
    if (!m_open && !m_reading)
        return;
    m_rows.clear();
    m_head = 0;
    m_counted = false;
    m_paged = false;
    m_orderKeys.clear();
    m_openText.clear();
    m_columns.clear();
    m_columnBySpelling.clear();
    m_open = false;
    m_atEnd = true;
    m_current = -1;
    emit closed();
    // Last: a server that stopped answering throws here, the statement already closed.
    stopReading();
}

void SqlStatement::clearText()
{
    m_lines.clear();
}

void SqlStatement::addLine(const QString& line)
{
    m_lines.append(line);
}

void SqlStatement::setLines(const QStringList& lines)
{
    m_lines = lines;
}

QString SqlStatement::text() const
{
    return m_lines.join(u'\n');
}

void SqlStatement::bindText(const QString& name, const QString& value)
{
    // Qt sends a null QString as NULL: an empty text is stored as '' on every
    // engine, as other programs reading the table compare it.
    m_bindings[name.toLower()] = QVariant(value.isNull() ? emptyText() : value);
}

void SqlStatement::bindFloat(const QString& name, double value)
{
    m_bindings[name.toLower()] = QVariant(value);
}

void SqlStatement::bindDateTime(const QString& name, const QDateTime& value)
{
    m_bindings[name.toLower()] = QVariant(value);
}

void SqlStatement::clearBindings()
{
    m_bindings.clear();
}

void SqlStatement::prepare()
{
    close();
    preparedForm();
}

sql::BoundPatterns SqlStatement::boundPatterns(const QStringList& likeParameters) const
{
    sql::BoundPatterns bound;
    for (const QString& name : likeParameters) {
        auto it = m_bindings.find(name);
        if (it == m_bindings.end() || it->second.typeId() != QMetaType::QString)
            continue;
        const QString text = it->second.toString();
        if (m_connection->engine() == core::Engine::PostgreSQL && sql::isCaselessPatternText(text))
            bound.caseless.append(name); // only PostgreSQL's LIKE tells case
        if (sql::isOpenEndedPatternText(text))
            bound.openEnded.append(name);
        if (sql::isAnyTextPattern(text))
            bound.anyText.append(name);
    }
    return bound;
}

SqlStatement::EngineForm& SqlStatement::engineForm()
{
    const QString written = text();
    QStringList likeParams; // SQL Server gets every text as written
    if (m_connection->engine() != core::Engine::SqlServer) {
        const auto same = std::find_if(m_forms.begin(), m_forms.end(),
                                       [&](const EngineForm& form) { return form.written == written; });
        likeParams = same != m_forms.end() ? same->likeParameters : sql::likeParameters(written);
    }
    const sql::BoundPatterns bound = boundPatterns(likeParams);
    auto found = std::find_if(m_forms.begin(), m_forms.end(), [&](const EngineForm& form) {
        return form.written == written && form.bound == bound;
    });
    if (found == m_forms.end()) {
        EngineForm form;
        form.written = written;
        form.likeParameters = likeParams;
        form.bound = bound;
        form.translated = sql::translateSql(written, m_connection->engine(), false, bound);
        form.parameters = parameterNames(form.translated);
        if (m_forms.size() == kKeptForms)
            m_forms.pop_back(); // never the one being read: every run closes first
        m_forms.insert(m_forms.begin(), std::move(form));
    } else {
        std::rotate(m_forms.begin(), found, found + 1);
    }
    return m_forms.front();
}

SqlStatement::EngineForm& SqlStatement::preparedForm()
{
    m_connection->reopenIfBroken();
    EngineForm& form = engineForm();
    if (form.prepared && form.opening == m_connection->openings())
        return form;
    form.prepared.reset();
    auto q = std::make_unique<QSqlQuery>(m_connection->database());
    q->setForwardOnly(true);
    bool prepared = false;
    {
        const AnswerDeadline deadline = m_connection->watchAnswer();
        prepared = q->prepare(form.translated);
    }
    if (!prepared)
        m_connection->fail(q->lastError());
    form.prepared = std::move(q);
    form.opening = m_connection->openings();
    return form;
}

void SqlStatement::bindAll(QSqlQuery& q, const QStringList& parameters) const
{
    for (const QString& name : parameters) {
        auto it = m_bindings.find(name.toLower());
        q.bindValue(u':' + name, it != m_bindings.end() ? it->second : QVariant(QMetaType::fromType<QString>()));
    }
}

QSqlQuery& SqlStatement::runBound()
{
    EngineForm& form = preparedForm();
    QSqlQuery& q = *form.prepared;
    bindAll(q, form.parameters);
    bool done = false;
    {
        const AnswerDeadline deadline = m_connection->watchAnswer();
        done = q.exec();
    }
    if (!done) {
        const QSqlError error = q.lastError();
        q.finish();
        m_connection->fail(error);
    }
    return q;
}

// Lets the engine go of the result (on SQLite, of its read snapshot) while
// the prepared statement stays for the next run.
void SqlStatement::stopReading()
{
    m_connection->removePendingReader(this);
    if (QSqlQuery* reading = std::exchange(m_reading, nullptr))
        m_connection->finishBounded(*reading);
}

void SqlStatement::open()
{
    close();
    m_reading = &runBound();
    m_openText = m_forms.front().translated;
    const QSqlRecord record = m_reading->record();
    for (int i = 0; i < record.count(); ++i)
        m_columns.append(record.fieldName(i));
    m_open = true;
    m_atEnd = false;
    if (m_connection->readsResultsInPages()) {
        m_paged = true;
        const sql::ResultShortcuts shortcuts = sql::resultShortcuts(m_openText, m_connection->engine(), columnCount());
        for (const QString& column : shortcuts.orderColumns)
            m_orderKeys.append(columnIndex(column));
        // Without an order over result columns no window of the result is
        // sure to follow on from the page before it: the rows are read whole.
        if (!shortcuts.usable || m_orderKeys.contains(-1))
            m_orderKeys.clear();
        readPage(kBatch);
    } else {
        if (m_connection->engine() == core::Engine::SQLite)
            m_connection->addPendingReader(this);
        fetchMore(kBatch);
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    emit opened();
}

int SqlStatement::execute()
{
    close();
    m_connection->finishPendingReads();
    QSqlQuery& q = runBound();
    const int affected = m_connection->rowCountsUnknown() ? -1 : q.numRowsAffected();
    q.finish();
    return affected;
}

void SqlStatement::fetchMore(int count)
{
    if (!canRead())
        return;
    if (m_paged) {
        readPage(count);
        return;
    }
    const int from = int(m_rows.size());
    const AnswerDeadline deadline = m_connection->watchAnswer(); // a batch may come from the server
    for (int i = 0; i < count; ++i) {
        if (!m_reading->next()) {
            const QSqlError error = m_reading->lastError();
            m_atEnd = true;
            stopReading();
            if (error.isValid() && error.type() != QSqlError::NoError)
                m_connection->fail(error);
            break;
        }
        placeInOrder(currentValues(*m_reading));
    }
    const int to = int(m_rows.size()) - 1;
    if (to >= from)
        emit rowsFetched(from, to);
}

void SqlStatement::placeInOrder(QVector<QVariant> row)
{
    // Once counted, a place already read out of order keeps its row.
    if (m_head >= int(m_rows.size()))
        m_rows.append(std::move(row));
    else if (m_rows[m_head].isEmpty())
        m_rows[m_head] = std::move(row);
    ++m_head;
}

QVector<QVariant> SqlStatement::currentValues(QSqlQuery& q) const
{
    const int columns = int(m_columns.size());
    QVector<QVariant> row(columns);
    for (int c = 0; c < columns; ++c)
        row[c] = q.value(c);
    return row;
}

bool SqlStatement::ensureRow(int row)
{
    if (row < 0 || !m_open)
        return false;
    if (row < int(m_rows.size()) && !m_rows[row].isEmpty())
        return true;
    if (!m_counted || row >= int(m_rows.size()) || row - m_head <= kNearRows) {
        while (canRead() && (m_head <= row || row >= int(m_rows.size())))
            fetchMore(kBatch);
    } else {
        readRowWindow(row);
    }
    return row < int(m_rows.size()) && !m_rows[row].isEmpty();
}

// Reads the batch of rows around `row` with a window of the result, leaving
// the places already read as they are.
void SqlStatement::readRowWindow(int row)
{
    const int start = row / kBatch * kBatch;
    std::unique_ptr<QSqlQuery> q =
        runAside(sql::withRowWindow(m_openText, m_connection->engine(), start, kBatch));
    {
        const AnswerDeadline deadline = m_connection->watchAnswer();
        for (int r = start; r < int(m_rows.size()) && q->next(); ++r)
            if (m_rows[r].isEmpty())
                m_rows[r] = currentValues(*q);
    }
    if (const QSqlError error = q->lastError(); error.type() != QSqlError::NoError)
        m_connection->fail(error);
    m_connection->finishBounded(*q);
}

std::unique_ptr<QSqlQuery> SqlStatement::runAside(const QString& engineText)
{
    auto q = std::make_unique<QSqlQuery>(m_connection->database());
    q->setForwardOnly(true);
    const AnswerDeadline deadline = m_connection->watchAnswer();
    if (!q->prepare(engineText))
        m_connection->fail(q->lastError());
    bindAll(*q, parameterNames(engineText));
    if (!q->exec()) {
        const QSqlError error = q->lastError();
        q->finish();
        m_connection->fail(error);
    }
    return q;
}

namespace {

// Whether two rows may stand in either order under an ORDER BY over these
// columns. Texts are compared as loosely as any engine orders them (trailing
// blanks and case ignored): taking two rows for equals when the engine would
// not only costs a few rows more read in order.
bool sameOrderKey(const QVector<QVariant>& a, const QVector<QVariant>& b, const QVector<int>& keys)
{
    for (int k : keys) {
        const QVariant& x = a[k];
        const QVariant& y = b[k];
        if (x.isNull() || y.isNull()) {
            if (x.isNull() != y.isNull())
                return false;
            continue;
        }
        if (x.typeId() == QMetaType::QString || y.typeId() == QMetaType::QString) {
            if (core::Str_TrimRight(x.toString()).compare(core::Str_TrimRight(y.toString()), Qt::CaseInsensitive) != 0)
                return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace

void SqlStatement::readPage(int count)
{
    // The first page comes from the cursor the result opened with, the
    // others from windows of the result, each closed (and its transaction
    // ended) as soon as its rows are in. One row beyond the page tells
    // whether the result goes on. A window begins a few rows before the
    // page: where rows before it came or went since the last page, the last
    // row read shows where the page begins.
    const int overlap = m_reading ? 0 : std::min(m_head, kOverlapRows);
    // A result in no order over its columns is read whole from its cursor.
    const int limit = count > 0 && !m_orderKeys.isEmpty() ? overlap + count + 1 : 0;
    std::unique_ptr<QSqlQuery> window;
    if (!m_reading)
        window = runAside(sql::withRowWindow(m_openText, m_connection->engine(), m_head - overlap, limit ? limit : kAllRows));
    QSqlQuery& q = m_reading ? *m_reading : *window;
    std::vector<QVector<QVariant>> page;
    {
        const AnswerDeadline deadline = m_connection->watchAnswer();
        while ((limit == 0 || int(page.size()) < limit) && q.next())
            page.push_back(currentValues(q));
    }
    const QSqlError error = q.lastError();
    if (m_reading)
        stopReading();
    else
        m_connection->finishBounded(q);
    if (error.type() != QSqlError::NoError) {
        m_atEnd = true;
        m_connection->fail(error);
    }
    // Pages end where the keys change: the page begins after the last row
    // of the last key read, else (that key gone) where it would have stood.
    size_t first = std::min(size_t(overlap), page.size());
    for (size_t i = page.size(); overlap > 0 && i-- > 0;)
        if (sameOrderKey(page[i], m_rows[m_head - 1], m_orderKeys)) {
            first = i + 1;
            break;
        }
    const bool ended = limit == 0 || int(page.size()) < limit;
    size_t take = page.size();
    if (!ended) {
        // Rows equal in the order's keys may come in another order from the
        // next window: a page ends only where the keys change, so that no row
        // shows twice and none is missed.
        take = page.size() - 1;
        while (take > first && sameOrderKey(page[take - 1], page.back(), m_orderKeys))
            --take;
    }
    const int from = int(m_rows.size());
    for (size_t i = first; i < take; ++i)
        placeInOrder(std::move(page[i]));
    m_atEnd = ended;
    const int to = int(m_rows.size()) - 1;
    if (to >= from)
        emit rowsFetched(from, to);
    if (!ended && take == first)
        readPage(0); // the whole page one run of equal keys: the rest at once
}

int SqlStatement::reachLastRow()
{
    if (!canRead() || m_counted)
        return int(m_rows.size());
    // A count could see other rows than a result being read; a result read
    // in pages sees a new snapshot with every page anyway.
    if (!m_connection->readsOpenResultsInOneSnapshot() && !m_paged)
        return rowCount();
    const sql::ResultShortcuts shortcuts = sql::resultShortcuts(m_openText, m_connection->engine(), columnCount());
    QVector<int> keys;
    for (const QString& column : shortcuts.orderColumns)
        keys.append(columnIndex(column));
    if (!shortcuts.usable || keys.contains(-1))
        return rowCount();

    int total = 0;
    {
        std::unique_ptr<QSqlQuery> q = runAside(shortcuts.count);
        bool counted = false;
        {
            const AnswerDeadline deadline = m_connection->watchAnswer();
            counted = q->next();
        }
        if (!counted)
            m_connection->fail(q->lastError());
        total = q->value(0).toInt();
        m_connection->finishBounded(*q);
    }
    // Reading a few thousand rows on costs less than the reverse reading of
    // a long union: the account lookup's 4,000 rows after the first page
    // take about 10 ms from SQLite and 30 ms through ODBC, its count and
    // reverse reading 20-30 and 45-70 ms.
    const int readOn = m_connection->engine() == core::Engine::SQLite ? 8192 : 4096;
    if (total - m_head <= readOn)
        return rowCount();

    std::vector<QVector<QVariant>> last; // the result's last rows, last first
    {
        std::unique_ptr<QSqlQuery> q = runAside(sql::withRowWindow(shortcuts.reversed, m_connection->engine(), 0, kBatch));
        {
            const AnswerDeadline deadline = m_connection->watchAnswer();
            while (int(last.size()) < kBatch && q->next())
                last.push_back(currentValues(*q));
        }
        if (const QSqlError error = q->lastError(); error.type() != QSqlError::NoError)
            m_connection->fail(error);
        m_connection->finishBounded(*q);
    }
    // Rows that share the first of these rows' key may stand before it in
    // the result in an order of the engine's choosing: they are left to be
    // read in order, so that no row shows twice and none is missed.
    if (!last.empty()) {
        const QVector<QVariant> boundary = last.back();
        while (!last.empty() && sameOrderKey(last.back(), boundary, keys))
            last.pop_back();
    }
    if (last.empty())
        return rowCount();

    const int from = int(m_rows.size());
    m_rows.resize(total);
    for (size_t i = 0; i < last.size(); ++i)
        m_rows[total - 1 - int(i)] = std::move(last[i]);
    m_counted = true;
    emit rowsFetched(from, total - 1);
    return total;
}

int SqlStatement::rowCount()
{
    if (m_paged && canRead())
        readPage(0);
    while (canRead())
        fetchMore(4096);
    return int(m_rows.size());
}

bool SqlStatement::isEmpty()
{
    ensureRow(0);
    return m_rows.isEmpty();
}

void SqlStatement::first()
{
    ensureRow(0);
    setCurrentRow(m_rows.isEmpty() ? -1 : 0);
}

void SqlStatement::next()
{
    if (m_current < 0)
        return;
    ensureRow(m_current + 1);
    // Past the last row the cursor rests there and eof() turns true.
    setCurrentRow(m_current + 1 < int(m_rows.size()) ? m_current + 1 : int(m_rows.size()));
}

bool SqlStatement::eof()
{
    if (!m_open || m_current < 0)
        return true;
    ensureRow(m_current);
    return m_current >= int(m_rows.size());
}

void SqlStatement::setCurrentRow(int row)
{
    if (row >= 0)
        ensureRow(row);
    if (row == m_current)
        return;
    m_current = row;
    if (row >= 0 && row < int(m_rows.size()))
        emit currentRowChanged(row);
}

bool SqlStatement::locate(const QString& column, const QString& value)
{
    const int index = columnIndex(column);
    if (index < 0 || !m_open)
        return false;
    for (int row = 0;; ++row) {
        if (!ensureRow(row)) {
            if (row >= int(m_rows.size()))
                return false;
            continue;
        }
        if (core::Str_TrimRight(m_rows[row][index].toString()).compare(value, Qt::CaseInsensitive) == 0) {
            setCurrentRow(row);
            return true;
        }
    }
}

int SqlStatement::columnIndex(const QString& name) const
{
    // The windows read the same few columns row after row, always spelt the
    // same way: remember each spelling's position.
    const auto known = m_columnBySpelling.constFind(name);
    if (known != m_columnBySpelling.cend())
        return *known;
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0) {
            m_columnBySpelling.insert(name, i);
            return i;
        }
    return -1;
}

QVariant SqlStatement::value(int row, int column)
{
    if (!ensureRow(row) || column < 0 || column >= int(m_columns.size()))
        return {};
    return m_rows[row][column];
}

const QVariant& SqlStatement::cell(const QString& column)
{
    const int index = columnIndex(column);
    if (index < 0)
        throw core::DbError(QStringLiteral("%1: 필드를 찾을 수 없습니다.").arg(column));
    if (eof() || m_rows[m_current].isEmpty())
        throw core::DbError(QStringLiteral("%1: 현재 레코드가 없습니다.").arg(column));
    return m_rows[m_current][index];
}

QString SqlStatement::asText(const QString& column)
{
    const QVariant& v = cell(column);
    if (v.isNull())
        return emptyText(); // a NULL reads as '' does
    if (v.typeId() == QMetaType::Double)
        return core::shortestDecimal(v.toDouble());
    const QString text = core::Str_TrimRight(v.toString());
    return text.isEmpty() ? emptyText() : text;
}

double SqlStatement::asFloat(const QString& column)
{
    const QVariant& v = cell(column);
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok)
        return d;
    return core::strictToDouble(v.toString().trimmed());
}

qint64 SqlStatement::asInteger(const QString& column)
{
    const QVariant& v = cell(column);
    if (v.isNull())
        return 0;
    bool ok = false;
    const qint64 i = v.toLongLong(&ok);
    if (ok)
        return i;
    return core::strictToInt(v.toString());
}

} // namespace store
