#include "odbcsettings.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <odbcinst.h>

namespace admin {

QString odbcSetting(const QString& section, const char* key, bool driverSection)
{
    char value[1024] = {};
    const QByteArray name = section.toLocal8Bit();
    SQLGetPrivateProfileString(name.constData(), key, "", value, int(sizeof value),
                               driverSection ? "ODBCINST.INI" : "ODBC.INI");
    return QString::fromLocal8Bit(value).trimmed();
}

} // namespace admin
