#include "privatefiles.h"

#include "core/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

bool makePrivateFolder(const QString& path)
{
    const QString parent = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    ::mkdir(native(path).constData(), 0700); // fails harmlessly when it exists
    struct stat info {};
    if (::stat(native(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    if (info.st_uid == ::geteuid() && (info.st_mode & 077) != 0)
        ::chmod(native(path).constData(), info.st_mode & 0700);
    return true;
}

bool createPrivateFile(const QString& path)
{
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST;
    ::close(fd);
    return true;
}

void keepPrivate(const QString& path, bool ownerWrites)
{
    struct stat info {};
    if (::lstat(native(path).constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return;
    mode_t mode = info.st_mode & 0700;
    if (ownerWrites)
        mode |= S_IRUSR | S_IWUSR;
    if (mode != (info.st_mode & 07777))
        ::chmod(native(path).constData(), mode);
}

QStringList embeddedFiles(const QString& databasePath)
{
    return {databasePath, databasePath + QStringLiteral("-wal"), databasePath + QStringLiteral("-shm"),
            databasePath + QStringLiteral("-journal")};
}

void refuseForeignName(const QString& path)
{
    struct stat info {};
    if (::lstat(native(path).constData(), &info) != 0)
        return; // not there
    if (S_ISLNK(info.st_mode))
        throw core::AppError(QStringLiteral("%1은(는) 심볼릭 링크입니다. 링크를 따라 쓰지 않습니다 (다른 이름을 주십시오).").arg(path));
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        throw core::AppError(QStringLiteral("%1은(는) 이 사용자의 파일이 아닙니다. 그 이름으로 쓰지 않습니다 (다른 이름을 주십시오).").arg(path));
}

PrivateWorkFolder::PrivateWorkFolder(const QString& besideFile)
{
    const QString folder = QFileInfo(besideFile).absolutePath();
    QByteArray name = native(QDir(folder).filePath(QStringLiteral(".voucher-XXXXXX")));
    if (!::mkdtemp(name.data())) // 0700, a new name
        throw core::AppError(QStringLiteral("%1에 파일을 만들 수 없습니다: %2").arg(folder, core::systemErrorText()));
    m_path = QFile::decodeName(name);
}

PrivateWorkFolder::~PrivateWorkFolder()
{
    QDir(m_path).removeRecursively();
}

QString PrivateWorkFolder::filePath(const QString& name) const
{
    return QDir(m_path).filePath(name);
}

void moveIntoPlace(const QString& made, const QString& target, ExistingName existing)
{
    refuseForeignName(target);
    if (existing == ExistingName::Refuse) {
        if (::renameat2(AT_FDCWD, native(made).constData(), AT_FDCWD, native(target).constData(), RENAME_NOREPLACE) == 0)
            return;
        // A network folder may not know the flag: then the name is checked just before.
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != EEXIST)
            throw core::AppError(QStringLiteral("%1(으)로 옮길 수 없습니다: %2").arg(target, core::systemErrorText()));
        struct stat info {};
        if (errno == EEXIST || ::lstat(native(target).constData(), &info) == 0)
            throw core::AppError(QStringLiteral("파일이 이미 있습니다: %1 (다른 이름을 주십시오)").arg(target));
    }
    if (::rename(native(made).constData(), native(target).constData()) != 0)
        throw core::AppError(QStringLiteral("%1(으)로 옮길 수 없습니다: %2").arg(target, core::systemErrorText()));
}

void syncFile(const QString& path)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        throw core::AppError(QStringLiteral("%1을(를) 디스크에 쓰지 못했습니다: %2").arg(path, core::systemErrorText()));
}

void writePrivateFile(const QString& target, const QByteArray& bytes, ExistingName existing)
{
    refuseForeignName(target); // before any work
    const PrivateWorkFolder work(target);
    QFile part(work.filePath(QStringLiteral("part")));
    if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner)
        || part.write(bytes) != bytes.size() || !part.flush() || ::fsync(part.handle()) != 0)
        throw core::AppError(QStringLiteral("파일을 쓸 수 없습니다: %1 (%2)").arg(target, part.errorString()));
    part.close();
    moveIntoPlace(part.fileName(), target, existing);
}

} // namespace store
