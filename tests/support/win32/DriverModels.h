#pragma once

// Models of the USB-serial drivers our users have, behind the Win32 seam: a port with a wire
// and a module at its far end, whose driver has the habits of one driver class. Each habit is
// written from that driver's documented or reported behaviour (HACKING.md lists where); Wine,
// on which the tests run, has none of them.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "LastErrors.h"
#include "OverlappedResults.h"
#include "serial/win32/Win32Calls.h"
#include "sim/BootloaderEngine.h"

namespace canprog::testing {

// What a driver does differently from the plain model (reads and comm events as the
// documentation says, writes that complete once the bytes are on their way and are counted in
// the output queue until they have left).
struct DriverHabits {
    std::string name = "plain";
    // usbser.sys: the line state goes to the device only with a DTR change, so an RTS escape
    // alone waits for the next one.
    bool lineStateWithDtrOnly = false;
    // A read with ReadIntervalTimeout = MAXDWORD returns at once, with what there is (the
    // documented behaviour); false: it waits for the next byte, as CH340's driver (which
    // ignores the time-outs) and Wine's do.
    bool readsReturnAtOnce = true;
    // usbser.sys on Windows 11: a comm-event wait that ends once as aborted.
    bool spuriousEventAbort = false;
    bool commEvents = true;
    // FTDI's VCP driver: received bytes are held until the latency timer runs out.
    std::chrono::milliseconds latency{0};
    // PL2303, CP210x: the output queue is never counted (writes complete as soon as the driver
    // has the bytes), and a change of the line settings or the close drops what has not left.
    bool outQueueHidden = false;
    bool settingsOrCloseDropFifo = false;
    // A clone driver: a cancelled request is never completed.
    bool cancelNeverCompletes = false;
    // Writes wait for ever (a line held by flow control).
    bool writesNeverComplete = false;
    // Sleep as Windows has it unless a program raises the timer's resolution: a Sleep of a few
    // milliseconds lasts a tick of 15.625 ms. Played on a clock of the model's own, which only
    // the sleeps move on, so that a test sees how long a wait would have lasted.
    bool coarseSleep = false;
    // Another program left the port's DCB with equal XON/XOFF characters and limits above the
    // buffer; this driver refuses such a DCB, as Windows' serial drivers do.
    bool hostileDcb = false;
    // The bytes take their time on the wire: 10 bits a byte at the baud rate.
    bool lineRate = true;
};

// One event on the modelled wire, as a line analyser would see it.
struct WireEvent {
    enum class Kind { Rts, Dtr, ToModule };
    Kind kind;
    int value;  // the line's level, or the byte
    std::chrono::steady_clock::time_point at;
};

class ModelledPort : public serial::Win32Calls {
  public:
    explicit ModelledPort(DriverHabits habits = {},
                          sim::ModuleMemory memory = sim::ModuleMemory::demoModule())
        : habits_(std::move(habits)), engine_(std::move(memory)) {
        dcb_.DCBlength = sizeof dcb_;
        dcb_.BaudRate = 9600;
        dcb_.ByteSize = 8;
        dcb_.fBinary = TRUE;
        dcb_.fDtrControl = DTR_CONTROL_ENABLE;
        dcb_.fRtsControl = RTS_CONTROL_ENABLE;
        dcb_.XonChar = 0x11;
        dcb_.XoffChar = 0x13;
        dcb_.XonLim = 2048;
        dcb_.XoffLim = 512;
        if (habits_.hostileDcb) {
            dcb_.XonChar = dcb_.XoffChar = 0x11;
            dcb_.XonLim = dcb_.XoffLim = 25000;
        }
        wire_ = std::thread([this] { runWire(); });
    }
    ~ModelledPort() override {
        {
            const std::lock_guard guard(lock_);
            ending_ = true;
        }
        changed_.notify_all();
        wire_.join();
    }
    ModelledPort(const ModelledPort&) = delete;
    ModelledPort& operator=(const ModelledPort&) = delete;

    // --- the test's side ---
    std::vector<WireEvent> wire() {
        const std::lock_guard guard(lock_);
        return events_;
    }
    std::vector<sim::FrameRecord> frames() {
        const std::lock_guard guard(lock_);
        return engine_.frames();
    }
    int droppedBytes() {
        const std::lock_guard guard(lock_);
        return dropped_;
    }
    int timerRequests() {
        const std::lock_guard guard(lock_);
        return timerPeriods_;
    }
    bool closed() {
        const std::lock_guard guard(lock_);
        return !open_;
    }
    sim::ModuleMemory memory() {
        const std::lock_guard guard(lock_);
        return engine_.memory();
    }
    // How far the model's own clock has moved with the sleeps (coarseSleep).
    std::chrono::microseconds sleptOnTheClock() {
        const std::lock_guard guard(lock_);
        return slept_;
    }
    int opens() {
        const std::lock_guard guard(lock_);
        return opens_;
    }
    bool readWaiting() {
        const std::lock_guard guard(lock_);
        return pendingRead_.overlapped != nullptr;
    }
    bool writeWaiting() {
        const std::lock_guard guard(lock_);
        return pendingWrite_ != nullptr;
    }
    DCB settings() {
        const std::lock_guard guard(lock_);
        return dcb_;
    }

    // --- the driver ---
    HANDLE CreateFileA(const char*, DWORD, DWORD, DWORD, DWORD) override {
        const std::lock_guard guard(lock_);
        open_ = true;
        ++opens_;
        return kHandle;
    }
    BOOL CloseHandle(HANDLE) override {
        const std::lock_guard guard(lock_);
        if (habits_.settingsOrCloseDropFifo) dropFifo();
        open_ = false;
        if (!habits_.cancelNeverCompletes) abortEverything();
        return TRUE;
    }
    BOOL SetupComm(HANDLE, DWORD inSize, DWORD) override {
        const std::lock_guard guard(lock_);
        inQueue_ = inSize;
        return TRUE;
    }
    BOOL GetCommState(HANDLE, DCB* settings) override {
        const std::lock_guard guard(lock_);
        *settings = dcb_;
        return TRUE;
    }
    BOOL SetCommState(HANDLE, DCB* settings) override {
        const std::lock_guard guard(lock_);
        if (habits_.hostileDcb && (settings->XonChar == settings->XoffChar ||
                                   settings->XonLim > inQueue_ || settings->XoffLim > inQueue_)) {
            return fail(ERROR_INVALID_PARAMETER);
        }
        if (habits_.settingsOrCloseDropFifo) dropFifo();
        dcb_ = *settings;
        setLine(WireEvent::Kind::Dtr, dcb_.fDtrControl == DTR_CONTROL_ENABLE);
        setLine(WireEvent::Kind::Rts, dcb_.fRtsControl == RTS_CONTROL_ENABLE);
        return TRUE;
    }
    BOOL SetCommTimeouts(HANDLE, COMMTIMEOUTS*) override { return TRUE; }
    BOOL SetCommMask(HANDLE, DWORD mask) override {
        const std::lock_guard guard(lock_);
        if (!habits_.commEvents) return fail(ERROR_NOT_SUPPORTED);
        eventMask_ = mask;
        completeWait(TRUE, 0, 0);  // a new mask ends a waiting comm-event wait
        return TRUE;
    }
    BOOL WaitCommEvent(HANDLE, DWORD* mask, OVERLAPPED* overlapped) override {
        const std::lock_guard guard(lock_);
        if (!habits_.commEvents) return fail(ERROR_NOT_SUPPORTED);
        if (!open_) return fail(ERROR_INVALID_HANDLE);
        // A received character is an event once, not as long as it waits to be read.
        if (receivedSinceWait_ && (eventMask_ & EV_RXCHAR)) {
            receivedSinceWait_ = false;
            *mask = EV_RXCHAR;
            return TRUE;
        }
        pendingWait_ = {overlapped, mask};
        if (habits_.spuriousEventAbort && !abortedOnce_) {
            abortedOnce_ = true;
            completeWait(FALSE, ERROR_OPERATION_ABORTED, 0);
        }
        return fail(ERROR_IO_PENDING);
    }
    BOOL ClearCommError(HANDLE, DWORD* errors, COMSTAT* status) override {
        const std::lock_guard guard(lock_);
        *errors = 0;
        *status = COMSTAT{};
        status->cbInQue = static_cast<DWORD>(toTool_.size());
        status->cbOutQue = habits_.outQueueHidden ? 0 : static_cast<DWORD>(fifo_.size());
        return TRUE;
    }
    BOOL EscapeCommFunction(HANDLE, DWORD function) override {
        const std::lock_guard guard(lock_);
        switch (function) {
            case SETRTS:
            case CLRRTS:
                rtsSet_ = function == SETRTS;
                if (!habits_.lineStateWithDtrOnly) setLine(WireEvent::Kind::Rts, rtsSet_);
                return TRUE;
            case SETDTR:
            case CLRDTR:
                setLine(WireEvent::Kind::Dtr, function == SETDTR);
                // The line state goes out whole with the DTR change: RTS as it was set.
                if (habits_.lineStateWithDtrOnly) setLine(WireEvent::Kind::Rts, rtsSet_);
                return TRUE;
            default: return fail(ERROR_INVALID_PARAMETER);
        }
    }
    BOOL PurgeComm(HANDLE, DWORD flags) override {
        const std::lock_guard guard(lock_);
        if (flags & PURGE_RXCLEAR) {
            toTool_.clear();
            held_.clear();
        }
        if (flags & PURGE_TXCLEAR) dropFifo();
        if ((flags & PURGE_TXABORT) && !habits_.cancelNeverCompletes) {
            completeWrite(FALSE, ERROR_OPERATION_ABORTED);
        }
        return TRUE;
    }
    BOOL ReadFile(HANDLE, void* buffer, DWORD size, DWORD* got, OVERLAPPED* overlapped) override {
        const std::lock_guard guard(lock_);
        if (!open_) return fail(ERROR_INVALID_HANDLE);
        if (!toTool_.empty() || habits_.readsReturnAtOnce) {
            *got = take(static_cast<std::uint8_t*>(buffer), size);
            return TRUE;
        }
        pendingRead_ = {overlapped, static_cast<std::uint8_t*>(buffer), size};
        return fail(ERROR_IO_PENDING);
    }
    BOOL WriteFile(HANDLE, const void* buffer, DWORD size, DWORD* sent,
                   OVERLAPPED* overlapped) override {
        const std::lock_guard guard(lock_);
        if (!open_) return fail(ERROR_INVALID_HANDLE);
        if (habits_.writesNeverComplete) {
            pendingWrite_ = overlapped;
            return fail(ERROR_IO_PENDING);
        }
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        auto at = std::max(Clock::now(), fifo_.empty() ? Clock::time_point() : fifo_.back().at);
        for (DWORD i = 0; i < size; ++i) {
            at += byteTime();
            fifo_.push_back({bytes[i], at});
        }
        *sent = size;
        changed_.notify_all();
        return TRUE;
    }
    BOOL GetOverlappedResult(HANDLE, OVERLAPPED* overlapped, DWORD* count, BOOL wait) override {
        std::unique_lock guard(lock_);
        if (wait) {
            changed_.wait(guard, [&] { return results_.has(overlapped); });
        }
        DWORD error = 0;
        return results_.take(overlapped, count, error) ? TRUE : fail(error);
    }
    BOOL CancelIo(HANDLE) override {
        const std::lock_guard guard(lock_);
        if (!habits_.cancelNeverCompletes) abortEverything();
        return TRUE;
    }
    BOOL CancelIoEx(HANDLE, OVERLAPPED* overlapped) override {
        const std::lock_guard guard(lock_);
        if (habits_.cancelNeverCompletes) return TRUE;
        if (pendingRead_.overlapped == overlapped) completeRead(FALSE, ERROR_OPERATION_ABORTED);
        if (pendingWait_.overlapped == overlapped) completeWait(FALSE, ERROR_OPERATION_ABORTED, 0);
        if (pendingWrite_ == overlapped) completeWrite(FALSE, ERROR_OPERATION_ABORTED);
        return TRUE;
    }
    DWORD GetLastError() override { return lastErrors_.get(); }
    void Sleep(DWORD milliseconds) override {
        if (!habits_.coarseSleep) return ::Sleep(milliseconds);
        {
            const std::lock_guard guard(lock_);
            const auto asked = std::chrono::microseconds(milliseconds * 1000);
            slept_ += timerPeriods_ > 0 ? asked : std::max(asked, kTimerTick);
        }
        std::this_thread::yield();
    }
    std::chrono::steady_clock::time_point now() override {
        if (!habits_.coarseSleep) return Clock::now();
        const std::lock_guard guard(lock_);
        return Clock::time_point(slept_);
    }
    UINT timeBeginPeriod(UINT) override {
        const std::lock_guard guard(lock_);
        ++timerPeriods_;
        return TIMERR_NOERROR;
    }
    UINT timeEndPeriod(UINT) override {
        const std::lock_guard guard(lock_);
        --timerPeriods_;
        return TIMERR_NOERROR;
    }

  private:
    using Clock = std::chrono::steady_clock;
    static constexpr DWORD TIMERR_NOERROR = 0;
    static constexpr std::chrono::microseconds kTimerTick{15625};
    struct Timed {
        std::uint8_t byte;
        Clock::time_point at;  // when it has left (the FIFO) or may be read (held)
    };
    using Result = OverlappedResults::Result;
    struct PendingRead {
        OVERLAPPED* overlapped = nullptr;
        std::uint8_t* buffer = nullptr;
        DWORD size = 0;
    };
    struct PendingWait {
        OVERLAPPED* overlapped = nullptr;
        DWORD* mask = nullptr;
    };
    static inline const HANDLE kHandle = reinterpret_cast<HANDLE>(0x4712);

    Clock::duration byteTime() const {
        if (!habits_.lineRate) return Clock::duration::zero();
        return std::chrono::microseconds(10'000'000 / std::max<DWORD>(dcb_.BaudRate, 1));
    }
    BOOL fail(DWORD error) {
        lastErrors_.set(error);
        return FALSE;
    }
    void setLine(WireEvent::Kind kind, bool on) {
        int& level = kind == WireEvent::Kind::Rts ? rtsWire_ : dtrWire_;
        if (level == static_cast<int>(on)) return;
        level = on;
        events_.push_back({kind, level, Clock::now()});
    }
    // What has not left the adapter is lost; what has (its time has come, though the wire
    // thread has not yet looked) reached the module.
    void dropFifo() {
        deliverDue(Clock::now());
        dropped_ += static_cast<int>(fifo_.size());
        fifo_.clear();
    }
    DWORD take(std::uint8_t* buffer, DWORD size) {
        DWORD n = 0;
        for (; n < size && !toTool_.empty(); ++n) {
            buffer[n] = toTool_.front();
            toTool_.pop_front();
        }
        return n;
    }
    void complete(OVERLAPPED* overlapped, Result result) {
        results_.complete(overlapped, result);
        changed_.notify_all();
    }
    void completeRead(BOOL ok, DWORD error) {
        if (!pendingRead_.overlapped) return;
        const DWORD n = ok ? take(pendingRead_.buffer, pendingRead_.size) : 0;
        complete(std::exchange(pendingRead_, {}).overlapped, {ok, error, n});
    }
    void completeWait(BOOL ok, DWORD error, DWORD events) {
        if (!pendingWait_.overlapped) return;
        if (ok) *pendingWait_.mask = events;
        complete(std::exchange(pendingWait_, {}).overlapped, {ok, error, 0});
    }
    void completeWrite(BOOL ok, DWORD error) {
        if (!pendingWrite_) return;
        complete(std::exchange(pendingWrite_, nullptr), {ok, error, 0});
    }
    void abortEverything() {
        completeRead(FALSE, ERROR_OPERATION_ABORTED);
        completeWait(FALSE, ERROR_OPERATION_ABORTED, 0);
        completeWrite(FALSE, ERROR_OPERATION_ABORTED);
    }

    // The wire and the module: bytes leave the FIFO when their time has come and reach the
    // module, its replies come back at the line's pace, and the driver passes them on after
    // its latency.
    void deliverDue(Clock::time_point now) {
        while (!fifo_.empty() && fifo_.front().at <= now) {
            const Timed sent = fifo_.front();
            fifo_.pop_front();
            events_.push_back({WireEvent::Kind::ToModule, sent.byte, sent.at});
            const sim::EngineReply reply = engine_.receive(sent.byte, sent.at);
            auto at = std::max(sent.at + reply.delay, lastBack_);
            for (const std::uint8_t back : reply.bytes) {
                at += byteTime();
                held_.push_back({back, at + habits_.latency});
            }
            lastBack_ = at;
        }
    }
    void runWire() {
        std::unique_lock guard(lock_);
        while (!ending_) {
            const auto now = Clock::now();
            deliverDue(now);
            bool arrived = false;
            while (!held_.empty() && held_.front().at <= now) {
                toTool_.push_back(held_.front().byte);
                held_.pop_front();
                arrived = true;
            }
            if (arrived) {
                receivedSinceWait_ = true;
                if ((eventMask_ & EV_RXCHAR) && pendingWait_.overlapped) {
                    receivedSinceWait_ = false;
                    completeWait(TRUE, 0, EV_RXCHAR);
                }
                completeRead(TRUE, 0);
            }
            auto next = now + std::chrono::milliseconds(5);
            if (!fifo_.empty()) next = std::min(next, fifo_.front().at);
            if (!held_.empty()) next = std::min(next, held_.front().at);
            changed_.wait_until(guard, next);
        }
    }

    DriverHabits habits_;
    std::mutex lock_;
    std::condition_variable changed_;
    sim::BootloaderEngine engine_;
    DCB dcb_{};
    DWORD inQueue_ = 4096;
    DWORD eventMask_ = 0;
    bool open_ = false;
    bool ending_ = false;
    bool rtsSet_ = true;
    int rtsWire_ = -1;
    int dtrWire_ = -1;
    bool abortedOnce_ = false;
    bool receivedSinceWait_ = false;
    int dropped_ = 0;
    int opens_ = 0;
    std::chrono::microseconds slept_{0};
    int timerPeriods_ = 0;
    std::vector<WireEvent> events_;
    std::deque<Timed> fifo_;
    std::deque<Timed> held_;
    std::deque<std::uint8_t> toTool_;
    Clock::time_point lastBack_{};
    PendingRead pendingRead_;
    PendingWait pendingWait_;
    OVERLAPPED* pendingWrite_ = nullptr;
    OverlappedResults results_;
    LastErrors lastErrors_;
    std::thread wire_;
};

// The driver classes as the tests meet them.
inline std::vector<DriverHabits> driverClasses() {
    DriverHabits usbser;
    usbser.name = "usbser.sys";
    usbser.lineStateWithDtrOnly = true;
    usbser.spuriousEventAbort = true;
    DriverHabits ftdi;
    ftdi.name = "FTDI VCP";
    ftdi.latency = std::chrono::milliseconds(16);
    DriverHabits ch340;
    ch340.name = "CH340";
    ch340.readsReturnAtOnce = false;
    DriverHabits pl2303;
    pl2303.name = "PL2303/CP210x";
    pl2303.outQueueHidden = true;
    pl2303.settingsOrCloseDropFifo = true;
    return {DriverHabits{}, usbser, ftdi, ch340, pl2303};
}

}  // namespace canprog::testing
