#include "gamedb/GameError.h"

#include <cerrno>

namespace gamedb {

std::string ioErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return kInvalidFilename;
    case EMFILE:
    case ENFILE:
        return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return kAccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return kDiskFull;
    default:
        return "I/O error " + std::to_string(errorNumber);
    }
}

} // namespace gamedb
