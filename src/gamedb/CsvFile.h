#pragma once
// CSV files on disk: read whole (read-only; a spreadsheet's file need not be writable), written
// through the atomic write so that a failed export never destroys an older file.

#include <QString>

#include <string>
#include <string_view>

namespace gamedb {

// Throws GameError ("File not found", "File access denied", ...).
std::string readCsvFile(const QString& path);
void writeCsvFile(const QString& path, std::string_view csv);

} // namespace gamedb
