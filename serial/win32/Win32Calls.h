#pragma once

#include <windows.h>

#include <chrono>

namespace canprog::serial {

// The Win32 calls under the serial layer, behind one seam: tests replace single calls to play
// a device that fails, vanishes or answers as a port under Wine does. Each returns what the
// call returns; GetLastError is part of the seam, so that a replaced call can set it.
class Win32Calls {
  public:
    virtual ~Win32Calls() = default;

    virtual HANDLE CreateFileA(const char* name, DWORD access, DWORD share, DWORD disposition,
                               DWORD flags);
    virtual BOOL CloseHandle(HANDLE handle);
    virtual BOOL SetupComm(HANDLE port, DWORD inSize, DWORD outSize);
    virtual BOOL GetCommState(HANDLE port, DCB* settings);
    virtual BOOL SetCommState(HANDLE port, DCB* settings);
    virtual BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
    virtual BOOL SetCommMask(HANDLE port, DWORD mask);
    virtual BOOL WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* overlapped);
    virtual BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status);
    virtual BOOL EscapeCommFunction(HANDLE port, DWORD function);
    virtual BOOL PurgeComm(HANDLE port, DWORD flags);
    virtual BOOL ReadFile(HANDLE port, void* buffer, DWORD size, DWORD* got,
                          OVERLAPPED* overlapped);
    virtual BOOL WriteFile(HANDLE port, const void* buffer, DWORD size, DWORD* sent,
                           OVERLAPPED* overlapped);
    virtual BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* overlapped, DWORD* count, BOOL wait);
    virtual BOOL CancelIo(HANDLE port);
    // Cancels one request, also one that another thread issued.
    virtual BOOL CancelIoEx(HANDLE port, OVERLAPPED* overlapped);
    virtual DWORD GetLastError();
    virtual void Sleep(DWORD milliseconds);
    // The system timer's resolution, raised while a port is open: a Sleep of a few milliseconds
    // otherwise lasts 15.6 ms.
    virtual UINT timeBeginPeriod(UINT milliseconds);
    virtual UINT timeEndPeriod(UINT milliseconds);
    // The clock of the waits that are bounded by a deadline.
    virtual std::chrono::steady_clock::time_point now();
};

// The real calls.
Win32Calls& win32Calls();

}  // namespace canprog::serial
