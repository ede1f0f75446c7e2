#include "serial/PlatformDispatcher.h"

#include "SlPosix.h"

namespace canprog::serial {

std::unique_ptr<TSlioBaseDispatcher> createPlatformDispatcher() {
    return std::make_unique<TSlioPosixDispatcher>();
}

}  // namespace canprog::serial
