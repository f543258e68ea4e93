#pragma once
// The game's three databases, for code that picks one by name.

#include "gamedb/DbFormat.h"

#include <span>
#include <string_view>

namespace gamedb {

// Managers, teams, players: the order the data editor loads them in.
std::span<const DbFormat* const> allFormats();

// The format whose record noun ("managers", "teams", "players") is noun; null for none.
const DbFormat* formatNamed(std::string_view noun);

} // namespace gamedb
