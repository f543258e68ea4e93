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

} // namespace gamedb
