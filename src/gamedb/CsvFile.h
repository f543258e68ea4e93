#pragma once
// CSV files on disk: read whole (read-only; a spreadsheet's file need not be writable), written
// through the atomic write so that a failed export never destroys an older file. A pipe, a
// device or an inherited descriptor (/dev/stdout, a process substitution) is read or written
// as a stream.

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace gamedb {

// No database's sheet comes near this: the largest, every text field full of three-byte
// characters and quoted, is under 30 MB.
inline constexpr std::size_t kCsvSizeLimit = std::size_t{64} << 20;

// Throws GameError ("File not found", "File access denied", a sheet over the limit, ...).
std::string readCsvFile(const QString& path);
// Refuses to write onto any of the game's own files in gameFolder, by whatever path.
void writeCsvFile(const QString& gameFolder, const QString& path, std::string_view csv);

// The message for a sheet over the limit.
std::string csvTooLargeText();

} // namespace gamedb
