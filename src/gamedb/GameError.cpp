#include "gamedb/GameError.h"

#include <cerrno>

namespace gamedb {

std::string ioErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
        return kDiskFull;
    default:
        return "I/O error " + std::to_string(errorNumber);
    }
}

} // namespace gamedb
