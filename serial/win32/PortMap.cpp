#include "serial/PortMap.h"

namespace canprog::serial {

// Every COM port by its device name; numbers above 9 need the "\\.\" form.
std::string portDevicePath(int comNumber) {
    if (comNumber < 1 || comNumber > kHighestComNumber) return {};
    return "\\\\.\\COM" + std::to_string(comNumber);
}

}  // namespace canprog::serial
