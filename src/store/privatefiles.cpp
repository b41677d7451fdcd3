#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
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

} // namespace store
