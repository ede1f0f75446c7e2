#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace canprog::serial {

// What a trace or log action leaves the recorder as.
enum class RecorderState { Off, On, Paused };

// Actions on a recorder, in the order of the component's TTraceLogState values.
enum class RecorderAction { Off, On, Dump, Append, Clear, Pause, AppendAndContinue };

inline constexpr std::uint32_t kMaxTraceEntries = 4000000;
inline constexpr std::uint32_t kMaxLogBytes = 16000000;

// Writes bytes as the trace and log files show them: printable characters as themselves,
// others as [hex] or [decimal].
struct ByteRendering {
    bool hex = true;      // non-printable bytes in hex, else in decimal
    bool allHex = false;  // every byte in hex
};

// The character trace: a circular array of (kind, byte) entries. 'R' is a byte the
// application took from the receive ring, 'T' one it put into the transmit ring.
class TraceRecorder {
  public:
    // 0, or -1002 when the size is above the limit.
    int start(std::uint32_t entries);
    void stop();
    bool running() const { return !entries_.empty(); }
    void add(char kind, std::uint8_t byte);
    void clear();
    bool empty() const { return count() == 0; }
    std::size_t count() const { return wrapped_ ? entries_.size() : insert_; }
    // The file's text, oldest entry first.
    std::string render(ByteRendering rendering) const;

  private:
    struct Entry {
        char kind;
        std::uint8_t byte;
    };
    std::vector<Entry> entries_;
    std::size_t insert_ = 0;
    bool wrapped_ = false;
};

// One entry of the dispatcher log.
struct LogEntry {
    int kind = 0;
    int subKind = 0;
    std::uint32_t timeMs = 0;
    std::vector<std::uint8_t> data;
    std::uint32_t extra = 0;
};

// The identification lines at the head of a log file.
struct LogHeader {
    std::string device;
    std::string dateTime;  // "dd/mm/yy, hh:mm:ss"
    std::string operatingSystem;
};

// The dispatcher log: entries with time stamps, at most `limit` data bytes queued; the
// oldest entries go first when the limit is passed.
class LogRecorder {
  public:
    void start(std::uint32_t limitBytes);
    void stop();
    bool running() const { return running_; }
    void add(LogEntry entry);
    void clear();
    bool empty() const { return entries_.empty(); }
    std::size_t queuedBytes() const { return queuedBytes_; }
    const std::deque<LogEntry>& entries() const { return entries_; }
    std::string render(const LogHeader& header, ByteRendering rendering) const;

  private:
    std::deque<LogEntry> entries_;
    std::size_t queuedBytes_ = 0;
    std::uint32_t limit_ = 10000;
    bool running_ = false;
};

// The character trace as the component's Tracing property drives it: on, off, paused, and the
// actions that write its file. Not locked: the dispatcher guards it.
class TraceChannel {
  public:
    // Acts on the trace; 0, -1002 for a size above the limit, or the code of a file that could
    // not be written (the trace is then discarded).
    int act(RecorderAction action, std::uint32_t entries, const std::string& file,
            ByteRendering rendering);
    RecorderState state() const { return state_; }
    void add(char kind, const std::uint8_t* data, std::size_t length);

  private:
    TraceRecorder recorder_;
    RecorderState state_ = RecorderState::Off;
};

// The dispatcher log as the component's Logging property drives it.
class LogChannel {
  public:
    // Acts on the log; 0 or the code of a file that could not be written (the log then stays).
    int act(RecorderAction action, std::uint32_t limitBytes, const std::string& file,
            ByteRendering rendering, const LogHeader& header);
    RecorderState state() const { return state_; }
    bool on() const { return state_ == RecorderState::On; }
    void add(LogEntry entry);

  private:
    LogRecorder recorder_;
    RecorderState state_ = RecorderState::Off;
};

}  // namespace canprog::serial
