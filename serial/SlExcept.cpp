#include "SlExcept.h"

#include <new>

#include "SlStrMap.h"

namespace canprog::serial {

ESlioException::ESlioException(std::int32_t code)
    : std::runtime_error(messageForCode(code)), code_(code) {}

ESlioException::ESlioException(const std::string& text) : std::runtime_error(text), code_(0) {}

ESlioException::ESlioException(std::int32_t code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

namespace {

class SlioCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "slio"; }
    std::string message(int code) const override { return messageForCode(code); }
};

template <typename E>
[[noreturn]] void raise(std::int32_t code) {
    throw E(code);
}

// The leaf or group class of each code, or nothing for codes without a class of their own.
[[noreturn]] void raiseClassFor(std::int32_t code) {
    switch (code) {
        case -1002: raise<EBadArgument>(code);
        case -1003: raise<EGotQuitMsg>(code);
        case -1004: raise<EBufferTooBig>(code);
        case -1005: raise<EPortNotAssigned>(code);
        case -1006:
        case -7003:
        case -7006:
        case -7012: raise<EInternal>(code);
        case -1007: raise<EModemNotAssigned>(code);
        case -1008: raise<EPhonebookNotAssigned>(code);
        case -1009: raise<ECannotUseWithWinSock>(code);
        case -2001: raise<EBadId>(code);
        case -2002: raise<EBaudRate>(code);
        case -2003: raise<EByteSize>(code);
        case -2004: raise<EDefault>(code);
        case -2005: raise<EHardware>(code);
        case -2006: raise<EMemory>(code);
        case -2007: raise<ECommNotOpen>(code);
        case -2008: raise<EAlreadyOpen>(code);
        case -2009: raise<ENoHandles>(code);
        case -2010: raise<ENoTimers>(code);
        case -2011: raise<ENoPortSelected>(code);
        case -2012: raise<ENotOpenedByTapi>(code);
        case -2013: raise<EPortPermission>(code);
        case -3001: raise<ENullApi>(code);
        case -3003: raise<ERegisterHandlerFailed>(code);
        case -3004: raise<EPutBlockFail>(code);
        case -3005: raise<EGetBlockFail>(code);
        case -3006: raise<EOutputBufferTooSmall>(code);
        case -3007: raise<EBufferIsEmpty>(code);
        case -3008: raise<ETracingNotEnabled>(code);
        case -3009: raise<ELoggingNotEnabled>(code);
        case -3010: raise<EBaseAddressNotSet>(code);
        case -4001: raise<EModemNotStarted>(code);
        case -4002: raise<EModemBusy>(code);
        case -4003: raise<EModemNotDialing>(code);
        case -4004: raise<ENotDialing>(code);
        case -4005: raise<EAlreadyDialing>(code);
        case -4006: raise<EModemNotResponding>(code);
        case -4007: raise<EModemRejectedCommand>(code);
        case -4008: raise<EModemStatusMismatch>(code);
        case -5001: raise<ENoMoreTriggers>(code);
        case -5002: raise<ETriggerTooLong>(code);
        case -5003: raise<EBadTriggerHandle>(code);
        case -6006:
        case -6008:
        case -6009: raise<EProtocol>(code);
        case -13868: raise<ETapiNoMem>(code);
        case -13980: raise<ERasLoadFail>(code);
        default: break;
    }
    if (code <= -7001 && code >= -7014) raise<EINI>(code);
    if (code <= -8001 && code >= -8070) raise<EFax>(code);
    if (code <= -13801 && code >= -13942) raise<ETapi>(code);
    throw ESlioException(0, "Slio exception");
}

}  // namespace

const std::error_category& slioCategory() {
    static const SlioCategory category;
    return category;
}

EInOutError::EInOutError(int positiveCode) : std::system_error(positiveCode, slioCategory()) {}

std::int32_t RaiseForCode(std::int32_t code, bool ownerLoading) {
    if (code >= 0 || ownerLoading) return code;
    if (code == -8) throw std::bad_alloc();
    if (code <= -2 && code >= -162) throw EInOutError(-code);
    if (code < -kSystemErrorBase && code >= -kSystemErrorLast) throw EInOutError(-code);
    raiseClassFor(code);
}

}  // namespace canprog::serial
