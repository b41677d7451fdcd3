#pragma once

#include "store/connection.h"

#include <QList>
#include <QString>

namespace admin {

// A table's columns as the data source holds them, in their order.
struct TableColumn {
    QString name;   // as the engine spells it
    int width = 0;  // of a text column (CHAR/VARCHAR n); 0 for any other
    bool text = true;
};

// Throws AppError when the table is not there.
QList<TableColumn> tableColumns(store::Connection& connection, const QString& table);

} // namespace admin
