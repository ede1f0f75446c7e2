#include "RegistryValues.h"

#include <iterator>

#include "base/win32/WideText.h"

namespace canprog::serial {

namespace {

constexpr DWORD kLongestName = 256;
constexpr DWORD kLongestText = 512;

// The text of a REG_SZ value of `size` bytes, which may or may not hold its terminator.
std::string textOf(const wchar_t* text, DWORD size) {
    std::wstring_view wide(text, size / sizeof(wchar_t));
    while (!wide.empty() && wide.back() == L'\0') wide.remove_suffix(1);
    return win32::narrow(wide);
}

}  // namespace

std::optional<std::string> registryText(HKEY key, const wchar_t* name) {
    wchar_t text[kLongestText] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return textOf(text, size);
}

std::optional<int> registryNumber(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::vector<std::pair<std::string, std::string>> registryTexts(HKEY key) {
    std::vector<std::pair<std::string, std::string>> values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kLongestName] = {};
        wchar_t text[kLongestText] = {};
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        DWORD size = sizeof text - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(text), &size);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        values.emplace_back(win32::narrow(std::wstring_view(name, nameLength)), textOf(text, size));
    }
    return values;
}

}  // namespace canprog::serial
