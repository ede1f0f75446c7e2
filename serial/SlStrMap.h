#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace canprog::serial {

struct ErrorMessageRow {
    std::int32_t code;  // absolute value
    std::string message;
};

// The serial layer's message table, sorted by the absolute value of the code: error messages,
// file and device errors, and the vocabulary of the dispatcher log.
std::span<const ErrorMessageRow> errorMessageTable();

// The message for a result code (its absolute value), at most 255 characters. Falls back to
// the system's own text for that error number, made one line; empty when neither has one.
std::string messageForCode(std::int32_t code);

// A system error number without a code of its own (errno on POSIX, a Win32 error code on
// Windows) travels as -(kSystemErrorBase + number); its message is the system's text.
inline constexpr std::int32_t kSystemErrorBase = 16000;
inline constexpr std::int32_t kSystemErrorLast = kSystemErrorBase + 65535;

// Codes of the log vocabulary.
inline constexpr std::int32_t kLogKindNameBase = 15001;     // + kind 0..20
inline constexpr std::int32_t kLogSubKindNameBase = 15031;  // + sub-kind 0..19
inline constexpr std::int32_t kModemBitNameBase = 15061;    // + bit 0..7
inline constexpr std::int32_t kStatusTypeNameBase = 15071;  // + status type 0..5
inline constexpr std::int32_t kDispatchBufferFull = 15081;

}  // namespace canprog::serial
