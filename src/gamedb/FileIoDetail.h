#pragma once
// What the two system branches of the file access share (FileIoPosix.cpp, FileIoWin.cpp).

#include "gamedb/FileIo.h"

#include <chrono>
#include <string>
#include <string_view>

namespace gamedb::detail {

// The faults the tests asked for, or null.
const IoFaults* faults();

// Six letters or digits for a temporary file's name: "." + name + "." + suffix.
std::string temporarySuffix();

// True when entry is one of our temporary names of the game file name (any letter case).
bool isTemporaryOf(std::string_view entry, std::string_view name);

// Why a FolderLock gave up after waiting.
std::string lockTimeoutText(std::chrono::milliseconds wait);

} // namespace gamedb::detail
