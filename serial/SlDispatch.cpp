#include "SlDispatch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>

#include "SlExcept.h"
#include "SlStrMap.h"

namespace canprog::serial {

namespace {

constexpr auto kDispatcherWait = std::chrono::milliseconds(50);
constexpr int kDrainPollCount = 5000;
constexpr auto kDrainPollInterval = std::chrono::milliseconds(2);
constexpr int kInitialLastBaud = 115200;

}  // namespace

TSlioBaseDispatcher::TSlioBaseDispatcher(SystemCalls& calls) : calls_(calls) {}

TSlioBaseDispatcher::~TSlioBaseDispatcher() {
    // The platform class has already stopped its threads; this ends the dispatcher thread.
    requestKill();
    if (dispatcherThread_.joinable()) dispatcherThread_.join();
}

int TSlioBaseDispatcher::OpenPort(const std::string& deviceName, int baud, int parity, int dataBits,
                                  int stopBits, int inSize, int outSize, std::uint8_t lineOptions) {
    deviceName_ = deviceName;
    openedAt_ = std::chrono::steady_clock::now();
    int result = openDevice(deviceName);
    if (result == 0) result = sizeQueues(inSize, outSize);
    if (result < 0) {
        ShutPort();
        return result;
    }
    inSize_ = inSize;
    {
        const std::scoped_lock guards(inputLock_, outputLock_);
        receiveRing_.assign(kReceiveRingSize, 0);
        receiveWrite_ = receiveRead_ = 0;
        receiveFull_ = false;
        transmitRing_.assign(static_cast<std::size_t>(std::max(outSize, 1)), 0);
        transmitHead_ = transmitTail_ = 0;
        transmitFull_ = false;
    }
    {
        const std::lock_guard guard(statusLock_);
        result = readDeviceSettings(settings_);
        if (result == 0) {
            dtrLevel_ = (lineOptions & kOptionDtr) != 0;
            rtsLevel_ = (lineOptions & kOptionRts) != 0;
            settings_.dtrControl = (lineOptions & kOptionDtrFlow) ? DtrControl::Handshake
                                   : dtrLevel_                    ? DtrControl::Enable
                                                                  : DtrControl::Disable;
            settings_.rtsControl = (lineOptions & kOptionRtsFlow) ? RtsControl::Handshake
                                   : rtsLevel_                    ? RtsControl::Enable
                                                                  : RtsControl::Disable;
            lastBaud_ = kInitialLastBaud;
        }
    }
    if (result == 0) result = SetLine(baud, parity, dataBits, stopBits);
    if (result == 0) {
        kill_ = false;
        dispatcherThread_ = std::thread([this] { dispatcherThreadMain(); });
        result = startPlatformThreads();
        if (result == 0) started_ = true;
    }
    if (result < 0) ShutPort();
    return result;
}

void TSlioBaseDispatcher::ShutPort() {
    if (shut_) return;
    shut_ = true;
    outputDrained_ = started_ && failureCode_ == 0 && drainTransmit();
    requestKill();
    stopPlatformThreads();
    if (dispatcherThread_.joinable()) dispatcherThread_.join();
    started_ = false;
    purgeDevice(true);
    // Output that has left the ring is on its way; purging it would cut the last frame.
    if (!outputDrained_) purgeDevice(false);
    closeDevice();
    releaseRings();
}

void TSlioBaseDispatcher::requestKill() {
    kill_ = true;
    InputQueue.wake();
}

void TSlioBaseDispatcher::releaseRings() {
    const std::scoped_lock guards(inputLock_, outputLock_);
    receiveRing_.clear();
    transmitRing_.clear();
    receiveWrite_ = receiveRead_ = transmitHead_ = transmitTail_ = 0;
    receiveFull_ = transmitFull_ = false;
}

DeviceSettings TSlioBaseDispatcher::CurrentSettings() {
    const std::lock_guard guard(statusLock_);
    return settings_;
}

// --- line settings ---

int TSlioBaseDispatcher::SetLine(int baud, int parity, int dataBits, int stopBits) {
    const std::lock_guard guard(statusLock_);
    DeviceSettings requested;
    const int read = readDeviceSettings(requested);
    if (read < 0) return read;
    if (stopBits == 0) stopBits = 1;
    if (stopBits > 3) stopBits = 2;
    if (baud != 0) requested.baud = baud;
    if (parity != kParityKeep) requested.parity = parity;
    if (dataBits != kDataBitsKeep) requested.dataBits = dataBits;
    if (stopBits == 1) requested.stopBits = StopBitsField::One;
    if (stopBits == 2) requested.stopBits = StopBitsField::Two;
    if (requested.dataBits == 5) requested.stopBits = StopBitsField::OneAndHalf;
    requested.binary = true;
    requested.parityCheck = false;
    requested.dsrSensitivity = false;
    requested.txContinueOnXoff = true;
    requested.nullStrip = false;
    return applyLineSettings(requested);
}

// Writes new settings once the transmitter has drained; nothing at all when nothing changes.
int TSlioBaseDispatcher::applyLineSettings(DeviceSettings requested) {
    requested.dtrControl = settings_.dtrControl;
    requested.rtsControl = settings_.rtsControl;
    DeviceSettings current;
    if (readDeviceSettings(current) == 0 && current == requested) return 0;
    waitForTransmitterToDrain();
    sleepForCharacters(current);
    const int written = writeDeviceSettings(requested);
    if (written < 0) return written;
    settings_ = requested;
    if (settings_.dtrControl != DtrControl::Handshake) {
        escape(dtrLevel_ ? LineEscape::SetDtr : LineEscape::ClearDtr);
    }
    if (!rs485_ && settings_.rtsControl != RtsControl::Handshake) {
        escape(rtsLevel_ ? LineEscape::SetRts : LineEscape::ClearRts);
    }
    lastBaud_ = requested.baud;
    return 0;
}

void TSlioBaseDispatcher::waitForTransmitterToDrain() {
    for (int poll = 0; poll < kDrainPollCount && OutBuffUsed() > 0; ++poll) {
        calls_.sleep(kDrainPollInterval);
    }
}

// Lets the last characters leave the wire: 18 character times at the last baud rate.
void TSlioBaseDispatcher::sleepForCharacters(const DeviceSettings& settings) {
    const long long baud = lastBaud_ > 0 ? lastBaud_ : kInitialLastBaud;
    int bitsPerCharacter = settings.dataBits + 3;
    if (settings.parity != kParityNone) ++bitsPerCharacter;
    if (settings.stopBits == StopBitsField::One) --bitsPerCharacter;
    long long time100ns = 18 * (10000000 / baud * bitsPerCharacter);
    if (time100ns < 10000) time100ns *= 2;
    const long long milliseconds = (time100ns + 9999) / 10000;
    calls_.sleep(std::chrono::milliseconds(milliseconds));
}

int TSlioBaseDispatcher::SetupQueues(int inSize, int outSize) {
    inSize_ = inSize;
    return sizeQueues(inSize, outSize);
}

int TSlioBaseDispatcher::SetDtr(bool on) {
    const std::lock_guard guard(statusLock_);
    if (settings_.dtrControl == DtrControl::Handshake) return 1;
    dtrLevel_ = on;
    settings_.dtrControl = on ? DtrControl::Enable : DtrControl::Disable;
    return escape(on ? LineEscape::SetDtr : LineEscape::ClearDtr);
}

int TSlioBaseDispatcher::SetRts(bool on) {
    const std::lock_guard guard(statusLock_);
    if (settings_.rtsControl == RtsControl::Handshake) return 1;
    rtsLevel_ = on;
    settings_.rtsControl = on ? RtsControl::Enable : RtsControl::Disable;
    return escape(on ? LineEscape::SetRts : LineEscape::ClearRts);
}

int TSlioBaseDispatcher::SetHardwareFlow(int fullLevel, int resumeLevel, int optionMask) {
    if (resumeLevel > fullLevel || fullLevel > inSize_) return -1002;
    const std::lock_guard guard(statusLock_);
    DeviceSettings requested = settings_;
    requested.outxCtsFlow = (optionMask & 8) != 0;
    requested.outxDsrFlow = (optionMask & 4) != 0;
    requested.dtrControl = (optionMask & 1) ? DtrControl::Handshake
                           : dtrLevel_      ? DtrControl::Enable
                                            : DtrControl::Disable;
    requested.rtsControl = (optionMask & 2) ? RtsControl::Handshake
                           : rs485_         ? RtsControl::Toggle
                           : rtsLevel_      ? RtsControl::Enable
                                            : RtsControl::Disable;
    requested.xoffLimit = inSize_ - fullLevel;
    requested.xonLimit = resumeLevel;
    const int written = writeDeviceSettings(requested);
    if (written == 0) settings_ = requested;
    return written;
}

int TSlioBaseDispatcher::SetSoftwareFlow(int fullLevel, int resumeLevel, int mode) {
    if (resumeLevel > fullLevel || fullLevel > inSize_) return -1002;
    const std::lock_guard guard(statusLock_);
    DeviceSettings requested = settings_;
    requested.inX = (mode & 2) != 0;
    requested.outX = (mode & 1) != 0;
    if (requested.inX || requested.outX) {
        requested.xonChar = 17;
        requested.xoffChar = 19;
    }
    requested.xoffLimit = inSize_ - fullLevel;
    requested.xonLimit = resumeLevel;
    const int written = writeDeviceSettings(requested);
    if (written == 0) settings_ = requested;
    return written;
}

int TSlioBaseDispatcher::SoftwareFlowOff() {
    const std::lock_guard guard(statusLock_);
    DeviceSettings requested = settings_;
    requested.inX = requested.outX = false;
    const int written = writeDeviceSettings(requested);
    if (written == 0) settings_ = requested;
    return written;
}

int TSlioBaseDispatcher::SetXonXoffChars(std::uint8_t xon, std::uint8_t xoff) {
    const std::lock_guard guard(statusLock_);
    DeviceSettings requested = settings_;
    requested.xonChar = xon;
    requested.xoffChar = xoff;
    const int written = writeDeviceSettings(requested);
    if (written == 0) settings_ = requested;
    return written;
}

// --- receive path ---

bool TSlioBaseDispatcher::CharReady() {
    const std::lock_guard guard(inputLock_);
    return receiveRead_ != receiveWrite_ || receiveFull_;
}

int TSlioBaseDispatcher::GetChar(std::uint8_t& byte) {
    bool wasFull = false;
    {
        const std::lock_guard guard(inputLock_);
        if (receiveRing_.empty() || (receiveRead_ == receiveWrite_ && !receiveFull_)) {
            return -3007;
        }
        byte = receiveRing_[receiveRead_];
        receiveRead_ = (receiveRead_ + 1) % kReceiveRingSize;
        wasFull = receiveFull_;
        receiveFull_ = false;
        traceBytes('R', &byte, 1);
    }
    // Room again: let the dispatcher thread move what waits in the input queue.
    if (wasFull) InputQueue.wake();
    return 0;
}

// Copies up to `wanted` queued bytes into the ring at `at`; stops at a status item or an empty
// queue. Blocks whose bytes are all taken leave the queue.
std::size_t TSlioBaseDispatcher::copyIntoRing(std::size_t at, std::size_t wanted) {
    std::size_t copied = 0;
    while (copied < wanted) {
        TIOBuffer* item = InputQueue.peek();
        if (!item) break;
        auto* block = dynamic_cast<TDataBuffer*>(item);
        if (!block) {
            TIOQueue::release(item);
            break;
        }
        const std::size_t n = std::min(block->unread(), wanted - copied);
        std::memcpy(&receiveRing_[at + copied], &block->data[block->taken], n);
        block->taken += n;
        copied += n;
        const bool finished = block->unread() == 0;
        TIOQueue::release(item);
        if (finished) InputQueue.pop();
    }
    return copied;
}

bool TSlioBaseDispatcher::moveReceivedBytes() {
    const std::lock_guard guard(inputLock_);
    if (receiveRing_.empty()) return false;
    if (receiveFull_) {
        const std::string notice = messageForCode(kDispatchBufferFull);
        logBytes(8, std::vector<std::uint8_t>(notice.begin(), notice.end()));
        return false;
    }
    TIOBuffer* first = InputQueue.peek();
    if (!first) return false;
    const auto* block = dynamic_cast<TDataBuffer*>(first);
    const std::size_t available = block ? block->unread() : 0;
    TIOQueue::release(first);
    if (available == 0) return false;

    const std::size_t w = receiveWrite_;
    const std::size_t r = receiveRead_;
    std::size_t contiguous = kReceiveRingSize - w;
    std::size_t room = kReceiveRingSize;
    if (!(r == w)) {
        room = r > w ? r - w : r + kReceiveRingSize - w;
        if (r > w) contiguous = r - w;
    }
    // A whole block may be more than the first block's bytes: copy what the queue holds.
    const std::size_t wanted = std::min(room, InputQueue.totalBytes());
    std::size_t moved = 0;
    const std::size_t firstCopy = copyIntoRing(w, std::min(contiguous, wanted));
    moved += firstCopy;
    receiveWrite_ = (w + firstCopy) % kReceiveRingSize;
    std::vector<std::uint8_t> movedBytes(receiveRing_.begin() + static_cast<long>(w),
                                         receiveRing_.begin() + static_cast<long>(w + firstCopy));
    if (receiveWrite_ == receiveRead_ && firstCopy > 0) receiveFull_ = true;
    if (firstCopy == contiguous && wanted > contiguous) {
        const std::size_t second = copyIntoRing(0, wanted - contiguous);
        moved += second;
        receiveWrite_ = second % kReceiveRingSize;
        if (receiveWrite_ == receiveRead_ && second > 0) receiveFull_ = true;
        movedBytes.insert(movedBytes.end(), receiveRing_.begin(),
                          receiveRing_.begin() + static_cast<long>(second));
    }
    if (moved > 0) logBytes(1, std::move(movedBytes));
    return moved > 0;
}

void TSlioBaseDispatcher::dispatcherThreadMain() {
    bool busy = false;
    while (!killRequested()) {
        if (!busy) InputQueue.waitForNews(kDispatcherWait);
        if (killRequested()) break;
        busy = dropStatusItem();
        if (moveReceivedBytes()) {
            arrival_.signal();
            busy = true;
        }
    }
}

// Takes a status item off the front of the input queue. No trigger is installed in this
// program, so the status needs no further processing. Under the input lock, like every
// removal, so that no item is freed while another thread holds it.
bool TSlioBaseDispatcher::dropStatusItem() {
    const std::lock_guard guard(inputLock_);
    TIOBuffer* first = InputQueue.peek();
    if (!first) return false;
    const bool isStatus = dynamic_cast<TStatusBuffer*>(first) != nullptr;
    TIOQueue::release(first);
    if (isStatus) InputQueue.pop();
    return isStatus;
}

void TSlioBaseDispatcher::dispatchReceived() {
    if (moveReceivedBytes()) arrival_.signal();
}

// --- transmit path ---

int TSlioBaseDispatcher::PutBlock(const std::uint8_t* data, std::size_t length) {
    if (length == 0) return 0;
    {
        const std::lock_guard guard(outputLock_);
        const std::size_t size = transmitRing_.size();
        if (size == 0) return -3004;
        const std::size_t used = transmitFull_ ? size
                                 : transmitTail_ >= transmitHead_
                                     ? transmitTail_ - transmitHead_
                                     : transmitTail_ + size - transmitHead_;
        const std::size_t free = size - used;
        if (free < length) return -3006;
        for (std::size_t i = 0; i < length; ++i) {
            transmitRing_[transmitTail_] = data[i];
            transmitTail_ = (transmitTail_ + 1) % size;
        }
        if (free == length) transmitFull_ = true;
    }
    traceBytes('T', data, length);
    logBytes(2, std::vector<std::uint8_t>(data, data + length));
    signalOutputReady();
    return 0;
}

std::size_t TSlioBaseDispatcher::OutBuffUsed() {
    const std::lock_guard guard(outputLock_);
    const std::size_t size = transmitRing_.size();
    if (transmitFull_) return size;
    if (transmitTail_ >= transmitHead_) return transmitTail_ - transmitHead_;
    return transmitTail_ + size - transmitHead_;
}

std::vector<std::uint8_t> TSlioBaseDispatcher::takeTransmitBytes() {
    const std::lock_guard guard(outputLock_);
    std::vector<std::uint8_t> bytes;
    const std::size_t size = transmitRing_.size();
    if (size == 0) return bytes;
    std::size_t at = transmitHead_;
    std::size_t count = transmitFull_                    ? size
                        : transmitTail_ >= transmitHead_ ? transmitTail_ - transmitHead_
                                                         : transmitTail_ + size - transmitHead_;
    bytes.reserve(count);
    while (count-- > 0) {
        bytes.push_back(transmitRing_[at]);
        at = (at + 1) % size;
    }
    transmitHead_ = transmitTail_ = 0;
    transmitFull_ = false;
    return bytes;
}

// --- purges ---

int TSlioBaseDispatcher::FlushInBuffer() {
    const std::lock_guard guard(inputLock_);
    const int result = purgeDevice(true);
    InputQueue.clear();
    receiveRead_ = receiveWrite_;
    receiveFull_ = false;
    return result;
}

int TSlioBaseDispatcher::FlushOutBuffer() {
    if (!started_) return 0;
    int result = 0;
    {
        const std::lock_guard guard(outputLock_);
        transmitHead_ = transmitTail_ = 0;
        transmitFull_ = false;
        result = purgeDevice(false);
    }
    abortTransmit();
    return result;
}

// --- trace and log ---

std::uint32_t TSlioBaseDispatcher::millisecondsSinceOpen() const {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - openedAt_)
                                          .count());
}

void TSlioBaseDispatcher::traceBytes(char kind, const std::uint8_t* data, std::size_t length) {
    const std::lock_guard guard(recorderLock_);
    if (traceState_ != RecorderState::On) return;
    for (std::size_t i = 0; i < length; ++i) trace_.add(kind, data[i]);
}

void TSlioBaseDispatcher::logBytes(int subKind, std::vector<std::uint8_t> data) {
    const std::lock_guard guard(recorderLock_);
    if (logState_ != RecorderState::On) return;
    LogEntry entry;
    entry.kind = 1;  // Dispatch
    entry.subKind = subKind;
    entry.timeMs = millisecondsSinceOpen();
    entry.data = std::move(data);
    log_.add(std::move(entry));
}

namespace {

// Writes a recorder's text to its file, anew or appended; 0 or the negated error.
int writeRecorderFile(const std::string& file, const std::string& text, bool append) {
    std::ofstream out(file, append ? std::ios::app : std::ios::trunc);
    if (!out) return -(errno != 0 ? errno : EACCES);
    out << text;
    out.close();
    return out ? 0 : -(errno != 0 ? errno : EIO);
}

// The actions on a running or paused recorder that write no file.
template <typename Recorder>
void applyStateAction(Recorder& recorder, RecorderState& state, RecorderAction action) {
    switch (action) {
        case RecorderAction::Off:
            recorder.stop();
            state = RecorderState::Off;
            break;
        case RecorderAction::On:
            if (state == RecorderState::On) recorder.clear();
            state = RecorderState::On;
            break;
        case RecorderAction::Clear: recorder.clear(); break;
        case RecorderAction::Pause:
            if (state == RecorderState::On) state = RecorderState::Paused;
            break;
        default: break;
    }
}

bool writesFile(RecorderAction action) {
    return action == RecorderAction::Dump || action == RecorderAction::Append ||
           action == RecorderAction::AppendAndContinue;
}

// The platform error of a recorder file, as the layer reports it.
int fileResult(int negatedErrno) {
    if (negatedErrno == -ENOENT) return -2;
    if (negatedErrno == -EACCES || negatedErrno == -EPERM) return -5;
    return -(kSystemErrorBase - negatedErrno);
}

}  // namespace

int TSlioBaseDispatcher::TraceAction(RecorderAction action, std::uint32_t entries,
                                     const std::string& file, ByteRendering rendering,
                                     RecorderState& state) {
    const std::lock_guard guard(recorderLock_);
    if (traceState_ == RecorderState::Off) {
        if (action == RecorderAction::On) {
            const int started = trace_.start(entries);
            if (started < 0) return started;
            traceState_ = RecorderState::On;
        }
        state = traceState_;
        return 0;
    }
    int result = 0;
    applyStateAction(trace_, traceState_, action);
    if (writesFile(action)) {
        if (!trace_.empty()) {
            result =
                writeRecorderFile(file, trace_.render(rendering), action != RecorderAction::Dump);
        }
        if (result < 0 || action != RecorderAction::AppendAndContinue) {
            // A file that cannot be written discards the trace; a dump or an append ends it.
            trace_.stop();
            traceState_ = RecorderState::Off;
        } else {
            trace_.clear();
            traceState_ = RecorderState::On;
        }
    }
    state = traceState_;
    return result < 0 ? fileResult(result) : 0;
}

int TSlioBaseDispatcher::LogAction(RecorderAction action, std::uint32_t limitBytes,
                                   const std::string& file, ByteRendering rendering,
                                   RecorderState& state) {
    const std::lock_guard guard(recorderLock_);
    if (logState_ == RecorderState::Off) {
        if (action == RecorderAction::On) {
            log_.start(limitBytes);
            logState_ = RecorderState::On;
        }
        state = logState_;
        return 0;
    }
    int result = 0;
    applyStateAction(log_, logState_, action);
    if (writesFile(action)) {
        if (!log_.empty()) {
            char stamp[32];
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            ::localtime_r(&now, &local);
            std::strftime(stamp, sizeof stamp, "%d/%m/%y, %H:%M:%S", &local);
            result = writeRecorderFile(file, log_.render({deviceName_, stamp}, rendering),
                                       action != RecorderAction::Dump);
        }
        // A log file that cannot be opened leaves the log as it was.
        if (result == 0) {
            if (action == RecorderAction::AppendAndContinue) {
                log_.clear();
            } else {
                log_.stop();
                logState_ = RecorderState::Off;
            }
        }
    }
    state = logState_;
    return result < 0 ? fileResult(result) : 0;
}

// --- worker thread ends ---

void TSlioBaseDispatcher::threadEnded(int code) {
    if (code < 0) {
        int expected = 0;
        failureCode_.compare_exchange_strong(expected, code);
        requestKill();
        arrival_.signal();  // a waiting front end looks, and learns of the failure
    }
    --runningThreads_;
}

}  // namespace canprog::serial
