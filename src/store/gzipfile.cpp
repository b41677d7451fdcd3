#include "gzipfile.h"

#include "core/errors.h"

#include <QFile>
#include <zlib.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace store {

namespace {

constexpr int kChunk = 1 << 20;
// Fast compression: the copy at close has a few seconds; SQLite's pages
// shrink well even so.
constexpr const char* kWriteMode = "wb1";

// A descriptor of a new file of the user's own, never through a link.
int createNew(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        throw core::AppError(QStringLiteral("파일을 만들 수 없습니다: %1 (%2)").arg(path, core::systemErrorText()));
    return fd;
}

void writeAll(int fd, const char* data, qint64 size, const QString& path)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw core::AppError(QStringLiteral("%1에 쓸 수 없습니다: %2").arg(path, core::systemErrorText()));
        data += written;
        size -= written;
    }
}

} // namespace

void gzipFile(const QString& from, const QString& to, const std::atomic<bool>* cancel)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw core::AppError(QStringLiteral("%1을(를) 읽을 수 없습니다: %2").arg(from, in.errorString()));
    const int fd = createNew(to);
    gzFile out = ::gzdopen(::dup(fd), kWriteMode);
    bool whole = out != nullptr;
    QByteArray chunk(kChunk, Qt::Uninitialized);
    while (whole) {
        if (cancel && cancel->load())
            whole = false;
        const qint64 read = whole ? in.read(chunk.data(), chunk.size()) : -1;
        if (read <= 0) {
            whole = whole && read == 0;
            break;
        }
        whole = ::gzwrite(out, chunk.constData(), unsigned(read)) == read;
    }
    if (out && ::gzclose(out) != Z_OK)
        whole = false;
    whole = whole && ::fsync(fd) == 0;
    ::close(fd);
    if (!whole) {
        QFile::remove(to);
        throw core::AppError(cancel && cancel->load() ? QStringLiteral("백업을 그만두었습니다.")
                                                : QStringLiteral("%1을(를) 압축하지 못했습니다: %2").arg(to, core::systemErrorText()));
    }
}

bool isGzipFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == QByteArray("\x1f\x8b", 2);
}

void gunzipFile(const QString& from, const QString& to)
{
    gzFile in = ::gzopen(QFile::encodeName(from).constData(), "rb");
    if (!in)
        throw core::AppError(QStringLiteral("%1을(를) 읽을 수 없습니다: %2").arg(from, core::systemErrorText()));
    const int fd = createNew(to);
    QByteArray chunk(kChunk, Qt::Uninitialized);
    QString failure;
    try {
        for (;;) {
            const int read = ::gzread(in, chunk.data(), unsigned(chunk.size()));
            if (read < 0) {
                int code = Z_OK;
                failure = QString::fromUtf8(::gzerror(in, &code));
                break;
            }
            if (read == 0)
                break;
            writeAll(fd, chunk.constData(), read, to);
        }
        // A file cut short ends without gzip's closing check.
        if (failure.isEmpty() && ::gzclose_r(in) != Z_OK)
            failure = QStringLiteral("압축 파일이 끝까지 온전하지 않습니다");
        else if (!failure.isEmpty())
            ::gzclose_r(in);
    } catch (const core::AppError&) {
        ::gzclose_r(in);
        ::close(fd);
        QFile::remove(to);
        throw;
    }
    ::close(fd);
    if (!failure.isEmpty()) {
        QFile::remove(to);
        throw core::AppError(QStringLiteral("%1을(를) 풀지 못했습니다: %2").arg(from, failure));
    }
}

} // namespace store
