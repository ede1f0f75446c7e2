#include "SlTrace.h"

#include <cerrno>
#include <cstdio>
#include <fstream>

#include "ErrnoCodes.h"
#include "SlErrors.h"
#include "SlMisc.h"
#include "SlStrMap.h"
#include "base/Utf8Path.h"

namespace canprog::serial {

namespace {

constexpr std::size_t kTraceWrapColumn = 78;
constexpr std::size_t kLogFirstDataColumn = 45;
constexpr std::size_t kLogWrapColumn = 79;
constexpr int kModemStatusSubKind = 4;
constexpr int kStatusSubKind = 15;

// One byte as text, and how many columns it takes.
std::string renderByte(std::uint8_t byte, ByteRendering rendering) {
    char text[8];
    if (rendering.allHex) {
        std::snprintf(text, sizeof text, "[%02X]", byte);
        return text;
    }
    const int firstPrintable = rendering.hex ? 33 : 32;
    if (byte >= firstPrintable && byte <= 126) return std::string(1, static_cast<char>(byte));
    std::snprintf(text, sizeof text, rendering.hex ? "[%02X]" : "[%d]", byte);
    return text;
}

std::string groupHeader(char kind) {
    if (kind == 'R') return "Receive: ";
    if (kind == 'T') return "Transmit: ";
    return std::string("Special-") + kind + ": ";
}

std::string vocabulary(std::int32_t code) {
    return messageForCode(code);
}

std::string kindName(int kind) {
    return kind >= 0 && kind <= 20 ? vocabulary(kLogKindNameBase + kind) : std::string();
}

std::string subKindName(int subKind) {
    return subKind >= 1 && subKind <= 19 ? vocabulary(kLogSubKindNameBase + subKind)
                                         : std::string();
}

std::string modemBitNames(std::uint32_t bits) {
    std::string names;
    for (int bit = 0; bit < 8; ++bit) {
        if (bits & (1u << bit)) names += vocabulary(kModemBitNameBase + bit);
    }
    while (!names.empty() && names.back() == ' ') names.pop_back();
    return names;
}

}  // namespace

// --- trace ---

int TraceRecorder::start(std::uint32_t entries) {
    if (entries > kMaxTraceEntries) return toCode(SlioError::BadArgument);
    entries_.assign(std::max<std::uint32_t>(entries, 1), Entry{0, 0});
    insert_ = 0;
    wrapped_ = false;
    return 0;
}

void TraceRecorder::stop() {
    entries_.clear();
    entries_.shrink_to_fit();
    insert_ = 0;
    wrapped_ = false;
}

void TraceRecorder::add(char kind, std::uint8_t byte) {
    if (entries_.empty()) return;
    entries_[insert_] = {kind, byte};
    if (++insert_ == entries_.size()) {
        insert_ = 0;
        wrapped_ = true;
    }
}

void TraceRecorder::clear() {
    insert_ = 0;
    wrapped_ = false;
}

std::string TraceRecorder::render(ByteRendering rendering) const {
    std::string out;
    const std::size_t total = count();
    const std::size_t first = wrapped_ ? insert_ : 0;
    char previous = 0;
    std::size_t column = 0;
    for (std::size_t i = 0; i < total; ++i) {
        const Entry& entry = entries_[(first + i) % entries_.size()];
        if (i == 0 || entry.kind != previous) {
            if (i != 0) out += "\n\n";
            out += groupHeader(entry.kind) + "\n";
            column = 0;
            previous = entry.kind;
        }
        const std::string text = renderByte(entry.byte, rendering);
        if (column + text.size() > kTraceWrapColumn) {
            out += '\n';
            column = 0;
        }
        out += text;
        column += text.size();
    }
    if (total > 0) out += '\n';
    return out;
}

// --- log ---

void LogRecorder::start(std::uint32_t limitBytes) {
    limit_ = std::min(limitBytes, kMaxLogBytes);
    running_ = true;
}

void LogRecorder::stop() {
    running_ = false;
    clear();
}

void LogRecorder::add(LogEntry entry) {
    if (!running_) return;
    while (!entries_.empty() && queuedBytes_ + entry.data.size() > limit_) {
        queuedBytes_ -= entries_.front().data.size();
        entries_.pop_front();
    }
    queuedBytes_ += entry.data.size();
    entries_.push_back(std::move(entry));
}

void LogRecorder::clear() {
    entries_.clear();
    queuedBytes_ = 0;
}

std::string LogRecorder::render(const LogHeader& header, ByteRendering rendering) const {
    std::string out;
    out += std::string("SLIO ") + TSlioBaseComponent::kVersion + "\n";
    out += "Compiler : GCC " __VERSION__ "\n";
    out += "Operating System : " + header.operatingSystem + "\n";
    out += "Device: " + header.device + "\n";
    out += "Date/time: " + header.dateTime + "\n";
    out += "Time      Type      SubType       Data      OtherData\n";
    out += "--------  --------  ------------  --------  ---------\n";
    for (const LogEntry& entry : entries_) {
        // Seven digits of milliseconds with a point before the last three: "0012.345".
        const std::uint32_t ms = entry.timeMs % 10000000u;
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "%04u.%03u", ms / 1000, ms % 1000);
        char columns[96];
        std::snprintf(columns, sizeof columns, "%8s  %-8s  %-12s  %08x  ", stamp,
                      kindName(entry.kind).c_str(), subKindName(entry.subKind).c_str(),
                      entry.extra);
        out += columns;
        if ((entry.kind == 5 || entry.kind == 6) && entry.subKind == kStatusSubKind) {
            const int type = entry.data.empty() ? 0 : entry.data[0];
            if (type >= 0 && type <= 5) out += vocabulary(kStatusTypeNameBase + type);
            out += '\n';
            continue;
        }
        // Text entries of the "User" kind stay characters even when every byte goes in hex.
        ByteRendering forEntry = rendering;
        if (entry.kind == 19) forEntry.allHex = false;
        std::size_t column = kLogFirstDataColumn;
        for (const std::uint8_t byte : entry.data) {
            const std::string text = renderByte(byte, forEntry);
            if (column + text.size() > kLogWrapColumn) {
                out += "\n" + std::string(kLogFirstDataColumn - 1, ' ');
                column = kLogFirstDataColumn;
            }
            out += text;
            column += text.size();
        }
        if (entry.subKind == kModemStatusSubKind && !entry.data.empty()) {
            out.append("(").append(modemBitNames(entry.extra)).append(")");
        }
        out += '\n';
    }
    return out;
}

// --- the channels: states and file actions ---

namespace {

// Writes a recorder's text to its file, anew or appended; 0 or the file's result code.
int writeRecorderFile(const std::string& file, const std::string& text, bool append) {
    errno = 0;
    std::ofstream out(utf8Path(file), append ? std::ios::app : std::ios::trunc);
    if (!out) return resultForErrno(errno != 0 ? errno : EACCES, ErrnoUse::File);
    out << text;
    out.close();
    return out ? 0 : resultForErrno(errno != 0 ? errno : EIO, ErrnoUse::File);
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

}  // namespace

int TraceChannel::act(RecorderAction action, std::uint32_t entries, const std::string& file,
                      ByteRendering rendering) {
    if (state_ == RecorderState::Off) {
        if (action == RecorderAction::On) {
            const int started = recorder_.start(entries);
            if (started < 0) return started;
            state_ = RecorderState::On;
        }
        return 0;
    }
    int result = 0;
    applyStateAction(recorder_, state_, action);
    if (writesFile(action)) {
        if (!recorder_.empty()) {
            result = writeRecorderFile(file, recorder_.render(rendering),
                                       action != RecorderAction::Dump);
        }
        if (result < 0 || action != RecorderAction::AppendAndContinue) {
            // A file that cannot be written discards the trace; a dump or an append ends it.
            recorder_.stop();
            state_ = RecorderState::Off;
        } else {
            recorder_.clear();
            state_ = RecorderState::On;
        }
    }
    return result;
}

void TraceChannel::add(char kind, const std::uint8_t* data, std::size_t length) {
    if (state_ != RecorderState::On) return;
    for (std::size_t i = 0; i < length; ++i) recorder_.add(kind, data[i]);
}

int LogChannel::act(RecorderAction action, std::uint32_t limitBytes, const std::string& file,
                    ByteRendering rendering, const LogHeader& header) {
    if (state_ == RecorderState::Off) {
        if (action == RecorderAction::On) {
            recorder_.start(limitBytes);
            state_ = RecorderState::On;
        }
        return 0;
    }
    int result = 0;
    applyStateAction(recorder_, state_, action);
    if (writesFile(action)) {
        if (!recorder_.empty()) {
            result = writeRecorderFile(file, recorder_.render(header, rendering),
                                       action != RecorderAction::Dump);
        }
        // A log file that cannot be opened leaves the log as it was.
        if (result == 0) {
            if (action == RecorderAction::AppendAndContinue) {
                recorder_.clear();
            } else {
                recorder_.stop();
                state_ = RecorderState::Off;
            }
        }
    }
    return result;
}

void LogChannel::add(LogEntry entry) {
    if (state_ == RecorderState::On) recorder_.add(std::move(entry));
}

}  // namespace canprog::serial
