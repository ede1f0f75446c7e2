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
    using enum SlioError;
    switch (static_cast<SlioError>(code)) {
        case BadArgument: raise<EBadArgument>(code);
        case GotQuitMsg: raise<EGotQuitMsg>(code);
        case BufferTooBig: raise<EBufferTooBig>(code);
        case PortNotAssigned: raise<EPortNotAssigned>(code);
        case Internal:
        case IniInternalA:
        case IniInternalB:
        case IniInternalC: raise<EInternal>(code);
        case ModemNotAssigned: raise<EModemNotAssigned>(code);
        case PhonebookNotAssigned: raise<EPhonebookNotAssigned>(code);
        case CannotUseWithWinSock: raise<ECannotUseWithWinSock>(code);
        case BadId: raise<EBadId>(code);
        case BaudRate: raise<EBaudRate>(code);
        case ByteSize: raise<EByteSize>(code);
        case Default: raise<EDefault>(code);
        case Hardware: raise<EHardware>(code);
        case Memory: raise<EMemory>(code);
        case CommNotOpen: raise<ECommNotOpen>(code);
        case AlreadyOpen: raise<EAlreadyOpen>(code);
        case NoHandles: raise<ENoHandles>(code);
        case NoTimers: raise<ENoTimers>(code);
        case NoPortSelected: raise<ENoPortSelected>(code);
        case NotOpenedByTapi: raise<ENotOpenedByTapi>(code);
        case PortPermission: raise<EPortPermission>(code);
        case NullApi: raise<ENullApi>(code);
        case RegisterHandlerFailed: raise<ERegisterHandlerFailed>(code);
        case PutBlockFail: raise<EPutBlockFail>(code);
        case GetBlockFail: raise<EGetBlockFail>(code);
        case OutputBufferTooSmall: raise<EOutputBufferTooSmall>(code);
        case BufferIsEmpty: raise<EBufferIsEmpty>(code);
        case TracingNotEnabled: raise<ETracingNotEnabled>(code);
        case LoggingNotEnabled: raise<ELoggingNotEnabled>(code);
        case BaseAddressNotSet: raise<EBaseAddressNotSet>(code);
        case ModemNotStarted: raise<EModemNotStarted>(code);
        case ModemBusy: raise<EModemBusy>(code);
        case ModemNotDialing: raise<EModemNotDialing>(code);
        case NotDialing: raise<ENotDialing>(code);
        case AlreadyDialing: raise<EAlreadyDialing>(code);
        case ModemNotResponding: raise<EModemNotResponding>(code);
        case ModemRejectedCommand: raise<EModemRejectedCommand>(code);
        case ModemStatusMismatch: raise<EModemStatusMismatch>(code);
        case NoMoreTriggers: raise<ENoMoreTriggers>(code);
        case TriggerTooLong: raise<ETriggerTooLong>(code);
        case BadTriggerHandle: raise<EBadTriggerHandle>(code);
        case ProtocolBadParameter:
        case ProtocolAborted:
        case ProtocolNotSupported: raise<EProtocol>(code);
        case TapiNoMem: raise<ETapiNoMem>(code);
        case RasLoadFail: raise<ERasLoadFail>(code);
        default: break;
    }
    if (inRange(code, IniFirst, IniLast)) raise<EINI>(code);
    if (inRange(code, FaxFirst, FaxLast)) raise<EFax>(code);
    if (inRange(code, TapiFirst, TapiLast)) raise<ETapi>(code);
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
    if (isError(code, SlioError::InsufficientMemory)) throw std::bad_alloc();
    if (inRange(code, SlioError::FileNotFound, SlioError::GeneralFailure)) throw EInOutError(-code);
    if (code < -kSystemErrorBase && code >= -kSystemErrorLast) throw EInOutError(-code);
    raiseClassFor(code);
}

}  // namespace canprog::serial
