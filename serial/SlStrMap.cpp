#include "SlStrMap.h"

#include "SystemInfo.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace canprog::serial {

namespace {

// Rows named one by one; sorted once when the table is first used.
const std::vector<ErrorMessageRow>& rows() {
    static const std::vector<ErrorMessageRow> table = [] {
        std::vector<ErrorMessageRow> r = {
            {0, "OK"},
            {2, "File not found"},
            {3, "Path not found"},
            {4, "Too many open files"},
            {5, "File access denied"},
            {6, "Invalid file handle"},
            {8, "Insufficient memory"},
            {15, "Invalid drive"},
            {18, "No more files"},
            {100, "Attempt to read beyond end of file"},
            {101, "Disk is full"},
            {102, "File/device not assigned"},
            {103, "File/device not open"},
            {104, "File/device not open for input"},
            {105, "File/device not open for output"},
            {150, "Disk is write-protected"},
            {151, "Unknown disk unit"},
            {152, "Drive is not ready"},
            {153, "Unknown command"},
            {154, "Data error"},
            {155, "Bad request structure length"},
            {156, "Seek error"},
            {157, "Unknown media type"},
            {158, "Disk sector not found"},
            {159, "Printer is out of paper"},
            {160, "Device write error"},
            {161, "Device read error"},
            {162, "General failure"},
            {1001, "Bad handle passed to com function"},
            {1002, "Bad argument passed to function"},
            {1003, "Got quit message"},
            {1004, "Terminal buffer greater than 65521"},
            {1005, "ComPort component not assigned"},
            {1006, "Internal error creating window class"},
            {1007, "Modem component not assigned"},
            {1008, "Phonebook component not assigned"},
            {1009, "Component not compatible with WinSock"},
            {2001, "ie_BadId - Specified comport doesn't exist"},
            {2002, "ie_Baudrate - unsupported baud rate"},
            {2003, "ie_Bytesize - invalid byte size"},
            {2004, "ie_Default - error in default parameters"},
            {2005, "ie_Hardware - Specified comport in use"},
            {2006, "ie_Memory - unable to allocate queues"},
            {2007, "ie_NOpen - device not open"},
            {2008, "ie_Open - device already open"},
            {2009, "No more handles, can't open port"},
            {2010, "No timers available"},
            {2011, "The ComNumber property of the TSlioComPort has not been set"},
            {2012, "Comport was not opened by Tapi"},
            {2013,
             "Permission denied opening the serial port: add your user to the dialout group "
             "(sudo usermod -aG dialout $USER) and log in again"},
            {3001, "No device layer specified"},
            {3002, "Function not supported by driver"},
            {3003, "EnableCommNotification failed"},
            {3004, "Failed to put entire block"},
            {3005, "Failed to get entire block"},
            {3006, "Output buffer too small for block"},
            {3007, "Buffer is empty"},
            {3008, "Tracing not enabled"},
            {3009, "Logging not enabled"},
            {3010, "Base address not set"},
            {4001, "Modem not started"},
            {4002, "Modem is busy"},
            {4003, "Modem is not dialing"},
            {4004, "Not dialing"},
            {4005, "Already dialing"},
            {4006, "Modem not responding"},
            {4007, "Modem rejected command"},
            {4008, "Modem status mismatch"},
            {5001, "No more triggers available"},
            {5002, "Trigger string too long"},
            {5003, "Bad trigger handle"},
            {6006, "Protocol error: invalid parameter"},
            {6008, "Protocol error: transfer aborted"},
            {6009, "Protocol error: protocol not supported"},
            {13868, "Insufficient memory to allocate I/O buffer."},
            {13980, "Remote access library could not be loaded"},
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
        const auto addRange = [&r](std::int32_t from, std::int32_t to, const char* what) {
            for (std::int32_t code = from; code <= to; ++code) {
                if (code == 13868) continue;  // has its own row
                r.push_back({code, std::string(what) + " error " + std::to_string(code)});
            }
        };
        addRange(7001, 7014, "Settings database");
        addRange(8001, 8070, "Fax");
        addRange(13801, 13942, "Telephony");
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
