#pragma once
// What distinguishes one database file from another; everything else is shared.

#include "gamedb/Schema.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace gamedb {

struct DbFormat {
    std::string_view fileName;   // fixed name in the game folder
    std::string_view recordNoun; // "managers", for messages
    std::size_t headerSize;      // H: count at H, carried word at H+2, cleared word at H+4
    std::size_t recordSize;      // S
    int capacity;                // records the table holds
    std::string_view loadText;
    std::string_view saveText;
    Schema schema;
    // Re-encode septet numbers in their ordinary form on save (records held as fields).
    bool canonicalOnSave;
    // Appends the visible part of a list line, the record's name(s), to out.
    void (*appendListName)(const std::uint8_t* record, std::string& out);

    std::size_t recordsStart() const { return headerSize + 6; }
};

} // namespace gamedb
