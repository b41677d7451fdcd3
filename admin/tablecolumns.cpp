#include "tablecolumns.h"

#include "core/errors.h"

#include <QRegularExpression>

namespace admin {

QList<TableColumn> tableColumns(store::Connection& connection, const QString& table)
{
    QList<TableColumn> columns;
    if (connection.engine() == core::Engine::SQLite) {
        // Declared types read "CHAR(12)", "DOUBLE PRECISION", "TIMESTAMP".
        static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
        for (const QStringList& row : connection.selectNative(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
            const QString type = row.value(2).toUpper();
            const bool text = type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("TEXT"));
            columns.append({row.value(1), text ? width.match(type).captured(1).toInt() : 0, text});
        }
    } else {
        const QString where = connection.engine() == core::Engine::PostgreSQL
                                  ? QStringLiteral("table_schema = current_schema() AND lower(table_name) = lower('%1')")
                                  : QStringLiteral("TABLE_NAME = '%1'");
        for (const QStringList& row : connection.selectNative(
                 QStringLiteral("SELECT column_name, character_maximum_length, data_type FROM information_schema.columns "
                                "WHERE %1 ORDER BY ordinal_position")
                     .arg(where.arg(table)))) {
            const bool text = row.value(2).contains(QLatin1String("char"), Qt::CaseInsensitive)
                              || row.value(2).compare(QLatin1String("text"), Qt::CaseInsensitive) == 0;
            columns.append({row.value(0), text ? row.value(1).toInt() : 0, text});
        }
    }
    if (columns.isEmpty())
        throw core::AppError(QStringLiteral("테이블 %1이(가) 없습니다. 먼저 init을 실행하십시오.").arg(table));
    return columns;
}

} // namespace admin
