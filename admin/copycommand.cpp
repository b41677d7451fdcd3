#include "copycommand.h"

#include "copytrail.h"
#include "pgsession.h"
#include "progress.h"
#include "sqlutil.h"
#include "tablechecksum.h"
#include "target.h"
#include "writesession.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "schema/schema.h"

#include <QFileInfo>
#include <optional>

namespace admin {

namespace {

const QString kLedgerTable = QStringLiteral("account_jen_AA");

TargetChoice sideNamed(const QString& named, const QString& schema, const char* option)
{
    TargetChoice side;
    if (named == QLatin1String("odbc")) {
        side.odbc = true;
        side.schema = schema;
    } else if (named.startsWith(QLatin1String("sqlite:")) && named.size() > 7) {
        side.sqlitePath = QFileInfo(named.mid(7)).absoluteFilePath();
    } else {
        throw core::AppError(QStringLiteral("--%1: sqlite:경로 또는 odbc를 주십시오 (받은 값: \"%2\").")
                           .arg(QLatin1String(option), named));
    }
    return side;
}

// Fixed-width texts come from a server padded with blanks; the embedded
// file keeps them as they were typed.
// A NULL stays NULL: a null QString put back in a QVariant would be written as ''.
QVariant unpadded(QVariant value)
{
    if (!value.isNull() && value.metaType().id() == QMetaType::QString)
        value = core::Str_TrimRight(value.toString());
    return value;
}

// Writes the table's rows and sums up the source's side of the proof on the
// way: the rows read here, in the source's one snapshot, are the rows a
// second pass would read.
// A server source is read through COPY on `fromServer`, which holds its snapshot.
TableChecksum copyRows(store::Connection& from, PgSession* fromServer, WriteSession& to, const QString& table,
                       const QStringList& columns)
{
    // The trail's texts are copied as they were hashed.
    const bool padded = from.engine() != core::Engine::SQLite && !TrailCopy::tables().contains(table);
    Progress progress(table, countRows(from, table));
    const QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u','), table);
    const auto stream = fromServer ? std::make_unique<RowStream>(*fromServer, sql, padded ? RowStream::Padding::Dropped
                                                                                          : RowStream::Padding::Kept)
                                   : std::make_unique<RowStream>(from, sql);
    RowStream& read = *stream;
    const std::unique_ptr<RowSink> insert = to.inserter(table, columns);
    ChecksumAdder source;
    QVector<QVariant> row(columns.size());
    while (read.next()) {
        for (int i = 0; i < columns.size(); ++i)
            row[i] = padded ? unpadded(read.value(i)) : read.value(i);
        insert->add(row);
        source.add(read, columns.size());
        progress.advanceTo(source.sum().rows);
    }
    insert->finish();
    return source.sum();
}

} // namespace

int runCopy(const CopyOptions& options)
{
    const TargetChoice fromSide = sideNamed(options.from, options.schema, "from");
    const TargetChoice toSide = sideNamed(options.to, options.schema, "to");
    if (fromSide.odbc == toSide.odbc && fromSide.sqlitePath == toSide.sqlitePath)
        throw core::AppError(QStringLiteral("원본과 대상이 같습니다."));
    if (!fromSide.odbc && !QFileInfo::exists(fromSide.sqlitePath))
        throw core::AppError(QStringLiteral("원본 파일이 없습니다: %1").arg(fromSide.sqlitePath));

    // Both sides read through a cursor: the rows, not the tables, are in memory.
    constexpr auto kCursor = store::Connection::ResultReading::ThroughCursor;
    OpenedTarget source = openTarget(fromSide, kCursor);
    store::Connection& from = *source.connection;
    say(QStringLiteral("원본: %1").arg(from.describe()));
    if (!schema::schemaExists(from))
        throw core::AppError(QStringLiteral("원본에 전표 테이블 account_jen_AA가 없습니다."));
    OpenedTarget target = openTarget(toSide, kCursor);
    store::Connection& to = *target.connection;
    say(QStringLiteral("대상: %1").arg(to.describe()));
    TrailCopy trail(from, to, options.replace);
    // Empty tables where they are missing.
    if (const QString notice = schema::createSchema(to); !notice.isEmpty())
        say(notice);

    // Counted only to be refused: a replace need not wait for a pass over the ledger.
    if (const qint64 vouchers = options.replace ? 0 : countRows(to, kLedgerTable); vouchers > 0)
        throw core::AppError(QStringLiteral("대상에 이미 전표 %1행이 있습니다. 지우고 복사하려면 --replace를 주십시오.").arg(vouchers));

    // The source in one snapshot, so that both sides are proved against
    // the same rows even while a workstation saves.
    // A server's rows come by its COPY on a libpq connection of their own, which holds the snapshot.
    std::unique_ptr<PgSession> fromServer;
    std::optional<AdminTransaction> snapshot;
    if (from.engine() == core::Engine::PostgreSQL) {
        fromServer = PgSession::openSnapshot(from);
    } else {
        snapshot.emplace(from);
    }

    QStringList tables = masterTables();
    tables << kLedgerTable << TrailCopy::tables();
    // The target's columns are read before its transaction takes its locks:
    // on a server that transaction holds another connection of this process.
    QMap<QString, QStringList> columnsOfTable;
    for (const QString& table : tables) {
        const QStringList columns = columnsOf(from, table);
        const QStringList targetColumns = columnsOf(to, table);
        for (const QString& column : columns)
            if (!targetColumns.contains(column, Qt::CaseInsensitive))
                throw core::AppError(QStringLiteral("대상의 %1에 열 %2이(가) 없습니다.").arg(table, column));
        columnsOfTable[table] = columns;
    }
    // On a server, the target's whole transaction runs where COPY writes.
    WriteSession transaction(to);
    trail.begin(transaction);
    QMap<QString, TableChecksum> original;
    for (const QString& table : tables) {
        transaction.exec(QStringLiteral("DELETE FROM %1").arg(table));
        original[table] = copyRows(from, fromServer.get(), transaction, table, columnsOfTable[table]);
    }
    trail.end(transaction);

    say(QStringLiteral("확인 (테이블마다 행 수와 검사합):"));
    bool same = true;
    for (const QString& table : tables) {
        // The target read back as written, within the transaction that wrote it.
        const TableChecksum copied =
            transaction.checksum(table, columnsOfTable[table], QStringLiteral("확인 ") + table, original[table].rows);
        const bool agree = original[table] == copied;
        same = same && agree;
        say(QStringLiteral("  %1 원본 %2 | 대상 %3 %4")
                .arg(table, -14)
                .arg(original[table].text(), copied.text(), agree ? QStringLiteral("같음") : QStringLiteral("다름")));
    }
    if (!same)
        throw core::AppError(QStringLiteral("복사한 행이 원본과 다릅니다. 대상에는 아무것도 쓰지 않았습니다."));
    transaction.commit();
    say(QStringLiteral("복사했습니다: 테이블 %1개.").arg(tables.size()));
    if (toSide.odbc)
        say(QStringLiteral("원본 파일 %1은(는) 백업으로 보관하십시오: 데이터 원본 Account가 등록되어 있는 동안 프로그램은 이 파일을 쓰지 않습니다.")
                .arg(fromSide.sqlitePath));
    return 0;
}

} // namespace admin
