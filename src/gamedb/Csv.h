#pragma once
// A database table as a spreadsheet: one CSV row per record, one column per schema field. The
// export writes what the pages show; the import updates the table by record number, all or
// nothing, and keeps the bytes of every field whose cell still reads as the export wrote it.

#include "gamedb/RecordTable.h"

#include <span>
#include <string>
#include <string_view>

namespace gamedb {

// UTF-8 with a byte-order mark, CRLF line ends: a header row ("record" and the schema's column
// names), then every record in record order.
std::string exportCsv(const RecordTable& table);
// The same header, then only the given records, in the given order.
std::string exportCsv(const RecordTable& table, std::span<const int> records);

// Applies the rows of csv (UTF-8 with or without a byte-order mark, CRLF or LF) to table. A row
// whose record cell is empty adds a record. A code field takes a code of its table or nothing. On
// any refusal the table is left as it was and GameError lists the first problems, each with its
// line in the file and its column, each cell quoted short and with no zero byte.
void importCsv(RecordTable& table, std::string_view csv);

// The byte-order mark the export starts with.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The first column: the record number, empty for a record to add.
inline constexpr std::string_view kRecordColumn = "record";
// The column of the unique ID; an empty cell in a new row takes the smallest free ID.
inline constexpr std::string_view kIdColumn = "id";

} // namespace gamedb
