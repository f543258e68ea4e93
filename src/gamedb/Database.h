#pragma once
// Loading and saving a whole database file: header block, count, carried word, cleared word,
// records back to back.

#include "gamedb/FileIo.h"
#include "gamedb/PageHooks.h"
#include "gamedb/RecordTable.h"

#include <QString>

namespace gamedb {

// Reads the file into a fresh table. Only when the whole file was read does it replace the
// caller's table and run the page's hooks; a failure leaves table and page as they were.
// Returns the stamp of the bytes it read (see StampedReader), for the save to compare.
FileStamp loadDatabase(RecordTable& table, const QString& folder, Progress& progress, PageHooks& page);

// The record count of a database file of fileSize bytes that starts with start (at least its
// first H + 6 bytes, or all of a shorter file); throws GameError where a load of it would stop.
int databaseRecords(const DbFormat& f, std::span<const std::uint8_t> start, std::uint64_t fileSize);

// Has the page store its record, then writes header block and carried word of the file on disk,
// the count, a cleared word and every record, replacing the file only when all was written.
// Returns the stamp of what it wrote.
FileStamp saveDatabase(const RecordTable& table, const QString& folder, Progress& progress, PageHooks& page);

// The bytes a save writes, given the existing file's first H + 4 bytes.
Bytes encodeDatabase(const RecordTable& table, std::span<const std::uint8_t> existingPrefix,
                     ProgressRun* run = nullptr);

} // namespace gamedb
