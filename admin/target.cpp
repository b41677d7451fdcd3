#include "target.h"

#include "core/errors.h"
#include "schema/datasource.h"
#include "store/privatefiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

std::unique_ptr<store::Connection> openSqliteFile(const QString& path, bool* created)
{
    *created = !QFileInfo::exists(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!store::makePrivateFolder(folder))
        throw AppError(QStringLiteral("폴더를 만들 수 없습니다: %1").arg(folder));
    if (!store::createPrivateFile(path))
        throw AppError(QStringLiteral("파일을 만들 수 없습니다: %1").arg(path));
    return store::Connection::openSqlite(path);
}

} // namespace

OpenedTarget openTarget(const TargetChoice& choice)
{
    OpenedTarget target;
    const QString dsn = QString::fromLatin1(store::kDataSourceName);
    if (!choice.sqlitePath.isEmpty()) {
        target.connection = openSqliteFile(choice.sqlitePath, &target.createdFile);
    } else if (choice.odbc || store::odbcDataSourceExists(dsn)) {
        if (!store::odbcDataSourceExists(dsn))
            throw AppError(QStringLiteral("ODBC 데이터 원본 %1이(가) 등록되어 있지 않습니다.").arg(dsn));
        target.connection = store::Connection::openOdbc(dsn);
    } else {
        // The program's own fallback: the SQLite file in the user's data folder.
        target.connection = openSqliteFile(store::defaultSqlitePath(), &target.createdFile);
    }
    return target;
}
