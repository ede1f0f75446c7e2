#include "base/DeviceNames.h"

namespace canprog {

bool isDeviceFileName(const std::string&) {
    return false;
}

}  // namespace canprog
