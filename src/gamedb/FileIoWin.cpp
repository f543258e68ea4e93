// The Windows branch of the file access: wide-character paths, a flushed temporary file replaced
// over the original, the read-only attribute, a lock file per game folder, and Windows error codes
// turned into the texts the POSIX branch gives.
#include "gamedb/FileIo.h"

#include "gamedb/FileIoDetail.h"
#include "gamedb/GameError.h"

#include <windows.h>

#include <shellapi.h>

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <thread>

#include <algorithm>
#include <utility>

namespace gamedb {
namespace {

std::string windowsErrorText(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return kInvalidFilename;
    case ERROR_TOO_MANY_OPEN_FILES:
        return kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_FILE_READ_ONLY:
        return kAccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return kFileInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case 1295: // ERROR_DISK_QUOTA_EXCEEDED, missing from mingw's headers
        return kDiskFull;
    default:
        return "I/O error " + std::to_string(code);
    }
}

[[noreturn]] void fail(DWORD code)
{
    throw GameError(windowsErrorText(code));
}

[[noreturn]] void failLast()
{
    fail(GetLastError());
}

// The test seam speaks error numbers, as on every system.
void injectedOpenFault()
{
    if (detail::faults() && detail::faults()->openErrno)
        throw GameError(ioErrorText(detail::faults()->openErrno));
}

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle()
    {
        if (valid())
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE release() { return std::exchange(h_, INVALID_HANDLE_VALUE); }
    void reset(HANDLE h = INVALID_HANDLE_VALUE)
    {
        if (valid())
            CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_;
};

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

// A path as the system takes it. wchar_t is UTF-16 here, so every QString, lone surrogates
// included, is a name as it stands.
std::wstring wide(const QString& path)
{
    return folderPath(path).toStdWString();
}

QString fromWide(const wchar_t* s)
{
    return QString::fromWCharArray(s);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

DWORD attributesOf(const QString& path)
{
    return GetFileAttributesW(wide(path).c_str());
}

HANDLE openChecked(const QString& path, DWORD access, DWORD share, DWORD disposition,
                   DWORD flags = FILE_ATTRIBUTE_NORMAL)
{
    injectedOpenFault();
    // Our own check: an administrator (and Wine as root) may open a read-only file for writing.
    const DWORD attrs = attributesOf(path);
    if ((access & GENERIC_WRITE) && attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
        fail(ERROR_ACCESS_DENIED);
    const HANDLE h = CreateFileW(wide(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        failLast();
    return h;
}

bool isDirectory(const QString& path)
{
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void writeAll(HANDLE h, const std::uint8_t* p, std::size_t n)
{
    long long written = 0;
    while (n > 0) {
        std::size_t chunk = std::min<std::size_t>(n, 1u << 30);
        if (detail::faults() && detail::faults()->writeLimit >= 0) {
            const long long room = detail::faults()->writeLimit - written;
            if (room <= 0)
                throw GameError(kDiskFull);
            chunk = std::min<std::size_t>(chunk, static_cast<std::size_t>(room));
        }
        DWORD done = 0;
        if (!WriteFile(h, p, static_cast<DWORD>(chunk), &done, nullptr))
            failLast();
        if (done == 0)
            throw GameError(kDiskFull);
        p += done;
        n -= done;
        written += done;
    }
}

// Reads up to n bytes; fewer only at the end. A pipe whose writer has gone has ended.
std::size_t readSome(HANDLE h, std::uint8_t* p, std::size_t n)
{
    std::size_t got = 0;
    while (got < n) {
        DWORD done = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n - got, 1u << 30));
        if (!ReadFile(h, p + got, chunk, &done, nullptr)) {
            const DWORD err = GetLastError();
            if (err == ERROR_BROKEN_PIPE || err == ERROR_HANDLE_EOF)
                break;
            fail(err);
        }
        if (done == 0)
            break;
        got += done;
    }
    return got;
}

// Console and the other DOS device names, as a path's last part ("CON", "nul", "COM1").
bool isDeviceName(const QString& path)
{
    QString last = path.mid(std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/'))) + 1);
    last = last.left(last.indexOf(QLatin1Char('.')) >= 0 ? last.indexOf(QLatin1Char('.')) : last.size())
               .trimmed()
               .toUpper();
    static const QStringList kNames{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    if (kNames.contains(last))
        return true;
    return last.size() == 4 && (last.startsWith(QLatin1String("COM")) || last.startsWith(QLatin1String("LPT"))) &&
           last[3] >= QLatin1Char('1') && last[3] <= QLatin1Char('9');
}

QString temporaryPath(const QString& target)
{
    return folderOf(target) + QLatin1Char('\\') + QLatin1Char('.') + nameOf(target) + QLatin1Char('.') +
           QString::fromLatin1(detail::temporarySuffix());
}

// Writes data to a new temporary file beside target and flushes it; returns its path.
QString writeTemporary(const QString& target, std::span<const std::uint8_t> data)
{
    injectedOpenFault();
    QString tmp;
    Handle h;
    for (int attempt = 0; !h.valid(); ++attempt) {
        tmp = temporaryPath(target);
        h.reset(CreateFileW(wide(tmp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.valid() && (GetLastError() != ERROR_FILE_EXISTS || attempt > 100))
            failLast();
    }
    try {
        writeAll(h.get(), data.data(), data.size());
        if (!FlushFileBuffers(h.get()))
            failLast();
        if (!CloseHandle(h.release()))
            failLast();
    } catch (...) {
        h.reset();
        DeleteFileW(wide(tmp).c_str());
        throw;
    }
    return tmp;
}

} // namespace

QStringList commandLineArguments(int, char*[])
{
    // Bytes in, bytes out: a sheet piped through cmd or PowerShell keeps its line ends.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    QStringList args;
    int n = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &n)) {
        for (int i = 0; i < n; ++i)
            args << fromWide(argv[i]);
        LocalFree(argv);
    }
    return args;
}

QString folderPath(const QString& folder)
{
    if (folder.isEmpty()) {
        // The root of the current drive, by its letter.
        wchar_t root[MAX_PATH];
        const DWORD n = GetFullPathNameW(L"\\", MAX_PATH, root, nullptr);
        return n > 0 && n < MAX_PATH ? fromWide(root) : QStringLiteral("\\");
    }
    if (folder.size() == 2 && folder[1] == QLatin1Char(':'))
        return folder + QLatin1Char('\\');
    return folder;
}

void checkListable(const QString& folder)
{
    const DWORD a = attributesOf(folder);
    if (a == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = GetLastError();
        fail(err == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : err);
    }
    if (!(a & FILE_ATTRIBUTE_DIRECTORY))
        fail(ERROR_DIRECTORY);
    QString pattern = folderPath(folder);
    if (!isSeparator(pattern.back()))
        pattern += QLatin1Char('\\');
    WIN32_FIND_DATAW found;
    const HANDLE h = FindFirstFileW((pattern + QLatin1Char('*')).toStdWString().c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        if (err != ERROR_FILE_NOT_FOUND && err != ERROR_NO_MORE_FILES) // an empty root
            fail(err);
        return;
    }
    FindClose(h);
}

QStringList volumeRoots()
{
    // Every letter in use, ready or not: choosing an empty drive then says "Drive Not Ready".
    QStringList roots;
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (drives & (1u << i))
            roots << QString(QChar('A' + i)) + QStringLiteral(":/");
    }
    return roots;
}

QString gameFilePath(const QString& folder, const QString& name)
{
    // The file system ignores letter case, so the name as given finds the file; the name as it is
    // on disk keeps its spelling when the save puts the new file in its place.
    const QString exact = folder + QLatin1Char('\\') + name;
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')))
        return exact;
    WIN32_FIND_DATAW found;
    const HANDLE h = FindFirstFileW(wide(exact).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return exact;
    FindClose(h);
    return folder + QLatin1Char('\\') + fromWide(found.cFileName);
}

bool gameFileExists(const QString& folder, const QString& name)
{
    const DWORD a = attributesOf(gameFilePath(folder, name));
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

bool identify(const QString& path, bool folder, BY_HANDLE_FILE_INFORMATION& info)
{
    Handle h(CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                         folder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr));
    return h.valid() && GetFileInformationByHandle(h.get(), &info);
}

bool sameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

} // namespace

QString canonicalFolder(const QString& folder)
{
    // The spelling the file system keeps (letter case, long names, links followed), so that
    // "c:\games\gx" and "C:/Games/GX/" are one folder.
    Handle h(CreateFileW(wide(folder).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (h.valid()) {
        std::wstring buf(MAX_PATH, L'\0');
        for (int tries = 0; tries < 2; ++tries) {
            const DWORD n = GetFinalPathNameByHandleW(h.get(), buf.data(), static_cast<DWORD>(buf.size()),
                                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
            if (n == 0)
                break;
            if (n < buf.size()) {
                QString out = fromWide(buf.c_str());
                if (out.startsWith(QStringLiteral("\\\\?\\UNC\\")))
                    out = QStringLiteral("\\\\") + out.mid(8);
                else if (out.startsWith(QStringLiteral("\\\\?\\")))
                    out = out.mid(4);
                return QDir::cleanPath(QDir::fromNativeSeparators(out));
            }
            buf.assign(n, L'\0');
        }
    }
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(folderPath(folder))).absolutePath());
}

bool sameFile(const QString& a, const QString& b)
{
    BY_HANDLE_FILE_INFORMATION ia, ib;
    return !isDirectory(a) && !isDirectory(b) && identify(a, false, ia) && identify(b, false, ib) &&
           sameIdentity(ia, ib);
}

bool sameFolder(const QString& a, const QString& b)
{
    BY_HANDLE_FILE_INFORMATION ia, ib;
    return isDirectory(a) && isDirectory(b) && identify(a, true, ia) && identify(b, true, ib) && sameIdentity(ia, ib);
}

QString folderOf(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    if (cut < 0)
        return path.size() >= 2 && path[1] == QLatin1Char(':') ? path.left(2) : QStringLiteral(".");
    return path.left(cut); // "C:\x" gives "C:", "\x" the empty string: each names its root
}

QString nameOf(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    if (cut < 0 && path.size() >= 2 && path[1] == QLatin1Char(':'))
        return path.mid(2);
    return path.mid(cut + 1);
}

bool isStream(const QString& path)
{
    if (path.startsWith(QLatin1String("\\\\.\\")) || path.startsWith(QLatin1String("//./")) || isDeviceName(path))
        return true;
    const DWORD a = attributesOf(path);
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    Handle h(CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    return h.valid() && GetFileType(h.get()) != FILE_TYPE_DISK;
}

GameFileReader::GameFileReader(const QString& path, Access access)
    : path_(path), handle_(reinterpret_cast<std::intptr_t>(
                       openChecked(path, access == Access::ReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING)))
{
}

GameFileReader::~GameFileReader()
{
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

Bytes GameFileReader::read(std::size_t n)
{
    Bytes data(n);
    data.resize(readSome(reinterpret_cast<HANDLE>(handle_), data.data(), n));
    return data;
}

void GameFileReader::close()
{
    if (!CloseHandle(reinterpret_cast<HANDLE>(std::exchange(handle_, -1))))
        failLast();
}

Bytes readGameFile(const QString& path, long long atMost, Access access)
{
    GameFileReader reader(path, access);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(reinterpret_cast<HANDLE>(reader.handle_), &size))
        failLast();
    long long n = size.QuadPart;
    if (atMost >= 0 && n > atMost)
        n = atMost;
    Bytes data = reader.read(static_cast<std::size_t>(n));
    reader.close();
    return data;
}

Bytes readInputFile(const QString& path, std::size_t limit, const std::string& tooLarge)
{
    // A directory opens without FILE_FLAG_BACKUP_SEMANTICS as access denied, as on POSIX.
    Handle h(openChecked(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    if (GetFileType(h.get()) == FILE_TYPE_DISK) {
        LARGE_INTEGER size;
        if (GetFileSizeEx(h.get(), &size) && static_cast<unsigned long long>(size.QuadPart) > limit)
            throw GameError(tooLarge);
    }
    Bytes data;
    for (;;) {
        // One byte past the limit tells a sheet of exactly limit bytes from a longer one.
        const std::size_t got = data.size();
        const std::size_t want = std::min(limit + 1, std::max<std::size_t>(got * 2, got + 65536));
        data.resize(want);
        const std::size_t r = readSome(h.get(), data.data() + got, want - got);
        data.resize(got + r);
        if (data.size() > limit)
            throw GameError(tooLarge);
        if (r < want - got)
            break;
    }
    if (!CloseHandle(h.release()))
        failLast();
    return data;
}

void writeGameFile(const QString& path, std::span<const std::uint8_t> data)
{
    const DWORD attrs = attributesOf(path);
    const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD err = GetLastError();
        if (err != ERROR_FILE_NOT_FOUND)
            fail(err);
        if (!isDirectory(folderOf(path)))
            fail(ERROR_PATH_NOT_FOUND);
    } else {
        // A move would replace a file the user made read-only (Wine's does): our own check keeps it.
        if (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
            fail(ERROR_ACCESS_DENIED);
        // Replacing needs every other holder of the file to share deletion; the game opening it
        // without sharing is told apart from a refusal of rights, whatever the replace reports.
        Handle probe(CreateFileW(wide(path).c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.valid())
            failLast();
    }

    const QString tmp = writeTemporary(path, data);
    try {
        if (detail::faults() && detail::faults()->renameErrno)
            throw GameError(ioErrorText(detail::faults()->renameErrno));
        // ReplaceFileW keeps what the user or the game set on the file (its other attributes,
        // its security descriptor, creation time, streams); a new file is simply moved into place.
        const BOOL done =
            exists ? ReplaceFileW(wide(path).c_str(), wide(tmp).c_str(), nullptr,
                                  REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)
                   : MoveFileExW(wide(tmp).c_str(), wide(path).c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!done) {
            const DWORD err = GetLastError();
            fail(err == ERROR_UNABLE_TO_REMOVE_REPLACED ? ERROR_SHARING_VIOLATION : err);
        }
    } catch (...) {
        DeleteFileW(wide(tmp).c_str());
        throw;
    }
    // The replace itself must reach the disk, or a power cut could bring the old file back.
    Handle flush(CreateFileW(wide(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (flush.valid())
        FlushFileBuffers(flush.get());
}

void writeOutputFile(const QString& path, std::span<const std::uint8_t> data)
{
    if (!isStream(path)) {
        writeGameFile(path, data);
        return;
    }
    Handle h(openChecked(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    writeAll(h.get(), data.data(), data.size());
    if (!CloseHandle(h.release()))
        failLast();
}

FileStamp stampFile(const QString& path)
{
    if (attributesOf(path) == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
            return {};
    }
    return stampOf(readGameFile(path, -1, Access::ReadOnly));
}

namespace {

// A lock file that only one process can hold open and that the system deletes when its holder
// closes it or dies.
constexpr wchar_t kLockName[] = L".korvex-lock";

} // namespace

FolderLock::FolderLock(const QString& folder, std::chrono::milliseconds wait) : handle_(-1)
{
    if (!isDirectory(folder))
        fail(ERROR_PATH_NOT_FOUND);
    std::wstring dir = wide(folder);
    if (dir.back() != L'\\' && dir.back() != L'/')
        dir += L'\\';
    const std::wstring lockPath = dir + kLockName;
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const HANDLE h = CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            handle_ = reinterpret_cast<std::intptr_t>(h);
            break;
        }
        const DWORD err = GetLastError();
        // Held: open without sharing by another, or being deleted by its holder's close.
        const bool held =
            err == ERROR_SHARING_VIOLATION ||
            (err == ERROR_ACCESS_DENIED && GetFileAttributesW(lockPath.c_str()) != INVALID_FILE_ATTRIBUTES);
        // A folder we may not write into: there is nothing to wait for, and the save reports it.
        if (!held)
            return;
        if (std::chrono::steady_clock::now() >= until) {
            throw GameError(detail::lockTimeoutText(wait));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((dir + L".*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string entry = fromWide(found.cFileName).toStdString();
        for (const std::string_view name : gameFileNames()) {
            if (detail::isTemporaryOf(entry, name))
                DeleteFileW((dir + found.cFileName).c_str());
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

FolderLock::~FolderLock()
{
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_)); // releases and deletes the lock file
}

} // namespace gamedb
