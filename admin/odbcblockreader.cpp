#include "odbcblockreader.h"

#include "core/errors.h"

#include <QDateTime>
#include <QSqlDriver>
#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace admin {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver's wide characters are UTF-16");

namespace {

// Rows a fetch brings: as many as the connection's cursor hands over at a
// time (Fetch=1024), so that a block is one round trip to the server, and
// memory stays that of one block whatever the table's size (4,096 took
// 25 MB more and was no faster).
constexpr SQLULEN kRowsPerBlock = 1024;
// Texts wider than this (a long text column) are left to Qt, which reads
// a value in pieces of any length.
constexpr SQLULEN kWidestText = 4000;

enum class Kind { Text, Double, Int, BigInt, DateTime, Date };

struct Column {
    Kind kind;
    SQLSMALLINT cType;
    QMetaType type;  // of the value, also of its NULL
    SQLLEN width;    // bytes a row takes in `data`
    std::vector<char> data;
    std::vector<SQLLEN> lengths;
};

// How a column of the given SQL type is bound, as Qt's ODBC driver reads
// the same type; false for a type left to Qt.
bool describe(SQLSMALLINT sqlType, SQLULEN size, Column* column)
{
    switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
        if (size == 0 || size > kWidestText)
            return false;
        // A character outside the basic plane takes two units: room for all of them.
        *column = {Kind::Text, SQL_C_WCHAR, QMetaType::fromType<QString>(), SQLLEN((2 * size + 1) * sizeof(SQLWCHAR)), {}, {}};
        return true;
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        *column = {Kind::Double, SQL_C_DOUBLE, QMetaType::fromType<double>(), sizeof(double), {}, {}};
        return true;
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
        *column = {Kind::Int, SQL_C_SLONG, QMetaType::fromType<int>(), sizeof(SQLINTEGER), {}, {}};
        return true;
    case SQL_BIGINT:
        *column = {Kind::BigInt, SQL_C_SBIGINT, QMetaType::fromType<qlonglong>(), sizeof(SQLBIGINT), {}, {}};
        return true;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        *column = {Kind::DateTime, SQL_C_TYPE_TIMESTAMP, QMetaType::fromType<QDateTime>(), sizeof(SQL_TIMESTAMP_STRUCT), {}, {}};
        return true;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        *column = {Kind::Date, SQL_C_TYPE_DATE, QMetaType::fromType<QDate>(), sizeof(SQL_DATE_STRUCT), {}, {}};
        return true;
    default:
        return false;
    }
}

// The driver's messages about a handle, as Qt's driver reports them.
QString diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    QStringList texts;
    SQLWCHAR state[6];
    SQLWCHAR message[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1; SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, i, state, &native, message,
                                                         SQLSMALLINT(std::size(message)), &length));
         ++i)
        texts << QString::fromUtf16(reinterpret_cast<const char16_t*>(message),
                                    qMin<qsizetype>(length, qsizetype(std::size(message)) - 1));
    return texts.isEmpty() ? QStringLiteral("ODBC 드라이버가 까닭을 알리지 않은 오류") : texts.join(u' ');
}

} // namespace

struct OdbcBlockReader::State {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    std::vector<Column> columns;
    SQLULEN fetched = 0; // rows in the current block
    SQLULEN nextRow = 0; // of the block
    bool atEnd = false;
    std::vector<std::u16string> texts; // bound to the markers while the statement runs
    std::vector<SQLLEN> textLengths;

    ~State()
    {
        if (statement != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, statement); // closes the cursor
    }
    [[noreturn]] void fail() const { throw core::DbError(diagnostics(SQL_HANDLE_STMT, statement)); }
    void check(SQLRETURN rc) const
    {
        if (!SQL_SUCCEEDED(rc))
            fail();
    }
};

std::unique_ptr<OdbcBlockReader> OdbcBlockReader::open(store::Connection& connection, const QString& sql,
                                                       const QStringList& bound)
{
    QSqlDatabase db = connection.database();
    if (db.driverName() != QLatin1String("QODBC"))
        return nullptr;
    const QVariant handle = db.driver()->handle();
    // Qt's ODBC driver hands out its connection handle (SQLHDBC) as a SQLHANDLE.
    if (handle.metaType() != QMetaType::fromType<SQLHANDLE>())
        return nullptr;
    const auto connectionHandle = *static_cast<const SQLHDBC*>(handle.constData());

    auto state = std::make_unique<State>();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle, &state->statement))) {
        state->statement = SQL_NULL_HSTMT;
        throw core::DbError(diagnostics(SQL_HANDLE_DBC, connectionHandle));
    }
    SQLHSTMT s = state->statement;
    state->texts.reserve(bound.size()); // bound by address: never moved
    state->textLengths.resize(bound.size());
    for (qsizetype i = 0; i < bound.size(); ++i) {
        state->texts.push_back(bound[i].toStdU16String());
        std::u16string& text = state->texts.back();
        state->textLengths[i] = SQLLEN(text.size() * sizeof(SQLWCHAR));
        state->check(SQLBindParameter(s, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                      qMax<SQLULEN>(text.size(), 1), 0, text.data(), state->textLengths[i],
                                      &state->textLengths[i]));
    }
    const std::u16string text = sql.toStdU16String();
    state->check(SQLExecDirectW(s, reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(text.c_str())), SQL_NTS));

    SQLSMALLINT count = 0;
    state->check(SQLNumResultCols(s, &count));
    state->columns.resize(count);
    for (SQLUSMALLINT i = 0; i < SQLUSMALLINT(count); ++i) {
        SQLSMALLINT sqlType = 0, digits = 0, nullable = 0, nameLength = 0;
        SQLULEN size = 0;
        state->check(SQLDescribeColW(s, i + 1, nullptr, 0, &nameLength, &sqlType, &size, &digits, &nullable));
        Column& column = state->columns[i];
        if (!describe(sqlType, size, &column))
            return nullptr;
        column.data.resize(size_t(column.width) * kRowsPerBlock);
        column.lengths.resize(kRowsPerBlock);
    }
    state->check(SQLSetStmtAttr(s, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0));
    state->check(SQLSetStmtAttr(s, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRowsPerBlock), 0));
    state->check(SQLSetStmtAttr(s, SQL_ATTR_ROWS_FETCHED_PTR, &state->fetched, 0));
    for (SQLUSMALLINT i = 0; i < SQLUSMALLINT(count); ++i) {
        Column& column = state->columns[i];
        state->check(SQLBindCol(s, i + 1, column.cType, column.data.data(), column.width, column.lengths.data()));
    }
    return std::unique_ptr<OdbcBlockReader>(new OdbcBlockReader(std::move(state)));
}

OdbcBlockReader::OdbcBlockReader(std::unique_ptr<State> state) : m_state(std::move(state))
{
    m_row.resize(qsizetype(m_state->columns.size()));
}

OdbcBlockReader::~OdbcBlockReader() = default;

bool OdbcBlockReader::next()
{
    State& st = *m_state;
    if (st.nextRow >= st.fetched && !st.atEnd)
        fetchBlock();
    if (st.atEnd && st.nextRow >= st.fetched)
        return false;
    readRow();
    ++st.nextRow;
    return true;
}

void OdbcBlockReader::fetchBlock()
{
    State& st = *m_state;
    st.fetched = 0;
    st.nextRow = 0;
    const SQLRETURN rc = SQLFetchScroll(st.statement, SQL_FETCH_NEXT, 0);
    if (rc == SQL_NO_DATA) {
        st.atEnd = true;
        return;
    }
    st.check(rc);
    // A short block is the last one; the next fetch would only say so.
    if (st.fetched < kRowsPerBlock)
        st.atEnd = true;
}

void OdbcBlockReader::readRow()
{
    const State& st = *m_state;
    const SQLULEN row = st.nextRow;
    for (size_t i = 0; i < st.columns.size(); ++i) {
        const Column& column = st.columns[i];
        const SQLLEN length = column.lengths[row];
        QVariant& value = m_row[qsizetype(i)];
        if (length == SQL_NULL_DATA) {
            // Qt's driver gives a NULL text as a variant of no type.
            value = column.kind == Kind::Text ? QVariant() : QVariant(column.type);
            continue;
        }
        const char* cell = column.data.data() + row * column.width;
        switch (column.kind) {
        case Kind::Text:
            if (length == SQL_NO_TOTAL || length >= column.width)
                throw core::DbError(QStringLiteral("ODBC 드라이버가 열 %1의 값을 잘라서 주었습니다 (%2바이트).")
                                  .arg(i + 1)
                                  .arg(qint64(length)));
            value = QString::fromUtf16(reinterpret_cast<const char16_t*>(cell), length / qsizetype(sizeof(SQLWCHAR)));
            break;
        case Kind::Double:
            value = *reinterpret_cast<const double*>(cell);
            break;
        case Kind::Int:
            value = int(*reinterpret_cast<const SQLINTEGER*>(cell));
            break;
        case Kind::BigInt:
            value = qlonglong(*reinterpret_cast<const SQLBIGINT*>(cell));
            break;
        case Kind::DateTime: {
            const auto& t = *reinterpret_cast<const SQL_TIMESTAMP_STRUCT*>(cell);
            value = QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second, int(t.fraction / 1000000)));
            break;
        }
        case Kind::Date: {
            const auto& d = *reinterpret_cast<const SQL_DATE_STRUCT*>(cell);
            value = QDate(d.year, d.month, d.day);
            break;
        }
        }
    }
}

} // namespace admin
