#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <system_error>

namespace canprog::serial {

// Every failure of the serial layer: a negative code and an English message.
class ESlioException : public std::runtime_error {
  public:
    // Built from a code: the message is the table's text for the code.
    explicit ESlioException(std::int32_t code);
    // Built from a text: code 0.
    explicit ESlioException(const std::string& text);
    ESlioException(std::int32_t code, const std::string& message);

    std::int32_t ErrorCode() const { return code_; }

  private:
    std::int32_t code_;
};

#define CANPROG_SLIO_CLASS(Name, Base) \
    class Name : public Base {         \
      public:                          \
        using Base::Base;              \
    };

// Groups.
CANPROG_SLIO_CLASS(EGeneral, ESlioException)
CANPROG_SLIO_CLASS(EOpenComm, ESlioException)
CANPROG_SLIO_CLASS(ESerialIO, ESlioException)
CANPROG_SLIO_CLASS(EModem, ESlioException)
CANPROG_SLIO_CLASS(ETrigger, ESlioException)
CANPROG_SLIO_CLASS(EProtocol, ESlioException)
CANPROG_SLIO_CLASS(EINI, ESlioException)
CANPROG_SLIO_CLASS(EFax, ESlioException)
CANPROG_SLIO_CLASS(ETapi, ESlioException)
CANPROG_SLIO_CLASS(ERas, ESlioException)

// General.
CANPROG_SLIO_CLASS(EBadArgument, EGeneral)           // -1002
CANPROG_SLIO_CLASS(EGotQuitMsg, EGeneral)            // -1003
CANPROG_SLIO_CLASS(EBufferTooBig, EGeneral)          // -1004
CANPROG_SLIO_CLASS(EPortNotAssigned, EGeneral)       // -1005
CANPROG_SLIO_CLASS(EInternal, EGeneral)              // -1006
CANPROG_SLIO_CLASS(EModemNotAssigned, EGeneral)      // -1007
CANPROG_SLIO_CLASS(EPhonebookNotAssigned, EGeneral)  // -1008
CANPROG_SLIO_CLASS(ECannotUseWithWinSock, EGeneral)  // -1009
// Opening the port.
CANPROG_SLIO_CLASS(EBadId, EOpenComm)            // -2001
CANPROG_SLIO_CLASS(EBaudRate, EOpenComm)         // -2002
CANPROG_SLIO_CLASS(EByteSize, EOpenComm)         // -2003
CANPROG_SLIO_CLASS(EDefault, EOpenComm)          // -2004
CANPROG_SLIO_CLASS(EHardware, EOpenComm)         // -2005
CANPROG_SLIO_CLASS(EMemory, EOpenComm)           // -2006
CANPROG_SLIO_CLASS(ECommNotOpen, EOpenComm)      // -2007
CANPROG_SLIO_CLASS(EAlreadyOpen, EOpenComm)      // -2008
CANPROG_SLIO_CLASS(ENoHandles, EOpenComm)        // -2009
CANPROG_SLIO_CLASS(ENoTimers, EOpenComm)         // -2010
CANPROG_SLIO_CLASS(ENoPortSelected, EOpenComm)   // -2011
CANPROG_SLIO_CLASS(ENotOpenedByTapi, EOpenComm)  // -2012
CANPROG_SLIO_CLASS(EPortPermission, EOpenComm)   // -2013: no permission for the device
// Serial input and output.
CANPROG_SLIO_CLASS(ENullApi, ESerialIO)                // -3001
CANPROG_SLIO_CLASS(ERegisterHandlerFailed, ESerialIO)  // -3003
CANPROG_SLIO_CLASS(EPutBlockFail, ESerialIO)           // -3004
CANPROG_SLIO_CLASS(EGetBlockFail, ESerialIO)           // -3005
CANPROG_SLIO_CLASS(EOutputBufferTooSmall, ESerialIO)   // -3006
CANPROG_SLIO_CLASS(EBufferIsEmpty, ESerialIO)          // -3007
CANPROG_SLIO_CLASS(ETracingNotEnabled, ESerialIO)      // -3008
CANPROG_SLIO_CLASS(ELoggingNotEnabled, ESerialIO)      // -3009
CANPROG_SLIO_CLASS(EBaseAddressNotSet, ESerialIO)      // -3010
// Modem.
CANPROG_SLIO_CLASS(EModemNotStarted, EModem)       // -4001
CANPROG_SLIO_CLASS(EModemBusy, EModem)             // -4002
CANPROG_SLIO_CLASS(EModemNotDialing, EModem)       // -4003
CANPROG_SLIO_CLASS(ENotDialing, EModem)            // -4004
CANPROG_SLIO_CLASS(EAlreadyDialing, EModem)        // -4005
CANPROG_SLIO_CLASS(EModemNotResponding, EModem)    // -4006
CANPROG_SLIO_CLASS(EModemRejectedCommand, EModem)  // -4007
CANPROG_SLIO_CLASS(EModemStatusMismatch, EModem)   // -4008
// Triggers.
CANPROG_SLIO_CLASS(ENoMoreTriggers, ETrigger)    // -5001
CANPROG_SLIO_CLASS(ETriggerTooLong, ETrigger)    // -5002
CANPROG_SLIO_CLASS(EBadTriggerHandle, ETrigger)  // -5003
// Telephony and remote access.
CANPROG_SLIO_CLASS(ETapiNoMem, ETapi)   // -13868
CANPROG_SLIO_CLASS(ERasLoadFail, ERas)  // -13980

#undef CANPROG_SLIO_CLASS

// The platform's input/output exception: a file or device error with its positive code.
class EInOutError : public std::system_error {
  public:
    explicit EInOutError(int positiveCode);
    int ErrorCode() const { return code().value(); }
};

// The error category whose messages come from the serial layer's message table.
const std::error_category& slioCategory();

// Returns `code` when it is zero or positive, or when the owner is still being loaded;
// otherwise raises the exception that stands for the code and does not return.
std::int32_t RaiseForCode(std::int32_t code, bool ownerLoading = false);

}  // namespace canprog::serial
