#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <system_error>

#include "SlErrors.h"

namespace canprog::serial {

// Every failure of the serial layer: a negative code and an English message.
class ESlioException : public std::runtime_error {
  public:
    // Built from a code: the message is the table's text for the code.
    explicit ESlioException(std::int32_t code);
    explicit ESlioException(SlioError error) : ESlioException(toCode(error)) {}
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
CANPROG_SLIO_CLASS(EBadArgument, EGeneral)
CANPROG_SLIO_CLASS(EGotQuitMsg, EGeneral)
CANPROG_SLIO_CLASS(EBufferTooBig, EGeneral)
CANPROG_SLIO_CLASS(EPortNotAssigned, EGeneral)
CANPROG_SLIO_CLASS(EInternal, EGeneral)
CANPROG_SLIO_CLASS(EModemNotAssigned, EGeneral)
CANPROG_SLIO_CLASS(EPhonebookNotAssigned, EGeneral)
CANPROG_SLIO_CLASS(ECannotUseWithWinSock, EGeneral)
// Opening the port.
CANPROG_SLIO_CLASS(EBadId, EOpenComm)
CANPROG_SLIO_CLASS(EBaudRate, EOpenComm)
CANPROG_SLIO_CLASS(EByteSize, EOpenComm)
CANPROG_SLIO_CLASS(EDefault, EOpenComm)
CANPROG_SLIO_CLASS(EHardware, EOpenComm)
CANPROG_SLIO_CLASS(EMemory, EOpenComm)
CANPROG_SLIO_CLASS(ECommNotOpen, EOpenComm)
CANPROG_SLIO_CLASS(EAlreadyOpen, EOpenComm)
CANPROG_SLIO_CLASS(ENoHandles, EOpenComm)
CANPROG_SLIO_CLASS(ENoTimers, EOpenComm)
CANPROG_SLIO_CLASS(ENoPortSelected, EOpenComm)
CANPROG_SLIO_CLASS(ENotOpenedByTapi, EOpenComm)
CANPROG_SLIO_CLASS(EPortPermission, EOpenComm)
// Serial input and output.
CANPROG_SLIO_CLASS(ENullApi, ESerialIO)
CANPROG_SLIO_CLASS(ERegisterHandlerFailed, ESerialIO)
CANPROG_SLIO_CLASS(EPutBlockFail, ESerialIO)
CANPROG_SLIO_CLASS(EGetBlockFail, ESerialIO)
CANPROG_SLIO_CLASS(EOutputBufferTooSmall, ESerialIO)
CANPROG_SLIO_CLASS(EBufferIsEmpty, ESerialIO)
CANPROG_SLIO_CLASS(ETracingNotEnabled, ESerialIO)
CANPROG_SLIO_CLASS(ELoggingNotEnabled, ESerialIO)
CANPROG_SLIO_CLASS(EBaseAddressNotSet, ESerialIO)
// Modem.
CANPROG_SLIO_CLASS(EModemNotStarted, EModem)
CANPROG_SLIO_CLASS(EModemBusy, EModem)
CANPROG_SLIO_CLASS(EModemNotDialing, EModem)
CANPROG_SLIO_CLASS(ENotDialing, EModem)
CANPROG_SLIO_CLASS(EAlreadyDialing, EModem)
CANPROG_SLIO_CLASS(EModemNotResponding, EModem)
CANPROG_SLIO_CLASS(EModemRejectedCommand, EModem)
CANPROG_SLIO_CLASS(EModemStatusMismatch, EModem)
// Triggers.
CANPROG_SLIO_CLASS(ENoMoreTriggers, ETrigger)
CANPROG_SLIO_CLASS(ETriggerTooLong, ETrigger)
CANPROG_SLIO_CLASS(EBadTriggerHandle, ETrigger)
// Telephony and remote access.
CANPROG_SLIO_CLASS(ETapiNoMem, ETapi)
CANPROG_SLIO_CLASS(ERasLoadFail, ERas)

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
[[noreturn]] inline void RaiseForCode(SlioError error) {
    RaiseForCode(toCode(error));
    throw ESlioException(error);  // not reached: every error code raises
}

}  // namespace canprog::serial
