#include "SlWin32.h"

#include <mmsystem.h>

#include <algorithm>
#include <memory>

#include "Win32Errors.h"

namespace canprog::serial {

namespace {

constexpr DWORD kWorkerWait_ms = 100;
constexpr DWORD kReadWait_ms = 50;
// Without comm events received bytes are looked for at the pace of the wire: a byte takes
// about a millisecond at 9600 baud, so a reply is never held back by the poll.
constexpr DWORD kWirePaceWait_ms = 2;
constexpr auto kPurgeAcknowledgeWait = std::chrono::milliseconds(5000);
// How long a cancelled request may take to end before the driver is taken to have lost it.
constexpr DWORD kCancelWait_ms = 2000;
// Reads or comm-event waits aborted one after another, with no purge of ours between them:
// the device is gone. (A single abort happens: a signal under Wine, Windows 11's CDC driver.)
constexpr int kAbortsBeforeFailure = 3;
// The receive queue a driver is asked for; the flow-control limits stay well inside it.
constexpr int kXonXoffLimitShare = 4;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;
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
    // A request the driver never ended after its cancel may still be written into by it: it is
    // left for the rest of the program rather than freed under the driver.
    const std::lock_guard guard(abandonedLock_);
    for (auto& request : abandoned_) static_cast<void>(request.release());
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
    // The waits of an operation sleep for a few milliseconds: the system's timer is asked for
    // that resolution while the port is open, and given back at close.
    timerRaised_ = calls_.timeBeginPeriod(1) == TIMERR_NOERROR;
    return 0;
}

void TSlioWin32Dispatcher::closeDevice() {
    if (device_ == INVALID_HANDLE_VALUE) return;
    // The port is left as it was found.
    if (settingsAtOpen_) calls_.SetCommState(device_, &*settingsAtOpen_);
    settingsAtOpen_.reset();
    calls_.CloseHandle(device_);
    device_ = INVALID_HANDLE_VALUE;
    if (timerRaised_) calls_.timeEndPeriod(1);
    timerRaised_ = false;
}

int TSlioWin32Dispatcher::sizeQueues(int inSize, int outSize) {
    if (device_ == INVALID_HANDLE_VALUE) return 0;
    inQueueSize_ = static_cast<DWORD>(std::max(inSize, 1));
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
    // Every field is set, none taken over from what another program left in the port's DCB:
    // equal XON and XOFF characters make SetCommState fail, and some drivers hang on limits
    // beyond their buffer.
    dcb.fAbortOnError = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.ErrorChar = 0;
    dcb.EofChar = 0;
    dcb.EvtChar = 0;
    dcb.wReserved = 0;
    const int limit = static_cast<int>(inQueueSize_) / kXonXoffLimitShare;
    dcb.XonLim = static_cast<WORD>(std::clamp(settings.xonLimit, 0, std::min(limit, 0xFFFF)));
    dcb.XoffLim = static_cast<WORD>(std::clamp(settings.xoffLimit, 0, std::min(limit, 0xFFFF)));
    dcb.XonChar = static_cast<char>(settings.xonChar);
    dcb.XoffChar = static_cast<char>(settings.xoffChar);
    if (dcb.XonChar == dcb.XoffChar) {
        dcb.XonChar = kXon;
        dcb.XoffChar = kXoff;
    }
    if (calls_.SetCommState(device_, &dcb)) return 0;
    return resultForWin32Error(calls_.GetLastError(), Win32Use::Device);
}

// Raises or lowers a control line. A port without modem lines (a pseudo-terminal under Wine
// answers ERROR_NOT_SUPPORTED) stops nothing; any other failure is the device's.
int TSlioWin32Dispatcher::escape(LineEscape function) {
    if (device_ == INVALID_HANDLE_VALUE) return 0;
    const auto unsupported = [](DWORD error) {
        return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ||
               error == ERROR_INVALID_PARAMETER;
    };
    if (!calls_.EscapeCommFunction(device_, static_cast<DWORD>(function))) {
        const DWORD error = calls_.GetLastError();
        return unsupported(error) ? 0 : resultForWin32Error(error, Win32Use::Device);
    }
    // usbser.sys sends the line state to the device only when DTR changes: DTR at its level as
    // it is carries the new RTS level to the wire (the reset pulse of a CDC-ACM cable).
    if (function == LineEscape::SetRts || function == LineEscape::ClearRts) {
        const auto dtr = dtrLevel() ? LineEscape::SetDtr : LineEscape::ClearDtr;
        if (!calls_.EscapeCommFunction(device_, static_cast<DWORD>(dtr))) {
            const DWORD error = calls_.GetLastError();
            if (!unsupported(error)) return resultForWin32Error(error, Win32Use::Device);
        }
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
    if (receiveSide && pendingRead_) calls_.CancelIoEx(device_, &pendingRead_->overlapped);
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

std::chrono::steady_clock::time_point TSlioWin32Dispatcher::now() const {
    return calls_.now();
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

bool TSlioWin32Dispatcher::cancelRequest(std::unique_ptr<Request>& request) {
    calls_.CancelIoEx(device_, &request->overlapped);
    if (::WaitForSingleObject(request->done.get(), kCancelWait_ms) == WAIT_OBJECT_0) {
        DWORD ignored = 0;
        calls_.GetOverlappedResult(device_, &request->overlapped, &ignored, FALSE);
        return true;
    }
    // The driver keeps the request: so does the program, as the driver may still write into
    // it.
    const std::lock_guard guard(abandonedLock_);
    abandoned_.push_back(std::move(request));
    return false;
}

TSlioWin32Dispatcher::Completion TSlioWin32Dispatcher::awaitOverlapped(
    std::unique_ptr<Request>& request, HANDLE alsoWake, DWORD& count) {
    const HANDLE handles[3] = {request->done.get(), stop_.get(), alsoWake};
    const DWORD handleCount = alsoWake ? 3 : 2;
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(handleCount, handles, FALSE, kWorkerWait_ms);
        if (woken == WAIT_TIMEOUT) continue;
        if (woken == WAIT_OBJECT_0) {
            if (calls_.GetOverlappedResult(device_, &request->overlapped, &count, FALSE)) {
                return Completion::Done;
            }
            return calls_.GetLastError() == ERROR_OPERATION_ABORTED ? Completion::Aborted
                                                                    : Completion::Failed;
        }
        if (woken == WAIT_OBJECT_0 + 1 || woken == WAIT_OBJECT_0 + 2) {
            // Stopped or purged: the request is cancelled and waited for a bounded time, so that
            // nothing writes into it once it is gone.
            return cancelRequest(request) ? Completion::Stopped : Completion::Lost;
        }
        return Completion::Failed;
    }
}

int TSlioWin32Dispatcher::statusThreadMain() {
    // A device without comm events (a pseudo-terminal under Wine answers ERROR_NOT_SUPPORTED)
    // has no line or modem status to report; received bytes are then looked for by the read
    // thread at the pace of the wire.
    const auto unsupported = [](DWORD error) {
        return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ||
               error == ERROR_INVALID_PARAMETER;
    };
    const auto noEvents = [this] {
        commEvents_ = false;
        received_.set();
        return 0;
    };
    if (!calls_.SetCommMask(device_, kEventMask)) return noEvents();
    int abortedWaits = 0;
    while (!killRequested()) {
        auto request = std::make_unique<Request>();
        if (!calls_.WaitCommEvent(device_, &request->events, &request->overlapped)) {
            const DWORD error = calls_.GetLastError();
            if (killRequested()) return 0;
            if (unsupported(error)) return noEvents();
            if (error != ERROR_IO_PENDING) return kReadFailure;
            DWORD ignored = 0;
            switch (awaitOverlapped(request, nullptr, ignored)) {
                case Completion::Done: break;
                case Completion::Stopped: return 0;
                case Completion::Lost: return killRequested() ? 0 : kReadFailure;
                case Completion::Aborted:
                    // Nothing of ours aborts this wait but the close; a driver may once (the
                    // CDC driver of Windows 11 does). Again and again is the device going away.
                    if (killRequested()) return 0;
                    if (++abortedWaits < kAbortsBeforeFailure) continue;
                    return kReadFailure;
                case Completion::Failed: return killRequested() ? 0 : kReadFailure;
            }
        }
        abortedWaits = 0;
        const DWORD events = request->events;
        if (events & EV_RXCHAR) received_.set();
        if (events & kStatusEvents) {
            InputQueue.push(std::make_unique<TStatusBuffer>(events & kStatusEvents));
        }
    }
    return 0;
}

// The read thread wakes on the receive event (and at least every 50 ms, or at the pace of the
// wire where the device has no comm events) and reads what the driver holds, with read
// time-outs that ask for what is there at once. Where such a read waits in the driver for the
// next byte instead (a pseudo-terminal under Wine, some adapters' drivers), the round issues
// it: either way a byte reaches the caller as soon as it arrives, and nothing spins.
int TSlioWin32Dispatcher::readThreadMain() {
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
    if (!calls_.SetCommTimeouts(device_, &timeouts)) return kReadFailure;
    const HANDLE wakes[2] = {received_.get(), stop_.get()};
    while (!killRequested()) {
        ::WaitForMultipleObjects(2, wakes, FALSE, commEvents_ ? kReadWait_ms : kWirePaceWait_ms);
        if (killRequested()) break;
        if (const int failure = readAvailable(); failure != 0) return failure;
    }
    return 0;
}

int TSlioWin32Dispatcher::readAvailable() {
    for (;;) {
        auto request = std::make_unique<Request>();
        request->buffer.resize(TDataBuffer().data.size());
        DWORD got = 0;
        BOOL read = FALSE;
        DWORD error = 0;
        // Issued under the input lock, so that a purge either comes before it or cancels it.
        const std::uint64_t purges = readUnderInputLock([&] {
            read = calls_.ReadFile(device_, request->buffer.data(),
                                   static_cast<DWORD>(request->buffer.size()), &got,
                                   &request->overlapped);
            if (!read) error = calls_.GetLastError();
            if (!read && error == ERROR_IO_PENDING) pendingRead_ = request.get();
        });
        Completion completion = Completion::Done;
        if (!read) {
            if (error != ERROR_IO_PENDING) {
                if (error == ERROR_OPERATION_ABORTED && receivePurgeCount() != purges) return 0;
                return killRequested() ? 0 : kReadFailure;
            }
            completion = awaitOverlapped(request, nullptr, got);
            readUnderInputLock([&] { pendingRead_ = nullptr; });
        }
        switch (completion) {
            case Completion::Done: break;
            case Completion::Stopped: return 0;
            case Completion::Lost: return killRequested() ? 0 : kReadFailure;
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
        auto block = std::make_unique<TDataBuffer>();
        std::copy_n(request->buffer.begin(), got, block->data.begin());
        block->used = got;
        queueReceived(std::move(block), purges);
    }
}

bool TSlioWin32Dispatcher::writeAll(const std::vector<std::uint8_t>& block, int& failure) {
    std::size_t offset = 0;
    while (offset < block.size()) {
        // The driver writes from the request's own copy, which outlives a lost cancel.
        auto request = std::make_unique<Request>();
        request->buffer.assign(block.begin() + static_cast<std::ptrdiff_t>(offset), block.end());
        DWORD sent = 0;
        if (!calls_.WriteFile(device_, request->buffer.data(),
                              static_cast<DWORD>(request->buffer.size()), &sent,
                              &request->overlapped)) {
            const DWORD error = calls_.GetLastError();
            if (error != ERROR_IO_PENDING) {
                if (!killRequested()) failure = kWriteFailure;
                return false;
            }
            switch (awaitOverlapped(request, transmitPurge_.get(), sent)) {
                case Completion::Done: break;
                case Completion::Stopped:
                    acknowledgeTransmitPurge();  // a transmit purge, or the close
                    return false;
                case Completion::Lost:
                    acknowledgeTransmitPurge();
                    if (!killRequested()) failure = kWriteFailure;
                    return false;
                case Completion::Aborted: {
                    // A transmit purge aborts the write before it tells this thread; wait for
                    // the word. Anything else that aborts a write is the device going away.
                    const HANDLE purgeOrStop[2] = {transmitPurge_.get(), stop_.get()};
                    if (::WaitForMultipleObjects(2, purgeOrStop, FALSE, kWorkerWait_ms) !=
                        WAIT_TIMEOUT) {
                        acknowledgeTransmitPurge();
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

void TSlioWin32Dispatcher::acknowledgeTransmitPurge() {
    purgeAcknowledged_.set();
    tellWorkerNews();
}

int TSlioWin32Dispatcher::writeThreadMain() {
    const HANDLE wakes[3] = {outputReady_.get(), transmitPurge_.get(), stop_.get()};
    while (!killRequested()) {
        const DWORD woken = ::WaitForMultipleObjects(3, wakes, FALSE, kWorkerWait_ms);
        if (killRequested()) break;
        if (woken == WAIT_OBJECT_0 + 1) {
            acknowledgeTransmitPurge();  // a purge while nothing was being sent
            continue;
        }
        if (woken != WAIT_OBJECT_0) continue;
        for (;;) {
            const std::vector<std::uint8_t> block = takeTransmitBytes();
            if (block.empty()) break;
            int failure = 0;
            const bool written = writeAll(block, failure);
            transmitFinished(written ? block.size() : 0);
            if (failure != 0) return failure;
            if (!written) break;
        }
    }
    return 0;
}

void TSlioWin32Dispatcher::signalOutputReady() {
    outputReady_.set();
}

// Tells the write thread to drop its block and waits for its word, pumping the window's
// messages meanwhile, for a bounded time.
void TSlioWin32Dispatcher::abortTransmit() {
    if (!Started()) return;
    purgeAcknowledged_.reset();
    transmitPurge_.set();
    waitPumping(
        [this] { return ::WaitForSingleObject(purgeAcknowledged_.get(), 0) == WAIT_OBJECT_0; },
        std::chrono::duration_cast<std::chrono::milliseconds>(kPurgeAcknowledgeWait));
}

}  // namespace canprog::serial
