#pragma once

#include <cstdint>

namespace canprog::serial {

// The serial layer's error codes. Inside the layer an operation returns an integer result: 0
// or positive is success, negative one of these. This is the one place their numbers are
// written; everything else names them. The platform's own error numbers come in through one
// mapping per system (resultForErrno, resultForWin32Error).
enum class SlioError : std::int32_t {
    Unspecified = -1,  // a failure without a code of its own

    // Files and devices, numbered as the platform's input/output errors.
    FileNotFound = -2,
    PathNotFound = -3,
    TooManyOpenFiles = -4,
    FileAccessDenied = -5,
    InvalidFileHandle = -6,
    InsufficientMemory = -8,
    InvalidDrive = -15,
    NoMoreFiles = -18,
    ReadBeyondEnd = -100,
    DiskFull = -101,
    FileNotAssigned = -102,
    FileNotOpen = -103,
    FileNotOpenForInput = -104,
    FileNotOpenForOutput = -105,
    WriteProtected = -150,
    UnknownUnit = -151,
    DriveNotReady = -152,
    UnknownCommand = -153,
    DataError = -154,
    BadRequestLength = -155,
    SeekError = -156,
    UnknownMedia = -157,
    SectorNotFound = -158,
    OutOfPaper = -159,
    DeviceWriteError = -160,
    DeviceReadError = -161,
    GeneralFailure = -162,

    // General.
    BadHandle = -1001,
    BadArgument = -1002,
    GotQuitMsg = -1003,
    BufferTooBig = -1004,
    PortNotAssigned = -1005,
    Internal = -1006,
    ModemNotAssigned = -1007,
    PhonebookNotAssigned = -1008,
    CannotUseWithWinSock = -1009,

    // Opening the port.
    BadId = -2001,
    BaudRate = -2002,
    ByteSize = -2003,
    Default = -2004,
    Hardware = -2005,
    Memory = -2006,
    CommNotOpen = -2007,
    AlreadyOpen = -2008,
    NoHandles = -2009,
    NoTimers = -2010,
    NoPortSelected = -2011,
    NotOpenedByTapi = -2012,
    PortPermission = -2013,  // ours: no permission for the device

    // Serial input and output.
    NullApi = -3001,
    NotSupported = -3002,
    RegisterHandlerFailed = -3003,
    PutBlockFail = -3004,
    GetBlockFail = -3005,
    OutputBufferTooSmall = -3006,
    BufferIsEmpty = -3007,
    TracingNotEnabled = -3008,
    LoggingNotEnabled = -3009,
    BaseAddressNotSet = -3010,

    // Modem. Never produced by this program: it dials no modem.
    ModemNotStarted = -4001,
    ModemBusy = -4002,
    ModemNotDialing = -4003,
    NotDialing = -4004,
    AlreadyDialing = -4005,
    ModemNotResponding = -4006,
    ModemRejectedCommand = -4007,
    ModemStatusMismatch = -4008,

    // Triggers. Never produced by this program: it installs no trigger.
    NoMoreTriggers = -5001,
    TriggerTooLong = -5002,
    BadTriggerHandle = -5003,

    // Protocols. Never produced by this program: it runs no file-transfer protocol.
    ProtocolBadParameter = -6006,
    ProtocolAborted = -6008,
    ProtocolNotSupported = -6009,

    // The settings database: a range, three of whose codes are internal errors. Never produced
    // by this program: it keeps no settings database.
    IniFirst = -7001,
    IniInternalA = -7003,
    IniInternalB = -7006,
    IniInternalC = -7012,
    IniLast = -7014,

    // Fax, a range. Never produced by this program.
    FaxFirst = -8001,
    FaxLast = -8070,

    // Telephony, a range, and remote access. Only TapiNoMem is produced by this program.
    TapiFirst = -13801,
    TapiNoMem = -13868,  // a worker thread could not allocate a receive block
    TapiLast = -13942,
    RasLoadFail = -13980,
};

// The integer result code of an error.
constexpr std::int32_t toCode(SlioError error) {
    return static_cast<std::int32_t>(error);
}

// Whether a result code is the given error.
constexpr bool isError(std::int32_t code, SlioError error) {
    return code == toCode(error);
}

// Whether a result code lies in a range of errors (both ends included; codes are negative,
// so `first` is the one nearer to zero).
constexpr bool inRange(std::int32_t code, SlioError first, SlioError last) {
    return code <= toCode(first) && code >= toCode(last);
}

}  // namespace canprog::serial
