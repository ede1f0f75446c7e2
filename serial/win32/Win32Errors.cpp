#include "Win32Errors.h"

#include <iterator>

#include "base/win32/WideText.h"
#include "serial/SlErrors.h"
#include "serial/SlStrMap.h"

namespace canprog::serial {

std::int32_t resultForWin32Error(DWORD error, Win32Use use) {
    if (error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY)
        return toCode(SlioError::InsufficientMemory);
    if (use == Win32Use::OpeningDevice) {
        switch (error) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_NAME:
            case ERROR_BAD_UNIT:
            case ERROR_DEV_NOT_EXIST:
            case ERROR_BAD_NETPATH:
            case ERROR_NOT_READY: return toCode(SlioError::BadId);
            // A COM port allows one handle: another program that holds it makes the open fail
            // with access denied.
            case ERROR_ACCESS_DENIED:
            case ERROR_SHARING_VIOLATION:
            case ERROR_BUSY: return toCode(SlioError::AlreadyOpen);
            default: break;
        }
    }
    return -(kSystemErrorBase + static_cast<std::int32_t>(error & 0xFFFF));
}

std::string win32ErrorText(DWORD error, LANGID language) {
    wchar_t text[512] = {};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         language, text, static_cast<DWORD>(std::size(text)), nullptr);
    return win32::narrow(std::wstring_view(text, length));
}

}  // namespace canprog::serial
