#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace canprog::serial {

struct KeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};
// An open registry key, closed with its owner.
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// Values of an open registry key, read through the wide API and given in UTF-8: a localized
// port name is not ASCII, and the ANSI code page is not UTF-8.
std::optional<std::string> registryText(HKEY key, const wchar_t* name);
std::optional<int> registryNumber(HKEY key, const wchar_t* name);
// Every text value of the key, as its name and its text.
std::vector<std::pair<std::string, std::string>> registryTexts(HKEY key);

}  // namespace canprog::serial
