#include "ErrnoCodes.h"

#include <cerrno>

#include "SlErrors.h"
#include "SlStrMap.h"

namespace canprog::serial {

std::int32_t resultForErrno(int error, ErrnoUse use) {
    if (error == ENOMEM) return toCode(SlioError::InsufficientMemory);
    if (use == ErrnoUse::OpeningDevice) {
        switch (error) {
            case ENOENT:
            case ENODEV:
            case ENXIO:
            case ENOTDIR:
            case EIO:
            case ENOTTY: return toCode(SlioError::BadId);
            case EBUSY:
            case EWOULDBLOCK: return toCode(SlioError::AlreadyOpen);
            case EACCES:
            case EPERM: return toCode(SlioError::PortPermission);
            default: break;
        }
    }
    if (use == ErrnoUse::File) {
        if (error == ENOENT) return toCode(SlioError::FileNotFound);
        if (error == EACCES || error == EPERM) return toCode(SlioError::FileAccessDenied);
    }
    return -(kSystemErrorBase + error);
}

}  // namespace canprog::serial
