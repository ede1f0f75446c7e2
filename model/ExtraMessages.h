#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "LanguageTables.h"

namespace canprog {

// Lines of our own that the log adds after the window's messages, to say what happened and
// what to do. Each has a text in every language; "{name}" marks a value filled in.
enum class Extra {
    DeviceLost,              // {device}
    ModuleStoppedAnswering,  // {device}
    ModuleUnchanged,
    HalfWritten,           // {blocks}: "FLASH 233/2016, EEPROM 0/16"
    WrittenNotVerified,    // {pin}: every block acknowledged, the verify stopped
    WrittenVerifyFailed,   // {pin}: every block acknowledged, the read-back differs
    PortMissing,           // {device} {ports}
    PortMissingNoneThere,  // {device}
    PortNotSerial,         // {device}
    PortBusy,              // {device}
    PortPermission,        // {device}
    PortFailed,            // {device} {reason}
    CheckTheConnection,
    FileProblem,      // {file} {reason}
    FileLineProblem,  // {file} {line} {reason}
    VerifyingEeprom,
    EepromVerified,
    VerifyFailed,        // {address} {written} {read}
    SettingsKept,        // {pin} {mode} {program}
    NothingToKeep,       // the module's PIN is not four digits: the file's settings go in
    SettingsPartlyKept,  // {kept} {fromFile}: lists of the four items below
    ItemPin,             // {pin}
    ItemOptions,
    ItemModeByte,    // {mode}
    ItemCanProgram,  // {program}
    NoneChecked,
    SettingsHalfWritten,     // {eeprom} {pin}
    SettingsNotVerified,     // {pin}
    SettingsVerifyFailed,    // {pin}
    ModuleAndBlock,          // {moduleId} {moduleVersion} {blockId} {blockVersion}
    BlockOfAnotherModule,    // {moduleId} {blockId}
    BlockOfAnotherProgram,   // {moduleVersion} {blockVersion}
    VersionsBeforeWrite,     // {module} {file}
    AnotherProgramInFile,    // {module} {file}
    WriteAnotherProgram,     // {module} {file}: the question before it is written
    AnotherProgramSettings,  // added to the question when the settings were to be kept
    SettingsNotCarriedOver,
    NothingWrittenProgramKept,
    VersionAfterWrite,         // {version}
    SettingsSaved,             // {file}
    SettingsNotSaved,          // {file} {reason}
    SettingsLoaded,            // {file}
    SettingsNotLoaded,         // {file} {reason}
    SettingsOfAnotherModule,   // {blockId} {moduleId}
    SettingsOfAnotherProgram,  // {blockVersion} {moduleVersion}
    SavedFileNotABlock,        // why a file is not loaded, in the window's language
    SavedFileNoModule,
    SavedFileEdited,
    ErasedVersion,  // the version text of a module whose version bytes are all 0xFF
    PinIsFourDigits,
    SlowAdapter,        // {delay} {extra} {advice}
    FtdiLatencyAdvice,  // {now}
    SlowAdapterAdvice,
    OnBatteryPower,           // before a firmware write: closing the lid stops it
    LogoName,                 // {brand} {address}: what a screen reader says for a logo
    LogoNameNoAddress,        // {brand}
    CanProgramNotInFile,      // {program} {programs}: before the FLASH is written
    WriteUnlistedCanProgram,  // {program} {programs}: the question before it is written
    ExpectedWriteTime,        // {seconds}: before the FLASH is written
    TimeLeft,                 // {seconds}: while writing
    SwitchModuleOn,           // {seconds}: the wait for a module without a reset line
    LogSaved,                 // {file}
    LogNotSaved,              // {file} {reason}
    DoctorPortFound,          // {port} {adapter}
    DoctorNoDevice,           // {port}
    DoctorHeldBy,             // {port} {program} {pid}
    DoctorBusy,               // {port}
    DoctorModemManager,       // {port}
    DoctorBrltty,
    DoctorNoPermission,   // {port}
    DoctorNoDriver,       // {adapter} {maker} {code} {driver}
    DoctorLatency,        // {now} {fix}
    DoctorReceiveFifo,    // {bytes} {tty}
    DoctorReceiveBuffer,  // {port}
    DoctorLoopback,       // {sent} {back} {ms}
    DoctorNoLoopback,     // {sent}
    DoctorModule,         // {ms} {id} {version}
    DoctorNoModule,
    DoctorAllWell,
};
inline constexpr std::size_t kExtraCount = static_cast<std::size_t>(Extra::DoctorAllWell) + 1;

// The text of a line in a language, values not yet filled in.
std::string_view extraText(Extra line, Language language);

// The text with each "{name}" replaced by its value.
std::string fillIn(std::string_view text,
                   const std::vector<std::pair<std::string_view, std::string>>& values);

}  // namespace canprog
