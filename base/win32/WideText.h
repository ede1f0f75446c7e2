#pragma once

#include <string>
#include <string_view>

namespace canprog::win32 {

// Text travels through the program as UTF-8; the wide-character API takes and gives UTF-16.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

}  // namespace canprog::win32
