#include "backupplacecommand.h"

#include "sqlutil.h"

#include "core/errors.h"
#include "store/backupstate.h"
#include "store/dailybackups.h"
#include "store/privatefiles.h"

#include <QDir>
#include <QFileInfo>

namespace admin {

int runBackupPlace(const TargetChoice& choice, const QString& folder)
{
    const QString file = sqliteFileOf(choice);
    if (file.isEmpty())
        throw core::AppError(QStringLiteral("서버 데이터 원본은 서버의 도구로 백업하십시오 (예: pg_dump). 백업 장소는 SQLite 파일의 것입니다."));
    say(QStringLiteral("데이터 원본: SQLite 파일 %1").arg(file));
    if (folder.isEmpty()) {
        const QString was = store::secondBackupPlace(file);
        store::setSecondBackupPlace(file, {});
        say(was.isEmpty() ? QStringLiteral("두 번째 백업 장소가 정해져 있지 않습니다. 바꾼 것이 없습니다.")
                          : QStringLiteral("두 번째 백업 장소 %1을(를) 지웠습니다 (그곳의 백업은 그대로 둡니다).").arg(was));
        return 0;
    }
    const QFileInfo info(folder);
    if (!info.isDir())
        throw core::AppError(QStringLiteral("폴더가 없습니다: %1 (디스크나 네트워크 폴더를 연결한 뒤에 주십시오)").arg(folder));
    const QString place = info.absoluteFilePath();
    if (place == store::dailyBackupFolder(file))
        throw core::AppError(QStringLiteral("%1은(는) 데이터 파일 옆의 백업 폴더입니다. 다른 디스크나 네트워크 폴더를 주십시오.").arg(place));
    { // a folder the program cannot make its copies in is refused now, not at the first copy
        const store::PrivateWorkFolder tried(QDir(place).filePath(QStringLiteral("copy")));
    }
    store::setSecondBackupPlace(file, place);
    say(QStringLiteral("두 번째 백업 장소를 %1(으)로 정했습니다: 날마다의 백업이 이곳에도 쌓입니다 (7일).").arg(place));
    return 0;
}

} // namespace admin
