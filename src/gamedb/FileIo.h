#pragma once
// Checked file access for the game's files. Every failure throws GameError with the text the
// user is shown ("File not found", "Disk full", ...). This is the one unit that calls the
// operating system: FileIoPosix.cpp or FileIoWin.cpp, whichever the build picks, behind this one
// interface.

#include <QString>
#include <QStringList>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gamedb {

using Bytes = std::vector<std::uint8_t>;

// A file name as the system gives it and back, without loss: bytes that are not UTF-8 (a
// Latin-1 name on a UTF-8 system) travel in the QString as lone surrogates U+DC80..U+DCFF, so a
// name typed on the command line reaches the file it names. On Windows names are UTF-16, as the
// QString holds them, and these two only turn a name into UTF-8 text (with backslashes) and back.
QString pathFromNative(std::string_view native);
std::string nativePath(const QString& path);

// The program's arguments as the system gave them, each name without loss (on Windows from the
// wide command line, since argv holds them in the ANSI code page). Also makes standard input and
// output carry bytes unchanged (no CR LF translation on Windows).
QStringList commandLineArguments(int argc, char* argv[]);

// The folder a held game folder names: a drive root is held as letter and colon ("C:") and the
// root as the empty string, each meaning that root, not a current directory.
QString folderPath(const QString& folder);

// Throws the I/O error text when folder cannot be listed; a missing folder is a bad name.
void checkListable(const QString& folder);
// The roots the folder dialog offers, with '/' separators ("C:/", "/", "/media/usb"): every
// drive letter on Windows, ready or not; the root and the mounted volumes elsewhere.
QStringList volumeRoots();

// folder + native separator + name. When no file has exactly that name, a file in the folder
// whose name differs only in letter case is used instead, for reading and for saving.
QString gameFilePath(const QString& folder, const QString& name);
bool gameFileExists(const QString& folder, const QString& name);

// True when both names lead to one existing file (a link, another spelling of the folder).
bool sameFile(const QString& a, const QString& b);
// True when the two folders exist and are one folder.
bool sameFolder(const QString& a, const QString& b);
// A folder's one spelling, with '/' separators: links followed, and on Windows the letter case
// and long names the file system keeps; the cleaned absolute path where it cannot be opened.
QString canonicalFolder(const QString& folder);
// The folder part and the name part of a path.
QString folderOf(const QString& path);
QString nameOf(const QString& path);

// True when path is not a file to replace but a stream to write into or read from: a descriptor
// the program inherited (/dev/stdout, /dev/fd/N, a process substitution) or an existing file
// that is not a regular file (a named pipe, a device).
bool isStream(const QString& path);

// How a file is opened for reading. The game's files are opened for reading and writing, as the
// game's tools always did, so a write-protected game file is refused; a file we only read (a
// CSV sheet) is opened read-only.
enum class Access { ReadWrite, ReadOnly };

// Reads the whole file when atMost < 0, otherwise at most that many bytes.
Bytes readGameFile(const QString& path, long long atMost = -1, Access access = Access::ReadWrite);

// A file of any kind (regular, pipe, device, inherited descriptor) read to its end, read-only.
// More than limit bytes is refused with tooLarge before more than limit + 1 bytes are read.
Bytes readInputFile(const QString& path, std::size_t limit, const std::string& tooLarge);

// The same open, read front to back in pieces, so that a caller reads only as much as the file's
// own header says it needs, each piece straight into the buffer that keeps it.
class GameFileReader {
public:
    explicit GameFileReader(const QString& path, Access access = Access::ReadWrite);
    ~GameFileReader();
    GameFileReader(const GameFileReader&) = delete;
    GameFileReader& operator=(const GameFileReader&) = delete;

    // The next n bytes; fewer when the file ends first.
    Bytes read(std::size_t n);
    // Closes and checks the close; the destructor closes silently.
    void close();

private:
    friend Bytes readGameFile(const QString& path, long long atMost, Access access);
    QString path_;
    std::intptr_t handle_; // a descriptor, or a Windows handle
};

// The whole of data goes to a temporary file in the same folder, which is flushed and renamed
// over path only when everything was written. On failure path is untouched and no temporary
// file is left behind; the temporary file has no name until it is complete, so a killed process
// leaves none either. An existing file keeps its permissions, and its owner and group where the
// system allows; a symbolic link is followed. A file the user may not write (or that has no
// write permission for anyone) is never replaced. On Windows the temporary file is named from
// the start (removed on failure, and by the next folder lock when the process was killed), the
// read-only attribute takes the place of permissions, and a file another program holds open is
// refused with kFileInUse.
void writeGameFile(const QString& path, std::span<const std::uint8_t> data);

// A stream (see isStream) is written into as it is; anything else through writeGameFile.
void writeOutputFile(const QString& path, std::span<const std::uint8_t> data);

// What a file held when it was read, to tell later whether another program has changed it.
// Stamps are compared within one run and never stored.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp stampOf(std::span<const std::uint8_t> bytes);
// The file's stamp now; a missing file has exists false. Other failures throw.
FileStamp stampFile(const QString& path);

// The stamp of bytes that come piece by piece: the same as stampOf of them all, however they
// are cut.
class Stamper {
public:
    void add(std::span<const std::uint8_t> bytes);
    FileStamp stamp() const;

private:
    void addBlock(const std::uint8_t* block);
    std::array<std::uint64_t, 8> lanes_ = kStart;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t size_ = 0;
    static const std::array<std::uint64_t, 8> kStart;
};

// A game file read once, front to back, the caller taking as much as the file's header says it
// needs, each piece straight into the buffer that keeps it, and the rest read for the stamp only.
// The stamp is of exactly the bytes read: whatever another program changes while they are read
// and does not reach them leaves the file unlike its stamp, as a change after the read does.
class StampedReader {
public:
    explicit StampedReader(const QString& path);

    // The next n bytes; fewer when the file ends first.
    Bytes read(std::size_t n);
    // Reads the file to its end, closes it and checks the close: the stamp of all it read.
    FileStamp finish();

private:
    GameFileReader reader_;
    Stamper stamper_;
    bool first_ = true;
};

// One writer per game folder at a time, across processes: held from before a read that a write
// builds on until after the replace. Waits up to wait for another holder, then throws. A lock
// dies with its process, so one left by a killed program never blocks. Taking it also removes
// temporary files that a writer of the game's files (every one of which holds this lock) left
// behind when it was killed.
class FolderLock {
public:
    static constexpr std::chrono::milliseconds kWait{10000};
    explicit FolderLock(const QString& folder, std::chrono::milliseconds wait = kWait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    std::intptr_t handle_; // a descriptor, or a Windows handle
};

// The names of the game's own files in a game folder.
std::span<const std::string_view> gameFileNames();

// Test seam: faults to inject into the next operations. Null (the default) injects none.
struct IoFaults {
    int openErrno = 0;         // every open fails with this error number
    long long writeLimit = -1; // writes fail with ENOSPC once this many bytes are written
    int renameErrno = 0;       // the final rename fails with this error number
    // Another program at work while a StampedReader reads: runs once it has read its first piece.
    std::function<void()> afterFirstPiece = nullptr;
};
void setIoFaults(const IoFaults* faults);

} // namespace gamedb
