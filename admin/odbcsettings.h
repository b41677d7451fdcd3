#pragma once

#include <QString>

namespace admin {

// One setting of a registered ODBC data source as the driver manager reads
// it (user and system odbc.ini), or of a driver (odbcinst.ini) when
// driverSection is true; empty when unset.
QString odbcSetting(const QString& section, const char* key, bool driverSection = false);

} // namespace admin
