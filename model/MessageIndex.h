#pragma once

#include <cstddef>

namespace canprog {

// The entries of the message table, by meaning; their texts change with the language.
namespace msg {
inline constexpr std::size_t Cancel = 0;
inline constexpr std::size_t NoBootloader = 1;
inline constexpr std::size_t ErrorLoadingFile = 2;
inline constexpr std::size_t Ok = 3;
inline constexpr std::size_t ErrorOpeningPort = 4;
inline constexpr std::size_t TransmissionError = 5;
inline constexpr std::size_t Searching = 6;
inline constexpr std::size_t FlashWriting = 7;
inline constexpr std::size_t FlashWritingError = 8;
inline constexpr std::size_t NoFlashData = 9;
inline constexpr std::size_t EepromWriting = 10;
inline constexpr std::size_t EepromWritingError = 11;
inline constexpr std::size_t NoEepromData = 12;
inline constexpr std::size_t Finished = 13;
inline constexpr std::size_t NoFileSelected = 14;
inline constexpr std::size_t ProgramVersion = 15;
inline constexpr std::size_t ReadingEeprom = 16;
}  // namespace msg

}  // namespace canprog
