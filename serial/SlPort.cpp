#include "SlPort.h"

#include <exception>

#include "PortMap.h"
#include "SlExcept.h"

namespace canprog::serial {

namespace {

int swFlowMode(TSWFlowOptions options) {
    switch (options) {
        case TSWFlowOptions::swfReceive: return 2;
        case TSWFlowOptions::swfTransmit: return 1;
        case TSWFlowOptions::swfBoth: return 3;
        case TSWFlowOptions::swfNone: break;
    }
    return 0;
}

}  // namespace

TSlioCustomComPort::TSlioCustomComPort(DispatcherFactory factory) : factory_(std::move(factory)) {}

void TSlioCustomComPort::SetWaitPump(WaitPump* pump) {
    waitPump_ = pump;
    if (dispatcher_) dispatcher_->SetWaitPump(pump);
}

TSlioCustomComPort::~TSlioCustomComPort() {
    try {
        closePort();
    } catch (...) {
        // A destructor must not throw; the port is closed as far as it could be.
    }
}

std::string TSlioCustomComPort::ResolvedDevice() const {
    return devicePath_.empty() ? portDevicePath(comNumber_) : devicePath_;
}

// --- open and close ---

void TSlioCustomComPort::SetOpen(bool open) {
    if (open) {
        if (open_) return;
        if (phase_ != TPortPhase::ppClosed) {
            openPending_ = true;
            return;
        }
        openPort();
    } else {
        closePort();
    }
}

void TSlioCustomComPort::openPort() {
    if (tapiMode_ != TTapiMode::tmOn && comNumber_ == 0 && devicePath_.empty()) {
        if (!promptForPort_ || !portPrompt_) RaiseForCode(SlioError::NoPortSelected);
        const std::optional<int> chosen = portPrompt_();
        if (!chosen || *chosen <= 0) RaiseForCode(SlioError::NoPortSelected);
        comNumber_ = *chosen;
    }
    try {
        if (deviceLayer_ != TDeviceLayer::dlWin32 || tapiMode_ == TTapiMode::tmOn) {
            RaiseForCode(SlioError::NullApi);
        }
        const std::string device = ResolvedDevice();
        if (device.empty()) RaiseForCode(SlioError::BadId);
        dispatcher_ = factory_();
        dispatcher_->SetWaitPump(waitPump_);
        const std::uint8_t options =
            static_cast<std::uint8_t>((dtr_ ? kOptionDtr : 0) | (rts_ ? kOptionRts : 0) |
                                      ((hwFlow_ & hwfUseDTR) ? kOptionDtrFlow : 0) |
                                      ((hwFlow_ & hwfUseRTS) ? kOptionRtsFlow : 0));
        int result = dispatcher_->OpenPort(device, baud_, static_cast<int>(parity_), dataBits_,
                                           stopBits_, inSize_, outSize_, options);
        // Access denied means another program holds the port; not found, no such port.
        if (isError(result, SlioError::FileAccessDenied)) result = toCode(SlioError::AlreadyOpen);
        if (isError(result, SlioError::FileNotFound) || isError(result, SlioError::PathNotFound)) {
            result = toCode(SlioError::BadId);
        }
        RaiseForCode(result);
        phase_ = TPortPhase::ppOpen;
        pushAllSettings();
        open_ = true;
    } catch (...) {
        open_ = false;
        phase_ = TPortPhase::ppClosed;
        dispatcher_.reset();
        throw;
    }
    if (OnPortOpen) OnPortOpen();
}

// Pushes every stored setting into the fresh dispatcher, even those equal to the defaults.
void TSlioCustomComPort::pushAllSettings() {
    reapply_ = true;
    try {
        SetTracing(tracing_);
        SetLogging(logging_);
        SetHWFlowOptions(hwFlow_);
        SetSWFlowOptions(swFlow_);
        SetXOnChar(xonChar_);
        SetXOffChar(xoffChar_);
        dispatcher_->SetTriggerLength(triggerLength_);
        SetDTR(dtr_);
        SetRTS(rts_);
        SetUseEventWord(useEventWord_);
        SetRS485Mode(rs485_);
        dispatcher_->SetPriorityBoost(priorityBoost_);
    } catch (...) {
        reapply_ = false;
        throw;
    }
    reapply_ = false;
}

void TSlioCustomComPort::closePort() {
    if (phase_ != TPortPhase::ppOpen) return;
    // The files are written on the way out; a file that cannot be written still lets the port
    // close, and the error is raised once it is closed.
    std::exception_ptr dumpError;
    lastDumpError_.clear();
    for (auto dump : {&TSlioCustomComPort::SetTracing, &TSlioCustomComPort::SetLogging}) {
        try {
            (this->*dump)(TTraceLogState::tlDump);
        } catch (const std::exception& error) {
            if (!dumpError) dumpError = std::current_exception();
            if (lastDumpError_.empty()) lastDumpError_ = error.what();
        }
    }
    phase_ = TPortPhase::ppClosing;
    dispatcher_->ShutPort();
    dispatcher_.reset();
    phase_ = TPortPhase::ppClosed;
    open_ = false;
    if (OnPortClose) OnPortClose();
    if (openPending_) {
        openPending_ = false;
        openPort();
    }
    if (dumpError) std::rethrow_exception(dumpError);
}

void TSlioCustomComPort::SetDeviceLayer(TDeviceLayer layer) {
    if (phase_ != TPortPhase::ppClosed) return;
    deviceLayer_ = layer;
}

void TSlioCustomComPort::SetComNumber(int number) {
    if (number == comNumber_) return;
    if (phase_ != TPortPhase::ppOpen) {
        comNumber_ = number;
        return;
    }
    const TTraceLogState tracing = tracing_;
    const TTraceLogState logging = logging_;
    closePort();
    comNumber_ = number;
    tracing_ = tracing;
    logging_ = logging;
    openPort();
}

// --- line settings ---

// Stores one line setting; an open port is reprogrammed with all four at once.
template <typename Value>
void TSlioCustomComPort::setLineValue(Value& field, Value value) {
    if (value == field && !reapply_) return;
    field = value;
    if (phase_ == TPortPhase::ppOpen) {
        RaiseForCode(dispatcher_->SetLine(baud_, static_cast<int>(parity_), dataBits_, stopBits_));
    }
}

void TSlioCustomComPort::SetBaud(int baud) {
    setLineValue(baud_, baud);
}
void TSlioCustomComPort::SetParity(TParity parity) {
    setLineValue(parity_, parity);
}
void TSlioCustomComPort::SetDataBits(int bits) {
    setLineValue(dataBits_, bits);
}
void TSlioCustomComPort::SetStopBits(int bits) {
    setLineValue(stopBits_, bits);
}

void TSlioCustomComPort::SetInSize(int size) {
    if (size == inSize_ && !reapply_) return;
    inSize_ = size;
    if (phase_ == TPortPhase::ppOpen) RaiseForCode(dispatcher_->SetupQueues(inSize_, outSize_));
}

void TSlioCustomComPort::SetOutSize(int size) {
    if (size == outSize_ && !reapply_) return;
    outSize_ = size;
    if (phase_ == TPortPhase::ppOpen) RaiseForCode(dispatcher_->SetupQueues(inSize_, outSize_));
}

// --- control lines and flow control ---

void TSlioCustomComPort::SetDTR(bool on) {
    if (on == dtr_ && !reapply_) return;
    if (phase_ != TPortPhase::ppOpen) {
        dtr_ = on;
        return;
    }
    // A line under hardware flow control is left alone and keeps its stored level.
    if (RaiseForCode(dispatcher_->SetDtr(on)) == 0) dtr_ = on;
}

void TSlioCustomComPort::SetRTS(bool on) {
    if (on == rts_ && !reapply_) return;
    if (phase_ != TPortPhase::ppOpen) {
        rts_ = on;
        return;
    }
    if (RaiseForCode(dispatcher_->SetRts(on)) == 0) rts_ = on;
}

void TSlioCustomComPort::SetHWFlowOptions(THWFlowOptions options) {
    if (options == hwFlow_ && !reapply_) return;
    const THWFlowOptions mask = options & 0x0F;
    if (mask != 0) {
        if (bufferFull_ == 0 || bufferFull_ > inSize_) bufferFull_ = inSize_ * 9 / 10;
        if (bufferResume_ == 0 || bufferResume_ > bufferFull_) bufferResume_ = inSize_ / 10;
    }
    if (phase_ == TPortPhase::ppOpen) {
        RaiseForCode(dispatcher_->SetHardwareFlow(bufferFull_, bufferResume_, mask));
    }
    hwFlow_ = options;
    if (hwFlow_ & (hwfUseRTS | hwfRequireCTS)) rs485_ = false;
}

void TSlioCustomComPort::SetSWFlowOptions(TSWFlowOptions options) {
    if (options == swFlow_ && !reapply_) return;
    const int mode = swFlowMode(options);
    if (mode != 0) {
        if (bufferFull_ == 0 || bufferFull_ > inSize_) bufferFull_ = inSize_ * 3 / 4;
        if (bufferResume_ == 0 || bufferResume_ > bufferFull_) bufferResume_ = inSize_ / 4;
    }
    if (phase_ == TPortPhase::ppOpen) {
        RaiseForCode(mode != 0 ? dispatcher_->SetSoftwareFlow(bufferFull_, bufferResume_, mode)
                               : dispatcher_->SoftwareFlowOff());
    }
    swFlow_ = options;
}

void TSlioCustomComPort::applyFlowControl() {
    const bool saved = reapply_;
    reapply_ = true;
    try {
        SetHWFlowOptions(hwFlow_);
        SetSWFlowOptions(swFlow_);
    } catch (...) {
        reapply_ = saved;
        throw;
    }
    reapply_ = saved;
}

void TSlioCustomComPort::SetBufferFull(int level) {
    bufferFull_ = level > inSize_ ? level * 9 / 10 : level;
    applyFlowControl();
}

void TSlioCustomComPort::SetBufferResume(int level) {
    bufferResume_ = level > bufferFull_ ? bufferFull_ / 10 : level;
    applyFlowControl();
}

void TSlioCustomComPort::SetXOnChar(std::uint8_t c) {
    if (c == xonChar_ && !reapply_) return;
    xonChar_ = c;
    if (phase_ == TPortPhase::ppOpen)
        RaiseForCode(dispatcher_->SetXonXoffChars(xonChar_, xoffChar_));
}

void TSlioCustomComPort::SetXOffChar(std::uint8_t c) {
    if (c == xoffChar_ && !reapply_) return;
    xoffChar_ = c;
    if (phase_ == TPortPhase::ppOpen)
        RaiseForCode(dispatcher_->SetXonXoffChars(xonChar_, xoffChar_));
}

void TSlioCustomComPort::SetUseEventWord(bool on) {
    if (on == useEventWord_ && !reapply_) return;
    useEventWord_ = on;
    if (phase_ == TPortPhase::ppOpen) dispatcher_->SetEventWord(on);
}

void TSlioCustomComPort::SetRS485Mode(bool on) {
    if (on == rs485_ && !reapply_) return;
    rs485_ = on;
    if (phase_ == TPortPhase::ppOpen) dispatcher_->SetRS485Mode(on);
    if (on) {
        hwFlow_ &= static_cast<THWFlowOptions>(~(hwfUseRTS | hwfRequireCTS));
        SetRTS(false);
    }
}

// --- trace and log ---

namespace {

RecorderAction actionFor(TTraceLogState state) {
    return static_cast<RecorderAction>(static_cast<int>(state));
}

TTraceLogState propertyFor(RecorderState state) {
    switch (state) {
        case RecorderState::On: return TTraceLogState::tlOn;
        case RecorderState::Paused: return TTraceLogState::tlPause;
        case RecorderState::Off: break;
    }
    return TTraceLogState::tlOff;
}

}  // namespace

void TSlioCustomComPort::SetTracing(TTraceLogState state) {
    if (phase_ != TPortPhase::ppOpen) {
        tracing_ = state == TTraceLogState::tlOn ? TTraceLogState::tlOn : TTraceLogState::tlOff;
        return;
    }
    RecorderState result = RecorderState::Off;
    const int code =
        dispatcher_->TraceAction(actionFor(state), static_cast<std::uint32_t>(traceSize_),
                                 traceName_, {traceHex_, traceAllHex_}, result);
    tracing_ = propertyFor(result);
    RaiseForCode(code);
}

void TSlioCustomComPort::SetLogging(TTraceLogState state) {
    if (phase_ != TPortPhase::ppOpen) {
        logging_ = state == TTraceLogState::tlOn ? TTraceLogState::tlOn : TTraceLogState::tlOff;
        return;
    }
    RecorderState result = RecorderState::Off;
    const int code = dispatcher_->LogAction(actionFor(state), static_cast<std::uint32_t>(logSize_),
                                            logName_, {logHex_, logAllHex_}, result);
    logging_ = propertyFor(result);
    RaiseForCode(code);
}

void TSlioCustomComPort::SetTraceSize(int size) {
    traceSize_ = size > kMaxTraceSize ? kMaxTraceSize : size;
    // A running trace starts again with the new size.
    if (phase_ == TPortPhase::ppOpen && tracing_ != TTraceLogState::tlOff) {
        SetTracing(TTraceLogState::tlOff);
        SetTracing(TTraceLogState::tlOn);
    }
}

void TSlioCustomComPort::SetLogSize(int size) {
    logSize_ = size > kMaxLogSize ? kMaxLogSize : size;
    if (phase_ == TPortPhase::ppOpen && logging_ != TTraceLogState::tlOff) {
        SetLogging(TTraceLogState::tlOff);
        SetLogging(TTraceLogState::tlOn);
    }
}

// --- data operations ---

TSlioBaseDispatcher* TSlioCustomComPort::dataDispatcher() {
    if (phase_ == TPortPhase::ppClosing) return nullptr;
    if (!dispatcher_ && autoOpen_) SetOpen(true);
    if (!dispatcher_) RaiseForCode(SlioError::CommNotOpen);
    // A worker thread that ended on a failure (the device vanished) fails every operation.
    if (const int failure = dispatcher_->FailureCode(); failure < 0) RaiseForCode(failure);
    return dispatcher_.get();
}

void TSlioCustomComPort::DiscardInput() {
    if (auto* d = dataDispatcher()) d->FlushInBuffer();
}

void TSlioCustomComPort::DiscardOutput() {
    if (auto* d = dataDispatcher()) d->FlushOutBuffer();
}

bool TSlioCustomComPort::ByteAvailable() {
    auto* d = dataDispatcher();
    return d != nullptr && d->CharReady();
}

std::uint8_t TSlioCustomComPort::ReadByte() {
    auto* d = dataDispatcher();
    if (!d) return 0;
    std::uint8_t byte = 0;
    RaiseForCode(d->GetChar(byte));
    return byte;
}

void TSlioCustomComPort::WriteBytes(std::span<const std::uint8_t> bytes) {
    if (auto* d = dataDispatcher()) RaiseForCode(d->PutBlock(bytes.data(), bytes.size()));
}

void TSlioCustomComPort::WriteByte(std::uint8_t byte) {
    if (auto* d = dataDispatcher()) RaiseForCode(d->PutChar(byte));
}

}  // namespace canprog::serial
