#include "ownschema.h"

#include "schema.h"

#include "core/errors.h"

#include <QMap>
#include <QTemporaryDir>

namespace schema {

namespace {

// SQLite's own tables and indexes (sqlite_sequence, sqlite_stat1, the
// indexes behind constraints) come and go with the engine, not with anyone's
// design; a view or trigger so named is no engine's.
const char* const kObjects = "SELECT type, lower(name), lower(tbl_name), name, tbl_name FROM sqlite_master "
                             "WHERE NOT (type IN ('table', 'index') AND name LIKE 'sqlite\\_%' ESCAPE '\\')";

QString kindWord(const QString& type)
{
    static const QMap<QString, QString> words = {{QStringLiteral("table"), QStringLiteral("테이블")},
                                                 {QStringLiteral("index"), QStringLiteral("인덱스")},
                                                 {QStringLiteral("view"), QStringLiteral("뷰")},
                                                 {QStringLiteral("trigger"), QStringLiteral("트리거")}};
    return words.value(type, type);
}

// "type lower(name) lower(table)": SQLite's names are blind to letter case.
QString objectKey(const QStringList& row)
{
    return row.mid(0, 3).join(u' ');
}

// A table's columns, lower case to as written. Asked only of tables the
// program makes, so the name is one of its own.
QMap<QString, QString> columnsOf(store::Connection& connection, const QString& table)
{
    QMap<QString, QString> columns;
    for (const QStringList& row :
         connection.selectNative(QStringLiteral("SELECT lower(name), name FROM pragma_table_info('%1')").arg(table)))
        columns.insert(row.value(0), row.value(1));
    return columns;
}

} // namespace

QStringList foreignSchemaObjects(const QString& sqliteFile)
{
    // The program's own objects, made by its own code in a scratch file.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw core::DbError(QStringLiteral("임시 폴더를 만들 수 없습니다: %1").arg(scratch.errorString()));
    auto own = store::Connection::openSqlite(scratch.filePath(QStringLiteral("schema.db")));
    createSchema(*own);
    QMap<QString, QMap<QString, QString>> ownObjects; // with a table's columns
    for (const QStringList& row : own->selectNative(QLatin1String(kObjects)))
        ownObjects.insert(objectKey(row), row[0] == QLatin1String("table") ? columnsOf(*own, row[1]) : QMap<QString, QString>());

    auto file = store::Connection::openSqlite(sqliteFile, true);
    QStringList foreign;
    for (const QStringList& row : file->selectNative(QLatin1String(kObjects))) {
        const auto mine = ownObjects.constFind(objectKey(row));
        if (mine == ownObjects.cend()) {
            // An index or trigger with the table it belongs to.
            foreign << (row[1] == row[2] ? QStringLiteral("%1 %2").arg(kindWord(row[0]), row[3])
                                         : QStringLiteral("%1 %2 (%3)").arg(kindWord(row[0]), row[3], row[4]));
            continue;
        }
        if (row[0] != QLatin1String("table"))
            continue;
        const QMap<QString, QString> columns = columnsOf(*file, row[1]);
        for (auto column = columns.cbegin(); column != columns.cend(); ++column)
            if (!mine->contains(column.key()))
                foreign << QStringLiteral("열 %1.%2").arg(row[3], column.value());
    }
    return foreign;
}

} // namespace schema
