#pragma once
// CSV cells as text: game bytes to UTF-8 and back without a QString per cell, the guard that keeps
// a spreadsheet from reading a text as a number, and cells as a message quotes them.

#include <string>
#include <string_view>

namespace gamedb {

// Appends the UTF-8 of the game text (bytes 1..255 of the game's code page).
void appendUtf8(std::string& out, std::string_view gameBytes);

// The game bytes of a UTF-8 text; false when it is not valid UTF-8 or holds a character the code
// page cannot store (a zero character included).
bool utf8ToGame(std::string_view utf8, std::string& out);

// True when a spreadsheet in some Western European language could read the game text as anything
// but that text: a number, a date, a time, a currency, a percentage, a truth value, a formula, or
// with its blanks trimmed. Only a text that starts with a letter, ends in no blank and has a word
// no spreadsheet takes for a date stays plain.
bool needsSheetGuard(std::string_view gameBytes);

// Appends utf8 as the formula ="text" (quotes inside doubled), which a spreadsheet shows and
// saves back as the text.
void appendGuarded(std::string& out, std::string_view utf8);

// The text of a cell guarded as ="text", one level only; any other cell as it stands. scratch
// may hold the result.
std::string_view unguarded(std::string_view cell, std::string& scratch);

// The cell in quotes for a message: at most 40 characters then "…", control characters (a zero
// byte included) as their visible symbols, bytes that are not UTF-8 as U+FFFD.
std::string quotedCell(std::string_view cell);
// The same without the quotes, for a header cell named as a column.
std::string shownCell(std::string_view cell);

} // namespace gamedb
