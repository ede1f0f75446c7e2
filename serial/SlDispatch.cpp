#include "SlDispatch.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "SlStrMap.h"
#include "SystemInfo.h"

namespace canprog::serial {

namespace {

constexpr auto kDispatcherWait = std::chrono::milliseconds(50);
// How long a change of the line settings waits for the transmit ring to empty, by the clock:
// a count of sleeps would last many times longer where the system's sleeps are coarse.
constexpr auto kTransmitterDrainWait = std::chrono::seconds(10);
constexpr auto kDrainPollInterval = std::chrono::milliseconds(2);
// What an adapter's own buffer may add to the wire time of the bytes handed to its driver.
constexpr auto kWireMargin = std::chrono::milliseconds(10);
constexpr int kInitialLastBaud = 115200;
constexpr auto kThreadStartWait = std::chrono::milliseconds(3000);
constexpr auto kThreadEndWait = std::chrono::milliseconds(5000);
constexpr auto kLongestDrain = std::chrono::seconds(2);
constexpr auto kDrainMargin = std::chrono::milliseconds(500);
constexpr auto kLongestUnpumpedSleep = std::chrono::milliseconds(100);

}  // namespace

TSlioBaseDispatcher::TSlioBaseDispatcher() = default;

TSlioBaseDispatcher::~TSlioBaseDispatcher() {
    // The platform class has already shut the port; this only makes sure no thread outlives
    // the object whatever happened before.
    requestKill();
    for (std::thread& worker : workers_) {
        if (worker.joinable()) worker.join();
    }
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
        receiveRing_.allocate(kReceiveRingSize);
        transmitRing_.allocate(static_cast<std::size_t>(std::max(outSize, 1)));
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
        if (!startWorker([this] { return dispatcherThreadMain(); }, kReadFailure)) {
            result = toCode(SlioError::Unspecified);
        }
    }
    if (result == 0) result = startPlatformThreads();
    if (result == 0) started_ = true;
    if (result < 0) ShutPort();
    return result;
}

void TSlioBaseDispatcher::ShutPort() {
    if (shut_) return;
    shut_ = true;
    outputDrained_ = started_ && failureCode_ == 0 && drainTransmit();
    // The driver's queue being empty does not mean the wire is: an adapter's own buffer still
    // holds what the driver handed it (the last frame, a restart). The line settings are put
    // back and the port closed once it has left.
    if (outputDrained_) waitForTheWire();
    stopWorkers();
    started_ = false;
    purgeDevice(true);
    // Output that has left the ring is on its way; purging it would cut the last frame.
    if (!outputDrained_) purgeDevice(false);
    closeDevice();
    releaseRings();
}

void TSlioBaseDispatcher::pause(std::chrono::microseconds duration) {
    std::this_thread::sleep_for(duration);
}

std::chrono::steady_clock::time_point TSlioBaseDispatcher::now() const {
    return std::chrono::steady_clock::now();
}

bool TSlioBaseDispatcher::waitPumping(const std::function<bool()>& done,
                                      std::chrono::milliseconds limit) {
    return waitForWorkers(done, std::chrono::steady_clock::now() + limit);
}

void TSlioBaseDispatcher::tellWorkerNews() {
    workerNews_.signal();
}

std::chrono::microseconds TSlioBaseDispatcher::wireTime(std::size_t bytes) const {
    return std::chrono::microseconds(10'000'000 / std::max(lastBaud_.load(), 1)) *
           static_cast<long>(bytes);
}

void TSlioBaseDispatcher::waitForTheWire() {
    std::chrono::steady_clock::time_point freeAt;
    {
        const std::lock_guard guard(wireLock_);
        freeAt = wireFreeAt_;
    }
    const auto deadline = freeAt + kWireMargin;
    while (sleepOnWorkerNews(deadline, std::chrono::ceil<std::chrono::milliseconds>(
                                           deadline - std::chrono::steady_clock::now()))) {}
}

// --- worker threads ---

bool TSlioBaseDispatcher::startWorker(std::function<int()> body, int failureOnException) {
    // Counted apart from the running threads: a thread may end before this wait looks.
    const int startedBefore = threadsStarted_.load();
    workers_.emplace_back([this, body = std::move(body), failureOnException] {
        ++runningThreads_;
        ++threadsStarted_;
        workerNews_.signal();
        int code = 0;
        try {
            code = body();
        } catch (const std::bad_alloc&) {
            code = kNoBufferMemory;
        } catch (...) {
            code = failureOnException;
        }
        threadEnded(code);
    });
    return waitForWorkers([&] { return threadsStarted_.load() > startedBefore || killRequested(); },
                          std::chrono::steady_clock::now() + kThreadStartWait);
}

void TSlioBaseDispatcher::threadEnded(int code) {
    if (code < 0) {
        int expected = 0;
        failureCode_.compare_exchange_strong(expected, code);
        requestKill();
        arrival_.signal();  // a waiting front end looks, and learns of the failure
    }
    --runningThreads_;
    workerNews_.signal();
}

// Ends every worker thread: the stop request, a wake-up for each, then a wait that lets the
// window live until all have ended.
void TSlioBaseDispatcher::stopWorkers() {
    requestKill();
    wakePlatformThreads();
    waitForWorkers([this] { return runningThreads_.load() == 0; },
                   std::chrono::steady_clock::now() + kThreadEndWait);
    for (std::thread& worker : workers_) {
        if (worker.joinable()) worker.join();
    }
    workers_.clear();
}

template <typename Done>
bool TSlioBaseDispatcher::waitForWorkers(Done done,
                                         std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        // Cleared before the look, so that news arriving after it wakes the sleep below.
        workerNews_.clear();
        if (done()) return true;
        if (!sleepOnWorkerNews(deadline, kLongestUnpumpedSleep)) return false;
    }
}

bool TSlioBaseDispatcher::sleepOnWorkerNews(std::chrono::steady_clock::time_point deadline,
                                            std::chrono::milliseconds longest) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    if (waitPump_) {
        waitPump_->pumpUntil(workerNews_.handle());
    } else {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        workerNews_.wait(std::min(left, longest));
    }
    return true;
}

// Lets the bytes already handed to the port leave before it closes, for a bounded time: a
// restart command written just before closing must still reach the module. Waits on the write
// thread's news while the ring holds bytes, then for the time the device needs for its own.
bool TSlioBaseDispatcher::drainTransmit() {
    const auto perByte = std::chrono::microseconds(10'000'000 / std::max(lastBaud_.load(), 1));
    const auto budget = std::min<std::chrono::microseconds>(
        kLongestDrain, perByte * static_cast<long>(OutBuffUsed() + 64) + kDrainMargin);
    const auto deadline = std::chrono::steady_clock::now() + budget;
    for (;;) {
        workerNews_.clear();
        if (FailureCode() != 0) return false;
        auto longest = kLongestUnpumpedSleep;
        if (OutBuffUsed() == 0 && !transmitting_) {
            const int queued = deviceOutputQueued();
            if (queued <= 0) return true;
            // Nothing signals the device's own queue running empty: sleep for its wire time.
            longest = std::chrono::ceil<std::chrono::milliseconds>(perByte * queued) +
                      std::chrono::milliseconds(1);
        }
        if (!sleepOnWorkerNews(deadline, longest)) return false;
    }
}

void TSlioBaseDispatcher::requestKill() {
    kill_ = true;
    InputQueue.wake();
}

void TSlioBaseDispatcher::releaseRings() {
    const std::scoped_lock guards(inputLock_, outputLock_);
    receiveRing_.allocate(0);
    transmitRing_.allocate(0);
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
    waitForTheWire();
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
    const auto deadline = now() + kTransmitterDrainWait;
    while (OutBuffUsed() > 0 && now() < deadline) pause(kDrainPollInterval);
}

// Lets the last characters leave the wire: 18 character times at the last baud rate.
void TSlioBaseDispatcher::sleepForCharacters(const DeviceSettings& settings) {
    const long long baud = lastBaud_ > 0 ? lastBaud_.load() : kInitialLastBaud;
    int bitsPerCharacter = settings.dataBits + 3;
    if (settings.parity != kParityNone) ++bitsPerCharacter;
    if (settings.stopBits == StopBitsField::One) --bitsPerCharacter;
    long long time100ns = 18 * (10000000 / baud * bitsPerCharacter);
    if (time100ns < 10000) time100ns *= 2;
    const long long milliseconds = (time100ns + 9999) / 10000;
    pause(std::chrono::milliseconds(milliseconds));
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
    if (resumeLevel > fullLevel || fullLevel > inSize_) return toCode(SlioError::BadArgument);
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
    if (resumeLevel > fullLevel || fullLevel > inSize_) return toCode(SlioError::BadArgument);
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
    return !receiveRing_.empty();
}

int TSlioBaseDispatcher::GetChar(std::uint8_t& byte) {
    bool wasFull = false;
    {
        const std::lock_guard guard(inputLock_);
        wasFull = receiveRing_.capacity() > 0 && receiveRing_.room() == 0;
        if (!receiveRing_.take(byte)) return toCode(SlioError::BufferIsEmpty);
        traceBytes('R', &byte, 1);
    }
    // Room again: let the dispatcher thread move what waits in the input queue.
    if (wasFull) InputQueue.wake();
    return 0;
}

// Copies queued bytes into `into` until it is full; stops at a status item or an empty queue.
// Blocks whose bytes are all taken leave the queue.
std::size_t TSlioBaseDispatcher::copyFromQueue(std::span<std::uint8_t> into) {
    std::size_t copied = 0;
    while (copied < into.size()) {
        TIOBuffer* item = InputQueue.peek();
        if (!item) break;
        auto* block = dynamic_cast<TDataBuffer*>(item);
        if (!block) {
            TIOQueue::release(item);
            break;
        }
        const std::size_t n = std::min(block->unread(), into.size() - copied);
        std::memcpy(into.data() + copied, &block->data[block->taken], n);
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
    if (receiveRing_.capacity() == 0) return false;
    if (receiveRing_.room() == 0) {
        const std::string notice = messageForCode(kDispatchBufferFull);
        logBytes(LoggedBytes::Notice, std::vector<std::uint8_t>(notice.begin(), notice.end()));
        return false;
    }
    TIOBuffer* first = InputQueue.peek();
    if (!first) return false;
    const auto* block = dynamic_cast<TDataBuffer*>(first);
    const std::size_t available = block ? block->unread() : 0;
    TIOQueue::release(first);
    if (available == 0) return false;

    // A whole block may be more than the first block's bytes: copy what the queue holds, in
    // the ring's two free runs at most.
    std::size_t wanted = std::min(receiveRing_.room(), InputQueue.totalBytes());
    std::vector<std::uint8_t> movedBytes;
    while (wanted > 0) {
        const std::span<std::uint8_t> run = receiveRing_.freeRun();
        const std::size_t copied = copyFromQueue(run.first(std::min(run.size(), wanted)));
        movedBytes.insert(movedBytes.end(), run.begin(),
                          run.begin() + static_cast<std::ptrdiff_t>(copied));
        receiveRing_.commit(copied);
        wanted -= copied;
        if (copied < run.size()) break;
    }
    if (!movedBytes.empty()) logBytes(LoggedBytes::Received, movedBytes);
    return !movedBytes.empty();
}

int TSlioBaseDispatcher::dispatcherThreadMain() {
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
    return 0;
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

void TSlioBaseDispatcher::queueReceived(std::unique_ptr<TDataBuffer> block,
                                        std::uint64_t purgesAtRead) {
    {
        const std::lock_guard guard(inputLock_);
        if (purgesAtRead != receivePurges_) return;  // read before a purge: stale
        lastReceived_.store(std::chrono::steady_clock::now().time_since_epoch().count());
        InputQueue.push(std::move(block));
    }
    {
        // The module answers what it has received: what was sent before the last reply has
        // left the wire, at most what was sent since may still be on it. (Without this a
        // module that answers faster than the wire, as a simulated one on a pseudo-terminal
        // does, would leave the wire's reckoning ever further ahead of the clock.)
        const std::lock_guard guard(wireLock_);
        wireFreeAt_ = std::min(
            wireFreeAt_, std::chrono::steady_clock::now() + wireTime(handedOverSinceReceived_));
        handedOverSinceReceived_ = 0;
    }
    // Straight into the ring, so that a byte reaches the caller without waiting for the
    // dispatcher thread to wake; the dispatcher thread catches up on the rest.
    if (moveReceivedBytes()) arrival_.signal();
}

// --- transmit path ---

int TSlioBaseDispatcher::PutBlock(const std::uint8_t* data, std::size_t length) {
    if (length == 0) return 0;
    bool wasEmpty = false;
    {
        const std::lock_guard guard(outputLock_);
        if (transmitRing_.capacity() == 0) return toCode(SlioError::PutBlockFail);
        const std::size_t used = transmitRing_.used();
        if (!transmitRing_.put(std::span(data, length))) {
            return toCode(SlioError::OutputBufferTooSmall);
        }
        // Only the first bytes into an empty ring need to wake the write thread: it takes
        // everything the ring holds, again and again, until it finds it empty.
        wasEmpty = used == 0;
    }
    traceBytes('T', data, length);
    logBytes(LoggedBytes::Transmitted, std::vector<std::uint8_t>(data, data + length));
    if (wasEmpty) signalOutputReady();
    return 0;
}

std::size_t TSlioBaseDispatcher::OutBuffUsed() {
    const std::lock_guard guard(outputLock_);
    return transmitRing_.used();
}

std::vector<std::uint8_t> TSlioBaseDispatcher::takeTransmitBytes() {
    const std::lock_guard guard(outputLock_);
    std::vector<std::uint8_t> bytes = transmitRing_.takeAll();
    if (!bytes.empty()) transmitting_ = true;
    return bytes;
}

void TSlioBaseDispatcher::transmitFinished(std::size_t handedOver) {
    // The bytes handed to the driver are on the wire one after another: the wire is busy until
    // the last of them has left, however early the driver said it had them.
    {
        const std::lock_guard guard(wireLock_);
        const auto start = std::max(std::chrono::steady_clock::now(), wireFreeAt_);
        wireFreeAt_ = start + wireTime(handedOver);
        handedOverSinceReceived_ += handedOver;
    }
    transmitting_ = false;
    workerNews_.signal();
}

// --- purges ---

int TSlioBaseDispatcher::FlushInBuffer() {
    const std::lock_guard guard(inputLock_);
    ++receivePurges_;
    const int result = purgeDevice(true);
    InputQueue.clear();
    receiveRing_.clear();
    return result;
}

int TSlioBaseDispatcher::FlushOutBuffer() {
    if (!started_) return 0;
    int result = 0;
    {
        const std::lock_guard guard(outputLock_);
        transmitRing_.clear();
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
    trace_.add(kind, data, length);
}

void TSlioBaseDispatcher::logBytes(LoggedBytes kind, std::vector<std::uint8_t> data) {
    const std::lock_guard guard(recorderLock_);
    if (!log_.on()) return;
    LogEntry entry;
    entry.kind = 1;  // Dispatch
    entry.subKind = static_cast<int>(kind);
    entry.timeMs = millisecondsSinceOpen();
    entry.data = std::move(data);
    log_.add(std::move(entry));
}

int TSlioBaseDispatcher::TraceAction(RecorderAction action, std::uint32_t entries,
                                     const std::string& file, ByteRendering rendering,
                                     RecorderState& state) {
    const std::lock_guard guard(recorderLock_);
    const int result = trace_.act(action, entries, file, rendering);
    state = trace_.state();
    return result;
}

int TSlioBaseDispatcher::LogAction(RecorderAction action, std::uint32_t limitBytes,
                                   const std::string& file, ByteRendering rendering,
                                   RecorderState& state) {
    const std::lock_guard guard(recorderLock_);
    const LogHeader header{deviceName_, localDateTimeStamp(), operatingSystemName()};
    const int result = log_.act(action, limitBytes, file, rendering, header);
    state = log_.state();
    return result;
}

}  // namespace canprog::serial
