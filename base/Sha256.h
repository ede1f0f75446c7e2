#pragma once

#include <string>
#include <string_view>

namespace canprog {

// The SHA-256 digest of `bytes` in 64 small hex digits, as sha256sum prints it: what a support
// log names a firmware file by, so that a renamed copy is still known for what it is.
std::string sha256Hex(std::string_view bytes);

}  // namespace canprog
