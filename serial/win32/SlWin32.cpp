#include "SlWin32.h"

#include <algorithm>
#include <memory>

#include "Win32Errors.h"

namespace canprog::serial {

namespace {

constexpr DWORD kWorkerWait_ms = 100;
constexpr DWORD kReadWait_ms = 50;
constexpr DWORD kPurgeAcknowledgeWait_ms = 5000;
// Reads aborted one after another, with no purge of ours between them: the device is gone.
constexpr int kAbortsBeforeFailure = 3;
// EV_RXCHAR, EV_CTS, EV_DSR, EV_RLSD, EV_BREAK, EV_ERR and EV_RING.
constexpr DWORD kEventMask = 0x1F9;
// The events other than a received character, queued as status items.
constexpr DWORD kStatusEvents = 0x21F8;

StopBitsField stopBitsOf(BYTE field) {
    return field == ONESTOPBIT     ? StopBitsField::One
           : field == ONE5STOPBITS ? StopBitsField::OneAndHalf
                                   : StopBitsField::Two;
}

BYTE fieldOf(StopBitsField stopBits) {
    switch (stopBits) {
        case StopBitsField::One: return ONESTOPBIT;
        case StopBitsField::OneAndHalf: return ONE5STOPBITS;
        case StopBitsField::Two: break;
    }
    return TWOSTOPBITS;
}

}  // namespace

TSlioWin32Dispatcher::TSlioWin32Dispatcher(Win32Calls& calls) : calls_(calls) {}

TSlioWin32Dispatcher::~TSlioWin32Dispatcher() {
    ShutPort();
}

int TSlioWin32Dispatcher::openDevice(const std::string& name) {
    device_ = calls_.CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING,
                                 FILE_FLAG_OVERLAPPED);
    if (device_ == INVALID_HANDLE_VALUE) {
        return resultForWin32Error(calls_.GetLastError(), Win32Use::OpeningDevice);
    }
    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!calls_.GetCommState(device_, &settings)) {
        closeDevice();
        return toCode(SlioError::BadId);  // something that opens but is no serial port
    }
    settingsAtOpen_ = settings;
    return 0;
}

void TSlioWin32Dispatcher::closeDevice() {
    if (device_ == INVALID_HANDLE_VALUE) return;
    // The port is left as it was found.
    if (settingsAtOpen_) calls_.SetCommState(device_, &*settingsAtOpen_);
    settingsAtOpen_.reset();
    calls_.CloseHandle(device_);
    device_ = INVALID_HANDLE_VALUE;
}

int TSlioWin32Dispatcher::sizeQueues(int inSize, int outSize) {
    if (device_ == INVALID_HANDLE_VALUE) return 0;
    if (calls_.SetupComm(device_, static_cast<DWORD>(inSize), static_cast<DWORD>(outSize)))
        return 0;
    return resultForWin32Error(calls_.GetLastError(), Win32Use::Device);
}

int TSlioWin32Dispatcher::readDeviceSettings(DeviceSettings& settings) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (device_ == INVALID_HANDLE_VALUE || !calls_.GetCommState(device_, &dcb)) {
        return toCode(SlioError::BadHandle);
    }
    settings.baud = static_cast<int>(dcb.BaudRate);
    settings.parity = dcb.Parity;
    settings.dataBits = dcb.ByteSize;
    settings.stopBits = stopBitsOf(dcb.StopBits);
    settings.binary = dcb.fBinary != 0;
    settings.parityCheck = dcb.fParity != 0;
    settings.outxCtsFlow = dcb.fOutxCtsFlow != 0;
    settings.outxDsrFlow = dcb.fOutxDsrFlow != 0;
    settings.dtrControl = static_cast<DtrControl>(std::min<DWORD>(dcb.fDtrControl, 2));
    settings.dsrSensitivity = dcb.fDsrSensitivity != 0;
    settings.txContinueOnXoff = dcb.fTXContinueOnXoff != 0;
    settings.outX = dcb.fOutX != 0;
    settings.inX = dcb.fInX != 0;
    settings.nullStrip = dcb.fNull != 0;
    settings.rtsControl = static_cast<RtsControl>(std::min<DWORD>(dcb.fRtsControl, 3));
    settings.xonLimit = dcb.XonLim;
    settings.xoffLimit = dcb.XoffLim;
    settings.xonChar = static_cast<std::uint8_t>(dcb.XonChar);
    settings.xoffChar = static_cast<std::uint8_t>(dcb.XoffChar);
    return 0;
}

int TSlioWin32Dispatcher::writeDeviceSettings(const DeviceSettings& settings) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (device_ == INVALID_HANDLE_VALUE || !calls_.GetCommState(device_, &dcb)) {
        return toCode(SlioError::BadHandle);
    }
    dcb.BaudRate = static_cast<DWORD>(settings.baud);
    dcb.Parity = static_cast<BYTE>(settings.parity);
    dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
    dcb.StopBits = fieldOf(settings.stopBits);
    dcb.fBinary = settings.binary;
    dcb.fParity = settings.parityCheck;
    dcb.fOutxCtsFlow = settings.outxCtsFlow;
    dcb.fOutxDsrFlow = settings.outxDsrFlow;
    dcb.fDtrControl = static_cast<DWORD>(settings.dtrControl);
    dcb.fDsrSensitivity = settings.dsrSensitivity;
    dcb.fTXContinueOnXoff = settings.txContinueOnXoff;
    dcb.fOutX = settings.outX;
    dcb.fInX = settings.inX;
    dcb.fNull = settings.nullStrip;
    dcb.fRtsControl = static_cast<DWORD>(settings.rtsControl);
    dcb.fAbortOnError = FALSE;
    dcb.XonLim = static_cast<WORD>(std::clamp(settings.xonLimit, 0, 0xFFFF));
    dcb.XoffLim = static_cast<WORD>(std::clamp(settings.xoffLimit, 0, 0xFFFF));
    dcb.XonChar = static_cast<char>(settings.xonChar);
    dcb.XoffChar = static_cast<char>(settings.xoffChar);
    if (calls_.SetCommState(device_, &dcb)) return 0;
    return resultForWin32Error(calls_.GetLastError(), Win32Use::Device);
}

// Raises or lowers a control line; like the escape function, this always reports success: a
// port without modem lines (a pseudo-terminal under Wine answers ERROR_NOT_SUPPORTED) stops
// nothing.
int TSlioWin32Dispatcher::escape(LineEscape function) {
    if (device_ != INVALID_HANDLE_VALUE) {
        calls_.EscapeCommFunction(device_, static_cast<DWORD>(function));
    }
    return 0;
}

int TSlioWin32Dispatcher::purgeDevice(bool receiveSide) {
    if (device_ == INVALID_HANDLE_VALUE) return 0;
    const DWORD flags = receiveSide ? PURGE_RXABORT | PURGE_RXCLEAR : PURGE_TXABORT | PURGE_TXCLEAR;
    const BOOL purged = calls_.PurgeComm(device_, flags);
    // The read that waits for the next byte was issued before this purge: it is cancelled
    // explicitly, so that it can never complete with a byte received after the purge (which
    // would then be dropped as stale). The receive purge runs under the input lock, as the
    // read's issue does.
    if (receiveSide && pendingRead_) calls_.CancelIoEx(device_, pendingRead_);
    if (purged) return 0;
    return resultForWin32Error(calls_.GetLastError(), Win32Use::Device);
}

int TSlioWin32Dispatcher::deviceOutputQueued() {
    DWORD errors = 0;
    COMSTAT status{};
    if (device_ == INVALID_HANDLE_VALUE || !calls_.ClearCommError(device_, &errors, &status)) {
        return 0;
    }
    return static_cast<int>(status.cbOutQue);
}

void TSlioWin32Dispatcher::pause(std::chrono::microseconds duration) {
    calls_.Sleep(static_cast<DWORD>((duration.count() + 999) / 1000));
}

// --- threads ---

int TSlioWin32Dispatcher::startPlatformThreads() {
    if (!startWorker([this] { return readThreadMain(); }, kReadFailure) ||
        !startWorker([this] { return writeThreadMain(); }, kWriteFailure) ||
        !startWorker([this] { return statusThreadMain(); }, kReadFailure)) {
        return toCode(SlioError::Unspecified);
    }
    return 0;
}

void TSlioWin32Dispatcher::wakePlatformThreads() {
    stop_.set();
    received_.set();
    // An empty event mask ends the status thread's pending wait.
    if (device_ != INVALID_HANDLE_VALUE) calls_.SetCommMask(device_, 0);
}

TSlioWin32Dispatcher::Completion TSlioWin32Dispatcher::awaitOverlapped(OVERLAPPED& overlapped,
                                                                       HANDLE alsoWake,
                                                                       DWORD& count) {
    const HANDLE handles[3] = {overlapped.hEvent, stop_.get(), alsoWake};
    const DWORD handleCount = alsoWake ? 3 : 2;
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(handleCount, handles, FALSE, kWorkerWait_ms);
        if (woken == WAIT_TIMEOUT) continue;
        if (woken == WAIT_OBJECT_0) {
            if (calls_.GetOverlappedResult(device_, &overlapped, &count, FALSE)) {
                return Completion::Done;
            }
            return calls_.GetLastError() == ERROR_OPERATION_ABORTED ? Completion::Aborted
                                                                    : Completion::Failed;
        }
        if (woken == WAIT_OBJECT_0 + 1 || woken == WAIT_OBJECT_0 + 2) {
            // Stopped or purged: the request is cancelled and waited for, so that nothing
            // writes into the overlapped block once it is gone.
            calls_.CancelIo(device_);
            DWORD ignored = 0;
            calls_.GetOverlappedResult(device_, &overlapped, &ignored, TRUE);
            return Completion::Stopped;
        }
        return Completion::Failed;
    }
}

int TSlioWin32Dispatcher::statusThreadMain() {
    // A device without comm events (a pseudo-terminal under Wine answers ERROR_NOT_SUPPORTED)
    // has no line or modem status to report; received bytes do not depend on this thread.
    const auto unsupported = [](DWORD error) {
        return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ||
               error == ERROR_INVALID_PARAMETER;
    };
    if (!calls_.SetCommMask(device_, kEventMask)) return 0;
    const Win32Event done(Win32Event::Reset::Manual);
    while (!killRequested()) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.get();
        done.reset();
        DWORD events = 0;
        if (!calls_.WaitCommEvent(device_, &events, &overlapped)) {
            const DWORD error = calls_.GetLastError();
            if (unsupported(error) || killRequested()) return 0;
            if (error != ERROR_IO_PENDING) return kReadFailure;
            DWORD ignored = 0;
            switch (awaitOverlapped(overlapped, nullptr, ignored)) {
                case Completion::Done: break;
                case Completion::Stopped: return 0;
                case Completion::Aborted:
                    if (killRequested()) return 0;
                    return kReadFailure;  // nothing of ours aborts this wait but the close
                case Completion::Failed: return killRequested() ? 0 : kReadFailure;
            }
        }
        if (events & EV_RXCHAR) received_.set();
        if (events & kStatusEvents) {
            InputQueue.push(std::make_unique<TStatusBuffer>(events & kStatusEvents));
        }
    }
    return 0;
}

// The read thread wakes on the receive event (and at least every 50 ms) and reads what the
// driver holds, with read time-outs that ask for what is there at once. Where the device has
// no comm events (a pseudo-terminal under Wine), such a read waits in the driver for the next
// byte instead, and the 50 ms round issues it: either way a byte reaches the caller as soon as
// it arrives, and nothing spins.
int TSlioWin32Dispatcher::readThreadMain() {
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
    if (!calls_.SetCommTimeouts(device_, &timeouts)) return kReadFailure;
    const HANDLE wakes[2] = {received_.get(), stop_.get()};
    while (!killRequested()) {
        ::WaitForMultipleObjects(2, wakes, FALSE, kReadWait_ms);
        if (killRequested()) break;
        if (const int failure = readAvailable(); failure != 0) return failure;
    }
    return 0;
}

int TSlioWin32Dispatcher::readAvailable() {
    const Win32Event done(Win32Event::Reset::Manual);
    for (;;) {
        auto block = std::make_unique<TDataBuffer>();
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.get();
        done.reset();
        DWORD got = 0;
        BOOL read = FALSE;
        DWORD error = 0;
        // Issued under the input lock, so that a purge either comes before it or cancels it.
        const std::uint64_t purges = readUnderInputLock([&] {
            read = calls_.ReadFile(device_, block->data.data(),
                                   static_cast<DWORD>(block->data.size()), &got, &overlapped);
            if (!read) error = calls_.GetLastError();
            if (!read && error == ERROR_IO_PENDING) pendingRead_ = &overlapped;
        });
        Completion completion = Completion::Done;
        if (!read) {
            if (error != ERROR_IO_PENDING) {
                if (error == ERROR_OPERATION_ABORTED && receivePurgeCount() != purges) return 0;
                return killRequested() ? 0 : kReadFailure;
            }
            completion = awaitOverlapped(overlapped, nullptr, got);
            readUnderInputLock([&] { pendingRead_ = nullptr; });
        }
        switch (completion) {
            case Completion::Done: break;
            case Completion::Stopped: return 0;
            case Completion::Aborted:
                // A receive purge aborts the waiting read. So may a signal under Wine (Ctrl-C):
                // a read that is aborted again and again, though, is the device going away.
                if (killRequested() || receivePurgeCount() != purges) continue;
                if (++abortedReads_ < kAbortsBeforeFailure) continue;
                return kReadFailure;
            case Completion::Failed: return killRequested() ? 0 : kReadFailure;
        }
        abortedReads_ = 0;
        if (got == 0) return 0;
        block->used = got;
        queueReceived(std::move(block), purges);
    }
}

bool TSlioWin32Dispatcher::writeAll(const std::vector<std::uint8_t>& block, int& failure) {
    const Win32Event done(Win32Event::Reset::Manual);
    std::size_t offset = 0;
    while (offset < block.size()) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.get();
        done.reset();
        DWORD sent = 0;
        if (!calls_.WriteFile(device_, block.data() + offset,
                              static_cast<DWORD>(block.size() - offset), &sent, &overlapped)) {
            const DWORD error = calls_.GetLastError();
            if (error != ERROR_IO_PENDING) {
                if (!killRequested()) failure = kWriteFailure;
                return false;
            }
            switch (awaitOverlapped(overlapped, transmitPurge_.get(), sent)) {
                case Completion::Done: break;
                case Completion::Stopped:
                    purgeAcknowledged_.set();  // a transmit purge, or the close
                    return false;
                case Completion::Aborted: {
                    // A transmit purge aborts the write before it tells this thread; wait for
                    // the word. Anything else that aborts a write is the device going away.
                    const HANDLE purgeOrStop[2] = {transmitPurge_.get(), stop_.get()};
                    if (::WaitForMultipleObjects(2, purgeOrStop, FALSE, kWorkerWait_ms) !=
                        WAIT_TIMEOUT) {
                        purgeAcknowledged_.set();
                        return false;
                    }
                    failure = kWriteFailure;
                    return false;
                }
                case Completion::Failed:
                    if (!killRequested()) failure = kWriteFailure;
                    return false;
            }
        }
        if (sent == 0) {
            // Without write time-outs a write only ends without a byte when the device fails.
            if (!killRequested()) failure = kWriteFailure;
            return false;
        }
        offset += sent;
    }
    return true;
}

int TSlioWin32Dispatcher::writeThreadMain() {
    const HANDLE wakes[3] = {outputReady_.get(), transmitPurge_.get(), stop_.get()};
    while (!killRequested()) {
        const DWORD woken = ::WaitForMultipleObjects(3, wakes, FALSE, kWorkerWait_ms);
        if (killRequested()) break;
        if (woken == WAIT_OBJECT_0 + 1) {
            purgeAcknowledged_.set();  // a purge while nothing was being sent
            continue;
        }
        if (woken != WAIT_OBJECT_0) continue;
        for (;;) {
            const std::vector<std::uint8_t> block = takeTransmitBytes();
            if (block.empty()) break;
            int failure = 0;
            const bool written = writeAll(block, failure);
            transmitFinished();
            if (failure != 0) return failure;
            if (!written) break;
        }
    }
    return 0;
}

void TSlioWin32Dispatcher::signalOutputReady() {
    outputReady_.set();
}

void TSlioWin32Dispatcher::abortTransmit() {
    if (!Started()) return;
    purgeAcknowledged_.reset();
    transmitPurge_.set();
    ::WaitForSingleObject(purgeAcknowledged_.get(), kPurgeAcknowledgeWait_ms);
}

}  // namespace canprog::serial
