#include "serial/PlatformDispatcher.h"

#include "SlWin32.h"

namespace canprog::serial {

std::unique_ptr<TSlioBaseDispatcher> createPlatformDispatcher() {
    return std::make_unique<TSlioWin32Dispatcher>();
}

}  // namespace canprog::serial
