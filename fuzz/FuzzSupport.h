#pragma once
// What the fuzz targets share: a broken rule stops the run where libFuzzer sees it (it saves the
// input and reports a finding), a scratch folder for the readers that take a path, and the small
// tables of our sample that the CSV targets import into.

#include "gamedb/DbFormat.h"
#include "gamedb/FileIo.h"
#include "gamedb/RecordTable.h"

#include <QString>

#include <cstdint>
#include <span>
#include <string_view>

namespace fuzz {

[[noreturn]] void broken(std::string_view rule, std::string_view detail = {});

inline void require(bool holds, std::string_view rule)
{
    if (!holds)
        broken(rule);
}

// A folder of this process's own under TMPDIR (scripts/fuzz.sh points TMPDIR at a RAM disk).
const QString& scratchFolder();

// Plain writes and reads: the fuzz input goes to disk as it stands, without the atomic replace.
void writeFile(const QString& path, std::span<const std::uint8_t> bytes);
gamedb::Bytes readFile(const QString& path);

// The database in scratchFolder(); false when the load refuses it (GameError).
bool loadFromBytes(gamedb::RecordTable& table, std::span<const std::uint8_t> file);

// Same records, and the same bytes in each of them.
bool sameRecords(const gamedb::RecordTable& a, const gamedb::RecordTable& b);

// Writes the sample's small database of this format into folder: a handful of records, so that
// its file and its sheet stay short enough to mutate quickly.
void writeFixture(const QString& folder, const gamedb::DbFormat& format);

// "managers", "teams" or "players": the database a target was built for (its KORVEX_FUZZ_DB).
const gamedb::DbFormat& formatNamed(std::string_view noun);

} // namespace fuzz
