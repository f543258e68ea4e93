#pragma once
// Tmdata.db1: 889-byte header, 1024-byte team records, at most 2300 of them.

#include "gamedb/DbFormat.h"

namespace gamedb {

extern const DbFormat kTeamFormat;

// The names block holds seven languages in this order; each a long name, a short name and a
// description of a player from the country. Fields "TeLong0".."TeLong6" and so on.
inline constexpr int kTeamLanguages = 7;
// Kit colours "TeColor0".."TeColor3": secondary home, primary home, secondary away, primary away.
// Gender values "TeGend0".."TeGend2": Italian, French, Portuguese.

} // namespace gamedb
