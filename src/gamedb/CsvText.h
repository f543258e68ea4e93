#pragma once
// Game bytes to UTF-8 and back, for CSV cells, without a QString per cell.

#include <string>
#include <string_view>

namespace gamedb {

// Appends the UTF-8 of the game text (bytes 1..255 of the game's code page).
void appendUtf8(std::string& out, std::string_view gameBytes);

// The game bytes of a UTF-8 text; false when it is not valid UTF-8 or holds a character the code
// page cannot store (a zero character included).
bool utf8ToGame(std::string_view utf8, std::string& out);

} // namespace gamedb
