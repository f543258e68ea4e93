#include "gamedb/FileIo.h"

#include "gamedb/GameError.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace gamedb {
namespace {

const IoFaults* g_faults = nullptr;

[[noreturn]] void fail(int err, const QString& path)
{
    // A missing folder is reported as a bad name, a missing file in an existing folder as not found.
    if (err == ENOENT && !QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw GameError(ioErrorText(ENOTDIR));
    throw GameError(ioErrorText(err));
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

int openChecked(const QString& path, int flags, mode_t mode = 0)
{
    if (g_faults && g_faults->openErrno)
        fail(g_faults->openErrno, path);
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        fail(errno, path);
    return fd;
}

void writeAll(int fd, const std::uint8_t* p, std::size_t n, const QString& path)
{
    long long written = 0;
    while (n > 0) {
        std::size_t chunk = n;
        if (g_faults && g_faults->writeLimit >= 0) {
            const long long room = g_faults->writeLimit - written;
            if (room <= 0)
                throw GameError(kDiskFull);
            chunk = std::min<std::size_t>(chunk, static_cast<std::size_t>(room));
        }
        const ssize_t r = ::write(fd, p, chunk);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, path);
        }
        if (r == 0)
            throw GameError(kDiskFull);
        p += r;
        n -= static_cast<std::size_t>(r);
        written += r;
    }
}

} // namespace

void setIoFaults(const IoFaults* faults)
{
    g_faults = faults;
}

QString gameFilePath(const QString& folder, const QString& name)
{
    const QString exact = folder + QDir::separator() + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(folder.isEmpty() ? QDir::rootPath() : folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + QDir::separator() + entry;
    }
    return exact;
}

bool gameFileExists(const QString& folder, const QString& name)
{
    return QFileInfo(gameFilePath(folder, name)).isFile();
}

GameFileReader::GameFileReader(const QString& path, Access access)
    : path_(path), fd_(openChecked(path, access == Access::ReadWrite ? O_RDWR : O_RDONLY))
{
}

GameFileReader::~GameFileReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

Bytes GameFileReader::read(std::size_t n)
{
    Bytes data(n);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd_, data.data() + got, n - got);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, path_);
        }
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    data.resize(got);
    return data;
}

void GameFileReader::close()
{
    if (::close(std::exchange(fd_, -1)) != 0)
        fail(errno, path_);
}

Bytes readGameFile(const QString& path, long long atMost, Access access)
{
    GameFileReader reader(path, access);
    struct stat st {};
    if (::fstat(reader.fd_, &st) != 0)
        fail(errno, path);
    long long size = st.st_size;
    if (atMost >= 0 && size > atMost)
        size = atMost;
    Bytes data = reader.read(static_cast<std::size_t>(size));
    reader.close();
    return data;
}

void writeGameFile(const QString& path, std::span<const std::uint8_t> data)
{
    // Write through a link to the file it names, so the link itself survives the rename.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    const QFileInfo targetInfo(target);

    mode_t mode = 0644;
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
        // The rename would replace a file the user made read-only, since only the folder's
        // permissions bind it. A file without any write bit is read-only also for root.
        if (S_ISREG(st.st_mode) &&
            ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(QFile::encodeName(target).constData(), W_OK) != 0))
            fail(EACCES, target);
    }

    QByteArray tmpl = QFile::encodeName(targetInfo.absolutePath() + QDir::separator() + QLatin1Char('.') +
                                        targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    if (g_faults && g_faults->openErrno)
        fail(g_faults->openErrno, target);
    Fd fd(::mkstemp(tmpl.data()));
    if (fd.get() < 0)
        fail(errno, target);
    const QString tmpPath = QFile::decodeName(tmpl);
    try {
        writeAll(fd.get(), data.data(), data.size(), target);
        if (::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0)
            fail(errno, target);
        if (::close(fd.release()) != 0)
            fail(errno, target);
        if (g_faults && g_faults->renameErrno)
            fail(g_faults->renameErrno, target);
        if (::rename(tmpl.constData(), QFile::encodeName(target).constData()) != 0)
            fail(errno, target);
    } catch (...) {
        ::unlink(tmpl.constData());
        throw;
    }
}

} // namespace gamedb
