#pragma once
// Players.db1: 660-byte header, 215-byte player records, at most 20000 of them.

#include "gamedb/DbFormat.h"

namespace gamedb {

extern const DbFormat kPlayerFormat;

} // namespace gamedb
