#pragma once
#include <stdexcept>
#include <string>

namespace gamedb {

// An error the user is shown as it stands (the window layer appends the full stop).
class GameError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The message for a failed file operation, from the system's error number.
std::string ioErrorText(int errorNumber);

inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* kDiskFull = "Disk full";
inline constexpr const char* kFileNotFound = "File not found";
inline constexpr const char* kInvalidFilename = "Invalid filename";
inline constexpr const char* kTooManyOpenFiles = "Too many open files";
inline constexpr const char* kAccessDenied = "File access denied";
// Windows refuses a file that another program (the game, say) holds open without sharing it.
inline constexpr const char* kFileInUse =
    "File in use by another program; close that program (the game, say) and try again";

} // namespace gamedb
