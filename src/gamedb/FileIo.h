#pragma once
// Checked file access for the game's files. Every failure throws GameError with the text the
// user is shown ("File not found", "Disk full", ...).

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace gamedb {

using Bytes = std::vector<std::uint8_t>;

// folder + native separator + name. When no file has exactly that name, a file in the folder
// whose name differs only in letter case is used instead, for reading and for saving.
QString gameFilePath(const QString& folder, const QString& name);
bool gameFileExists(const QString& folder, const QString& name);

// How a file is opened for reading. The game's files are opened for reading and writing, as the
// game's tools always did, so a write-protected game file is refused; a file we only read (a
// CSV sheet) is opened read-only.
enum class Access { ReadWrite, ReadOnly };

// Reads the whole file when atMost < 0, otherwise at most that many bytes.
Bytes readGameFile(const QString& path, long long atMost = -1, Access access = Access::ReadWrite);

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
    int fd_;
};

// The whole of data goes to a temporary file in the same folder, which is flushed and renamed
// over path only when everything was written. On failure path is untouched and no temporary
// file is left behind. An existing file keeps its permissions; a symbolic link is followed. A
// file the user may not write (or that has no write permission for anyone) is never replaced.
void writeGameFile(const QString& path, std::span<const std::uint8_t> data);

// Test seam: faults to inject into the next operations. Null (the default) injects none.
struct IoFaults {
    int openErrno = 0;         // every open fails with this error number
    long long writeLimit = -1; // writes fail with ENOSPC once this many bytes are written
    int renameErrno = 0;       // the final rename fails with this error number
};
void setIoFaults(const IoFaults* faults);

} // namespace gamedb
