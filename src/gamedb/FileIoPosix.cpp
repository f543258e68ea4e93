#include "gamedb/FileIo.h"

#include "gamedb/FileIoDetail.h"
#include "gamedb/GameError.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <utility>

namespace gamedb {
namespace {

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
    void reset(int fd)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

std::string parentOf(const std::string& native)
{
    const auto slash = native.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : native.substr(0, slash);
}

std::string baseOf(const std::string& native)
{
    const auto slash = native.rfind('/');
    return slash == std::string::npos ? native : native.substr(slash + 1);
}

bool statOf(const std::string& native, struct stat& st)
{
    return ::stat(native.c_str(), &st) == 0;
}

bool isDir(const std::string& native)
{
    struct stat st {};
    return statOf(native, st) && S_ISDIR(st.st_mode);
}

[[noreturn]] void fail(int err, const QString& path)
{
    // A missing folder is reported as a bad name, a missing file in an existing folder as not found.
    if (err == ENOENT && !isDir(parentOf(nativePath(path))))
        throw GameError(ioErrorText(ENOTDIR));
    throw GameError(ioErrorText(err));
}

int openChecked(const QString& path, int flags, mode_t mode = 0)
{
    if (detail::faults() && detail::faults()->openErrno)
        fail(detail::faults()->openErrno, path);
    const std::string native = nativePath(path);
    int fd;
    do {
        fd = ::open(native.c_str(), flags | O_CLOEXEC, mode);
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
        if (detail::faults() && detail::faults()->writeLimit >= 0) {
            const long long room = detail::faults()->writeLimit - written;
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

// Reads until the end or until max bytes are in; false when the end was not reached.
bool readUpTo(int fd, Bytes& data, std::size_t max, const QString& path)
{
    for (;;) {
        const std::size_t got = data.size();
        if (got >= max) {
            // One byte more tells a file of exactly max bytes from a longer one.
            std::uint8_t probe;
            ssize_t r;
            do {
                r = ::read(fd, &probe, 1);
            } while (r < 0 && errno == EINTR);
            if (r < 0)
                fail(errno, path);
            return r == 0;
        }
        data.resize(std::min(max, std::max<std::size_t>(got * 2, got + 65536)));
        const ssize_t r = ::read(fd, data.data() + got, data.size() - got);
        if (r < 0) {
            data.resize(got);
            if (errno == EINTR)
                continue;
            fail(errno, path);
        }
        data.resize(got + static_cast<std::size_t>(r));
        if (r == 0)
            return true;
    }
}

// The descriptor a path names when it is one the program inherited, or -1.
int inheritedDescriptor(const std::string& native)
{
    if (native == "/dev/stdin")
        return 0;
    if (native == "/dev/stdout")
        return 1;
    if (native == "/dev/stderr")
        return 2;
    for (const std::string_view prefix : {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/")}) {
        if (native.size() > prefix.size() && native.starts_with(prefix)) {
            const std::string digits = native.substr(prefix.size());
            if (digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos)
                return -1;
            return std::atoi(digits.c_str());
        }
    }
    return -1;
}

// The file a symbolic link leads to; the path itself when it is no link.
std::string followLinks(const std::string& native)
{
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return native;
    if (char* real = ::realpath(native.c_str(), nullptr)) {
        std::string out(real);
        std::free(real);
        return out;
    }
    // A link to a file that does not exist yet: the save creates the file it names.
    std::array<char, PATH_MAX> buf{};
    const ssize_t n = ::readlink(native.c_str(), buf.data(), buf.size() - 1);
    if (n <= 0)
        return native;
    const std::string target(buf.data(), static_cast<std::size_t>(n));
    return target.starts_with('/') ? target : parentOf(native) + "/" + target;
}

std::string temporaryName(const std::string& folder, const std::string& name)
{
    return folder + "/." + name + "." + detail::temporarySuffix();
}

// Writes the complete file with no name, then gives it its temporary name and renames that over
// the target: a process killed while writing leaves nothing in the folder. Where the file system
// cannot make a nameless file, a named temporary file is written instead.
void replaceFile(const std::string& target, const std::string& folder, mode_t mode, const struct stat* old,
                 std::span<const std::uint8_t> data, const QString& path)
{
    if (detail::faults() && detail::faults()->openErrno)
        fail(detail::faults()->openErrno, path);
    std::string tmpPath;
    Fd fd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (fd.get() < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            fail(errno, path);
        std::string tmpl = folder + "/." + baseOf(target) + ".XXXXXX";
        fd.reset(::mkstemp(tmpl.data()));
        if (fd.get() < 0)
            fail(errno, path);
        tmpPath = tmpl;
    }
    try {
        writeAll(fd.get(), data.data(), data.size(), path);
        if (::fchmod(fd.get(), mode) != 0)
            fail(errno, path);
        // The owner is kept where the system lets us (root, or our own file); a group we belong to
        // is kept even where the owner cannot be.
        if (old && ::fchown(fd.get(), old->st_uid, old->st_gid) != 0)
            (void)::fchown(fd.get(), static_cast<uid_t>(-1), old->st_gid);
        if (::fsync(fd.get()) != 0)
            fail(errno, path);
        if (tmpPath.empty()) {
            const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
            for (int attempt = 0;; ++attempt) {
                std::string name = temporaryName(folder, baseOf(target));
                if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                    tmpPath = std::move(name);
                    break;
                }
                if (errno != EEXIST || attempt > 100)
                    fail(errno, path);
            }
        }
        if (::close(fd.release()) != 0)
            fail(errno, path);
        if (detail::faults() && detail::faults()->renameErrno)
            fail(detail::faults()->renameErrno, path);
        if (::rename(tmpPath.c_str(), target.c_str()) != 0)
            fail(errno, path);
    } catch (...) {
        if (!tmpPath.empty())
            ::unlink(tmpPath.c_str());
        throw;
    }
    // The new name itself must reach the disk, or a power cut could bring the old file back.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        (void)::fsync(dir.get());
}

} // namespace

QStringList commandLineArguments(int argc, char* argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << pathFromNative(argv[i]); // a name that is not UTF-8 still names its file
    return args;
}

QString folderPath(const QString& folder)
{
    return folder.isEmpty() ? QStringLiteral("/") : folder;
}

void checkListable(const QString& folder)
{
    DIR* d = ::opendir(nativePath(folder).c_str());
    if (!d) {
        const int err = errno;
        throw GameError(ioErrorText(err == ENOENT ? ENOTDIR : err));
    }
    ::closedir(d);
}

QStringList volumeRoots()
{
    // The root is always offered, also where the mount table cannot be read (containers, chroots).
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() && QFileInfo(root).isDir() && !roots.contains(root))
            roots << root;
    }
    return roots;
}

QString gameFilePath(const QString& folder, const QString& name)
{
    const QString exact = folder + QLatin1Char('/') + name;
    struct stat st {};
    if (::lstat(nativePath(exact).c_str(), &st) == 0)
        return exact;
    const std::string dirName = folder.isEmpty() ? std::string("/") : nativePath(folder);
    DIR* dir = ::opendir(dirName.c_str());
    if (!dir)
        return exact;
    QString found;
    while (const dirent* e = ::readdir(dir)) {
        const QString entry = pathFromNative(e->d_name);
        if (entry.compare(name, Qt::CaseInsensitive) == 0 && !isDir(dirName + "/" + e->d_name)) {
            found = folder + QLatin1Char('/') + entry;
            break;
        }
    }
    ::closedir(dir);
    return found.isEmpty() ? exact : found;
}

bool gameFileExists(const QString& folder, const QString& name)
{
    struct stat st {};
    return statOf(nativePath(gameFilePath(folder, name)), st) && S_ISREG(st.st_mode);
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {
    }, sb{};
    return statOf(nativePath(a), sa) && statOf(nativePath(b), sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool sameFolder(const QString& a, const QString& b)
{
    struct stat sa {
    }, sb{};
    const std::string na = a.isEmpty() ? "/" : nativePath(a);
    const std::string nb = b.isEmpty() ? "/" : nativePath(b);
    return statOf(na, sa) && statOf(nb, sb) && S_ISDIR(sa.st_mode) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString canonicalFolder(const QString& folder)
{
    const std::string native = folder.isEmpty() ? "/" : nativePath(folder);
    if (char* real = ::realpath(native.c_str(), nullptr)) {
        const QString out = pathFromNative(real);
        std::free(real);
        return out;
    }
    return QDir::cleanPath(QDir(pathFromNative(native)).absolutePath());
}

QString folderOf(const QString& path)
{
    return pathFromNative(parentOf(nativePath(path)));
}

QString nameOf(const QString& path)
{
    return pathFromNative(baseOf(nativePath(path)));
}

bool isStream(const QString& path)
{
    const std::string native = nativePath(path);
    if (inheritedDescriptor(native) >= 0)
        return true;
    struct stat st {};
    return statOf(native, st) && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

GameFileReader::GameFileReader(const QString& path, Access access)
    : path_(path), handle_(openChecked(path, access == Access::ReadWrite ? O_RDWR : O_RDONLY))
{
}

GameFileReader::~GameFileReader()
{
    if (handle_ >= 0)
        ::close(handle_);
}

Bytes GameFileReader::read(std::size_t n)
{
    Bytes data(n);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(handle_, data.data() + got, n - got);
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
    if (::close(std::exchange(handle_, -1)) != 0)
        fail(errno, path_);
}

Bytes readGameFile(const QString& path, long long atMost, Access access)
{
    GameFileReader reader(path, access);
    struct stat st {};
    if (::fstat(reader.handle_, &st) != 0)
        fail(errno, path);
    long long size = st.st_size;
    if (atMost >= 0 && size > atMost)
        size = atMost;
    Bytes data = reader.read(static_cast<std::size_t>(size));
    reader.close();
    return data;
}

Bytes readInputFile(const QString& path, std::size_t limit, const std::string& tooLarge)
{
    const std::string native = nativePath(path);
    const int inherited = inheritedDescriptor(native);
    // An inherited descriptor is read where it stands, not opened again from its start.
    Fd fd(inherited >= 0 ? ::fcntl(inherited, F_DUPFD_CLOEXEC, 3) : openChecked(path, O_RDONLY));
    if (fd.get() < 0)
        fail(errno == EBADF ? ENOENT : errno, path);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        fail(errno, path);
    if (S_ISDIR(st.st_mode))
        fail(EISDIR, path);
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > limit)
        throw GameError(tooLarge);
    Bytes data;
    if (!readUpTo(fd.get(), data, limit, path))
        throw GameError(tooLarge);
    if (::close(fd.release()) != 0)
        fail(errno, path);
    return data;
}

void writeGameFile(const QString& path, std::span<const std::uint8_t> data)
{
    // Write through a link to the file it names, so the link itself survives the rename.
    const std::string target = followLinks(nativePath(path));

    mode_t mode = 0644;
    struct stat st {};
    const bool exists = statOf(target, st);
    if (exists) {
        mode = st.st_mode & 07777;
        // The rename would replace a file the user made read-only, since only the folder's
        // permissions bind it. A file without any write bit is read-only also for root.
        if (S_ISREG(st.st_mode) && ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0))
            fail(EACCES, path);
        if (S_ISDIR(st.st_mode))
            fail(EISDIR, path);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    replaceFile(target, parentOf(target), mode, exists ? &st : nullptr, data, path);
}

void writeOutputFile(const QString& path, std::span<const std::uint8_t> data)
{
    if (!isStream(path)) {
        writeGameFile(path, data);
        return;
    }
    const std::string native = nativePath(path);
    const int inherited = inheritedDescriptor(native);
    Fd fd(inherited >= 0 ? ::fcntl(inherited, F_DUPFD_CLOEXEC, 3) : openChecked(path, O_WRONLY));
    if (fd.get() < 0)
        fail(errno == EBADF ? ENOENT : errno, path);
    writeAll(fd.get(), data.data(), data.size(), path);
    if (::close(fd.release()) != 0)
        fail(errno, path);
}

FileStamp stampFile(const QString& path)
{
    struct stat st {};
    if (!statOf(nativePath(path), st) && errno == ENOENT)
        return {};
    return stampOf(readGameFile(path, -1, Access::ReadOnly));
}

FolderLock::FolderLock(const QString& folder, std::chrono::milliseconds wait) : handle_(-1)
{
    const std::string native = folder.isEmpty() ? std::string("/") : nativePath(folder);
    // The folder itself is locked: nothing is added to the user's game folder.
    Fd fd(::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0)
        throw GameError(ioErrorText(errno == ENOENT ? ENOTDIR : errno));
    const auto until = std::chrono::steady_clock::now() + wait;
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        // A file system without locks (some network shares): nothing to wait for.
        if (errno != EWOULDBLOCK)
            return;
        if (std::chrono::steady_clock::now() >= until) {
            throw GameError(detail::lockTimeoutText(wait));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    handle_ = fd.release();

    if (DIR* dir = ::opendir(native.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            for (const std::string_view name : gameFileNames()) {
                if (detail::isTemporaryOf(e->d_name, name))
                    (void)::unlinkat(::dirfd(dir), e->d_name, 0);
            }
        }
        ::closedir(dir);
    }
}

FolderLock::~FolderLock()
{
    if (handle_ >= 0)
        ::close(handle_); // releases the lock
}

} // namespace gamedb
