#pragma once

#include <string>
#include <string_view>

namespace canprog {

// Module texts and firmware comments are single-byte Windows-1250 text. Converts them to UTF-8
// for display; a byte the code page leaves undefined shows as U+FFFD.
std::string cp1250ToUtf8(std::string_view bytes);

}  // namespace canprog
