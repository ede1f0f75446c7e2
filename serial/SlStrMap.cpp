#include "SlStrMap.h"

#include "SlErrors.h"
#include "SystemInfo.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace canprog::serial {

namespace {

// A row for an error code, keyed by the code's absolute value.
ErrorMessageRow row(SlioError error, const char* message) {
    return {-toCode(error), message};
}

// Rows named one by one; sorted once when the table is first used.
const std::vector<ErrorMessageRow>& rows() {
    static const std::vector<ErrorMessageRow> table = [] {
        std::vector<ErrorMessageRow> r = {
            {0, "OK"},
            row(SlioError::FileNotFound, "File not found"),
            row(SlioError::PathNotFound, "Path not found"),
            row(SlioError::TooManyOpenFiles, "Too many open files"),
            row(SlioError::FileAccessDenied, "File access denied"),
            row(SlioError::InvalidFileHandle, "Invalid file handle"),
            row(SlioError::InsufficientMemory, "Insufficient memory"),
            row(SlioError::InvalidDrive, "Invalid drive"),
            row(SlioError::NoMoreFiles, "No more files"),
            row(SlioError::ReadBeyondEnd, "Attempt to read beyond end of file"),
            row(SlioError::DiskFull, "Disk is full"),
            row(SlioError::FileNotAssigned, "File/device not assigned"),
            row(SlioError::FileNotOpen, "File/device not open"),
            row(SlioError::FileNotOpenForInput, "File/device not open for input"),
            row(SlioError::FileNotOpenForOutput, "File/device not open for output"),
            row(SlioError::WriteProtected, "Disk is write-protected"),
            row(SlioError::UnknownUnit, "Unknown disk unit"),
            row(SlioError::DriveNotReady, "Drive is not ready"),
            row(SlioError::UnknownCommand, "Unknown command"),
            row(SlioError::DataError, "Data error"),
            row(SlioError::BadRequestLength, "Bad request structure length"),
            row(SlioError::SeekError, "Seek error"),
            row(SlioError::UnknownMedia, "Unknown media type"),
            row(SlioError::SectorNotFound, "Disk sector not found"),
            row(SlioError::OutOfPaper, "Printer is out of paper"),
            row(SlioError::DeviceWriteError, "Device write error"),
            row(SlioError::DeviceReadError, "Device read error"),
            row(SlioError::GeneralFailure, "General failure"),
            row(SlioError::BadHandle, "Bad handle passed to com function"),
            row(SlioError::BadArgument, "Bad argument passed to function"),
            row(SlioError::GotQuitMsg, "Got quit message"),
            row(SlioError::BufferTooBig, "Terminal buffer greater than 65521"),
            row(SlioError::PortNotAssigned, "ComPort component not assigned"),
            row(SlioError::Internal, "Internal error creating window class"),
            row(SlioError::ModemNotAssigned, "Modem component not assigned"),
            row(SlioError::PhonebookNotAssigned, "Phonebook component not assigned"),
            row(SlioError::CannotUseWithWinSock, "Component not compatible with WinSock"),
            row(SlioError::BadId, "ie_BadId - Specified comport doesn't exist"),
            row(SlioError::BaudRate, "ie_Baudrate - unsupported baud rate"),
            row(SlioError::ByteSize, "ie_Bytesize - invalid byte size"),
            row(SlioError::Default, "ie_Default - error in default parameters"),
            row(SlioError::Hardware, "ie_Hardware - Specified comport in use"),
            row(SlioError::Memory, "ie_Memory - unable to allocate queues"),
            row(SlioError::CommNotOpen, "ie_NOpen - device not open"),
            row(SlioError::AlreadyOpen, "ie_Open - device already open"),
            row(SlioError::NoHandles, "No more handles, can't open port"),
            row(SlioError::NoTimers, "No timers available"),
            row(SlioError::NoPortSelected,
                "The ComNumber property of the TSlioComPort has not been set"),
            row(SlioError::NotOpenedByTapi, "Comport was not opened by Tapi"),
            row(SlioError::PortPermission,
                "Permission denied opening the serial port: add your user to the dialout group "
                "(sudo usermod -aG dialout $USER) and log in again"),
            row(SlioError::NullApi, "No device layer specified"),
            row(SlioError::NotSupported, "Function not supported by driver"),
            row(SlioError::RegisterHandlerFailed, "EnableCommNotification failed"),
            row(SlioError::PutBlockFail, "Failed to put entire block"),
            row(SlioError::GetBlockFail, "Failed to get entire block"),
            row(SlioError::OutputBufferTooSmall, "Output buffer too small for block"),
            row(SlioError::BufferIsEmpty, "Buffer is empty"),
            row(SlioError::TracingNotEnabled, "Tracing not enabled"),
            row(SlioError::LoggingNotEnabled, "Logging not enabled"),
            row(SlioError::BaseAddressNotSet, "Base address not set"),
            row(SlioError::ModemNotStarted, "Modem not started"),
            row(SlioError::ModemBusy, "Modem is busy"),
            row(SlioError::ModemNotDialing, "Modem is not dialing"),
            row(SlioError::NotDialing, "Not dialing"),
            row(SlioError::AlreadyDialing, "Already dialing"),
            row(SlioError::ModemNotResponding, "Modem not responding"),
            row(SlioError::ModemRejectedCommand, "Modem rejected command"),
            row(SlioError::ModemStatusMismatch, "Modem status mismatch"),
            row(SlioError::NoMoreTriggers, "No more triggers available"),
            row(SlioError::TriggerTooLong, "Trigger string too long"),
            row(SlioError::BadTriggerHandle, "Bad trigger handle"),
            row(SlioError::ProtocolBadParameter, "Protocol error: invalid parameter"),
            row(SlioError::ProtocolAborted, "Protocol error: transfer aborted"),
            row(SlioError::ProtocolNotSupported, "Protocol error: protocol not supported"),
            row(SlioError::TapiNoMem, "Insufficient memory to allocate I/O buffer."),
            row(SlioError::RasLoadFail, "Remote access library could not be loaded"),
            // The vocabulary of the dispatcher log.
            {15001, "No event"},
            {15002, "Dispatch"},
            {15003, "Trigger"},
            {15004, "Error"},
            {15005, "Thread"},
            {15006, "TrigAllc"},
            {15007, "TrigDisp"},
            {15008, "TrgHdAlc"},
            {15009, "TrgHdDsp"},
            {15010, "TrDatChg"},
            {15011, "Telnet"},
            {15012, "Fax"},
            {15013, "XModem"},
            {15014, "YModem"},
            {15015, "ZModem"},
            {15016, "Kermit"},
            {15017, "Ascii"},
            {15018, "BPlus"},
            {15019, "Packet"},
            {15020, "User"},
            {15021, "Script"},
            {15032, "ReadCom"},
            {15033, "WriteCom"},
            {15034, "Line status"},
            {15035, "Modem status"},
            {15036, "Avail"},
            {15037, "Timer"},
            {15038, "Data"},
            {15039, "Status"},
            {15040, "Start"},
            {15041, "Exit"},
            {15042, "Sleep"},
            {15043, "Wake"},
            {15044, "Data"},
            {15045, "Timer"},
            {15046, "Status"},
            {15047, "Avail"},
            {15048, "Window"},
            {15049, "Procedure"},
            {15050, "Method"},
            {15061, "DCTS "},
            {15062, "DDSR "},
            {15063, "TERI "},
            {15064, "DDCD "},
            {15065, "CTS "},
            {15066, "DSR "},
            {15067, "RI "},
            {15068, "DCD "},
            {15071, "(Not active)"},
            {15072, "(Modem status)"},
            {15073, "(Line status)"},
            {15074, "(Output buffer free)"},
            {15075, "(Output buffer used)"},
            {15076, "(Output sent)"},
            {15081, "Dispatch buffer full."},
        };
        // Settings database, fax and telephony: one text a group, numbered.
        const auto addRange = [&r](SlioError first, SlioError last, const char* what) {
            for (std::int32_t code = -toCode(first); code <= -toCode(last); ++code) {
                if (code == -toCode(SlioError::TapiNoMem)) continue;  // has its own row
                r.push_back({code, std::string(what) + " error " + std::to_string(code)});
            }
        };
        addRange(SlioError::IniFirst, SlioError::IniLast, "Settings database");
        addRange(SlioError::FaxFirst, SlioError::FaxLast, "Fax");
        addRange(SlioError::TapiFirst, SlioError::TapiLast, "Telephony");
        std::sort(r.begin(), r.end(), [](const auto& a, const auto& b) { return a.code < b.code; });
        return r;
    }();
    return table;
}

// The system's text for an error number on one line: control characters become blanks and
// runs of blanks shrink to one.
std::string systemMessage(std::int32_t number) {
    std::string message = systemErrorText(number);
    for (char& c : message) {
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    std::string oneLine;
    for (char c : message) {
        if (c == ' ' && !oneLine.empty() && oneLine.back() == ' ') continue;
        oneLine += c;
    }
    while (!oneLine.empty() && oneLine.back() == ' ') oneLine.pop_back();
    return oneLine;
}

}  // namespace

std::span<const ErrorMessageRow> errorMessageTable() {
    return rows();
}

std::string messageForCode(std::int32_t code) {
    const std::int32_t key = code < 0 ? -code : code;
    const auto& table = rows();
    // Binary search; the midpoint rounds to nearest with ties to even.
    std::int64_t low = 0;
    std::int64_t high = static_cast<std::int64_t>(table.size()) - 1;
    while (low <= high) {
        const std::int64_t sum = low + high;
        std::int64_t mid = sum / 2;
        if (sum % 2 != 0 && mid % 2 != 0) ++mid;  // tie: take the even neighbour
        const std::int32_t probe = table[static_cast<std::size_t>(mid)].code;
        if (probe == key)
            return std::string(table[static_cast<std::size_t>(mid)].message.substr(0, 255));
        if (probe < key) {
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    if (key > kSystemErrorBase && key <= kSystemErrorLast) {
        return systemMessage(key - kSystemErrorBase).substr(0, 255);
    }
    return systemMessage(key).substr(0, 255);
}

}  // namespace canprog::serial
