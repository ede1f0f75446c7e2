#include "Win32Calls.h"

#include <mmsystem.h>

namespace canprog::serial {

HANDLE Win32Calls::CreateFileA(const char* name, DWORD access, DWORD share, DWORD disposition,
                               DWORD flags) {
    return ::CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
}
BOOL Win32Calls::CloseHandle(HANDLE handle) {
    return ::CloseHandle(handle);
}
BOOL Win32Calls::SetupComm(HANDLE port, DWORD inSize, DWORD outSize) {
    return ::SetupComm(port, inSize, outSize);
}
BOOL Win32Calls::GetCommState(HANDLE port, DCB* settings) {
    return ::GetCommState(port, settings);
}
BOOL Win32Calls::SetCommState(HANDLE port, DCB* settings) {
    return ::SetCommState(port, settings);
}
BOOL Win32Calls::SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) {
    return ::SetCommTimeouts(port, timeouts);
}
BOOL Win32Calls::SetCommMask(HANDLE port, DWORD mask) {
    return ::SetCommMask(port, mask);
}
BOOL Win32Calls::WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* overlapped) {
    return ::WaitCommEvent(port, mask, overlapped);
}
BOOL Win32Calls::ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status) {
    return ::ClearCommError(port, errors, status);
}
BOOL Win32Calls::EscapeCommFunction(HANDLE port, DWORD function) {
    return ::EscapeCommFunction(port, function);
}
BOOL Win32Calls::PurgeComm(HANDLE port, DWORD flags) {
    return ::PurgeComm(port, flags);
}
BOOL Win32Calls::ReadFile(HANDLE port, void* buffer, DWORD size, DWORD* got,
                          OVERLAPPED* overlapped) {
    return ::ReadFile(port, buffer, size, got, overlapped);
}
BOOL Win32Calls::WriteFile(HANDLE port, const void* buffer, DWORD size, DWORD* sent,
                           OVERLAPPED* overlapped) {
    return ::WriteFile(port, buffer, size, sent, overlapped);
}
BOOL Win32Calls::GetOverlappedResult(HANDLE port, OVERLAPPED* overlapped, DWORD* count, BOOL wait) {
    return ::GetOverlappedResult(port, overlapped, count, wait);
}
BOOL Win32Calls::CancelIo(HANDLE port) {
    return ::CancelIo(port);
}
BOOL Win32Calls::CancelIoEx(HANDLE port, OVERLAPPED* overlapped) {
    return ::CancelIoEx(port, overlapped);
}
DWORD Win32Calls::GetLastError() {
    return ::GetLastError();
}
void Win32Calls::Sleep(DWORD milliseconds) {
    ::Sleep(milliseconds);
}
UINT Win32Calls::timeBeginPeriod(UINT milliseconds) {
    return ::timeBeginPeriod(milliseconds);
}
UINT Win32Calls::timeEndPeriod(UINT milliseconds) {
    return ::timeEndPeriod(milliseconds);
}
std::chrono::steady_clock::time_point Win32Calls::now() {
    return std::chrono::steady_clock::now();
}

Win32Calls& win32Calls() {
    static Win32Calls real;
    return real;
}

}  // namespace canprog::serial
