#pragma once
// Mgdata.db1: 262-byte header, 248-byte manager records, at most 1000 of them.

#include "gamedb/DbFormat.h"

namespace gamedb {

extern const DbFormat kManagerFormat;

} // namespace gamedb
