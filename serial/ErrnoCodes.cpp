#include "ErrnoCodes.h"

#include <cerrno>

#include "SlStrMap.h"

namespace canprog::serial {

std::int32_t resultForErrno(int error, ErrnoUse use) {
    if (error == ENOMEM) return -8;
    if (use == ErrnoUse::OpeningDevice) {
        switch (error) {
            case ENOENT:
            case ENODEV:
            case ENXIO:
            case ENOTDIR:
            case EIO:
            case ENOTTY: return -2001;
            case EBUSY:
            case EWOULDBLOCK: return -2008;
            case EACCES:
            case EPERM: return -2013;
            default: break;
        }
    }
    if (use == ErrnoUse::File) {
        if (error == ENOENT) return -2;
        if (error == EACCES || error == EPERM) return -5;
    }
    return -(kSystemErrorBase + error);
}

}  // namespace canprog::serial
