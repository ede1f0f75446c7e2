#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "PlatformDispatcher.h"
#include "SlDispatch.h"
#include "SlMisc.h"
#include "WaitPump.h"

namespace canprog::serial {

enum class TDeviceLayer { dlWin32, dlWinsock };
enum class TParity { pNone, pOdd, pEven, pMark, pSpace };
enum THWFlowOption : std::uint8_t {
    hwfUseDTR = 1,
    hwfUseRTS = 2,
    hwfRequireDSR = 4,
    hwfRequireCTS = 8,
};
using THWFlowOptions = std::uint8_t;  // a set of THWFlowOption bits
enum class TSWFlowOptions { swfNone, swfReceive, swfTransmit, swfBoth };
enum class TTraceLogState { tlOff, tlOn, tlDump, tlAppend, tlClear, tlPause, tlAppendAndContinue };
enum class TTapiMode { tmNone, tmAuto, tmOn, tmOff };
enum class TPortPhase { ppClosed, ppClosing, ppOpen };

// The serial port component: settings as properties, open and close, and non-blocking byte
// operations. The dispatcher that does the work exists from open to close. Failures raise
// exceptions of the ESlioException family.
class TSlioCustomComPort : public TSlioBaseComponent {
  public:
    using Notify = std::function<void()>;
    // Shows the port selection dialog: the chosen port number, or nothing when cancelled.
    using PortPrompt = std::function<std::optional<int>()>;

    static constexpr int kMaxTraceSize = 4000000;
    static constexpr int kMaxLogSize = 16000000;

    // `factory` makes the dispatcher at every open: the system's own unless a test gives one.
    explicit TSlioCustomComPort(DispatcherFactory factory = createPlatformDispatcher);
    ~TSlioCustomComPort() override;
    TSlioCustomComPort(const TSlioCustomComPort&) = delete;
    TSlioCustomComPort& operator=(const TSlioCustomComPort&) = delete;

    // --- properties ---
    TDeviceLayer DeviceLayer() const { return deviceLayer_; }
    void SetDeviceLayer(TDeviceLayer layer);
    int ComNumber() const { return comNumber_; }
    void SetComNumber(int number);
    // An explicit device path; when set it names the device instead of ComNumber.
    const std::string& DevicePath() const { return devicePath_; }
    void SetDevicePath(const std::string& path) { devicePath_ = path; }
    int Baud() const { return baud_; }
    void SetBaud(int baud);
    bool PromptForPort() const { return promptForPort_; }
    void SetPromptForPort(bool prompt) { promptForPort_ = prompt; }
    TParity Parity() const { return parity_; }
    void SetParity(TParity parity);
    int DataBits() const { return dataBits_; }
    void SetDataBits(int bits);
    int StopBits() const { return stopBits_; }
    void SetStopBits(int bits);
    int InSize() const { return inSize_; }
    void SetInSize(int size);
    int OutSize() const { return outSize_; }
    void SetOutSize(int size);
    bool AutoOpen() const { return autoOpen_; }
    void SetAutoOpen(bool autoOpen) { autoOpen_ = autoOpen; }
    bool Open() const { return open_; }
    void SetOpen(bool open);
    bool DTR() const { return dtr_; }
    void SetDTR(bool on);
    bool RTS() const { return rts_; }
    void SetRTS(bool on);
    THWFlowOptions HWFlowOptions() const { return hwFlow_; }
    void SetHWFlowOptions(THWFlowOptions options);
    TSWFlowOptions SWFlowOptions() const { return swFlow_; }
    void SetSWFlowOptions(TSWFlowOptions options);
    std::uint8_t XOnChar() const { return xonChar_; }
    void SetXOnChar(std::uint8_t c);
    std::uint8_t XOffChar() const { return xoffChar_; }
    void SetXOffChar(std::uint8_t c);
    int BufferFull() const { return bufferFull_; }
    void SetBufferFull(int level);
    int BufferResume() const { return bufferResume_; }
    void SetBufferResume(int level);
    TTraceLogState Tracing() const { return tracing_; }
    void SetTracing(TTraceLogState state);
    int TraceSize() const { return traceSize_; }
    void SetTraceSize(int size);
    const std::string& TraceName() const { return traceName_; }
    void SetTraceName(const std::string& name) { traceName_ = name.substr(0, 255); }
    bool TraceHex() const { return traceHex_; }
    void SetTraceHex(bool hex) { traceHex_ = hex; }
    bool TraceAllHex() const { return traceAllHex_; }
    void SetTraceAllHex(bool hex) { traceAllHex_ = hex; }
    TTraceLogState Logging() const { return logging_; }
    void SetLogging(TTraceLogState state);
    int LogSize() const { return logSize_; }
    void SetLogSize(int size);
    const std::string& LogName() const { return logName_; }
    void SetLogName(const std::string& name) { logName_ = name.substr(0, 255); }
    bool LogHex() const { return logHex_; }
    void SetLogHex(bool hex) { logHex_ = hex; }
    bool LogAllHex() const { return logAllHex_; }
    void SetLogAllHex(bool hex) { logAllHex_ = hex; }
    bool UseMSRShadow() const { return true; }
    void SetUseMSRShadow(bool) {}  // always true
    bool UseEventWord() const { return useEventWord_; }
    void SetUseEventWord(bool on);
    int CommNotificationLevel() const { return commNotificationLevel_; }
    void SetCommNotificationLevel(int level) { commNotificationLevel_ = level; }
    TTapiMode TapiMode() const { return tapiMode_; }
    void SetTapiMode(TTapiMode mode) { tapiMode_ = mode; }
    bool RS485Mode() const { return rs485_; }
    void SetRS485Mode(bool on);

    Notify OnPortOpen;
    Notify OnPortClose;

    // The port selection dialog; without one, an open with ComNumber 0 fails.
    void SetPortPrompt(PortPrompt prompt) { portPrompt_ = std::move(prompt); }
    // The pump that keeps the window alive while open and close wait for the worker threads.
    void SetWaitPump(WaitPump* pump);

    // --- data operations ---
    void DiscardInput();
    void DiscardOutput();
    bool ByteAvailable();
    std::uint8_t ReadByte();
    void WriteByte(std::uint8_t byte);
    // Appends several bytes to the transmit ring in one step (a whole frame), so that the
    // transmit thread finds them together; a ring without room for all of them is an error
    // and takes none.
    void WriteBytes(std::span<const std::uint8_t> bytes);

    // --- state ---
    TPortPhase Phase() const { return phase_; }
    TSlioBaseDispatcher* Dispatcher() const { return dispatcher_.get(); }
    // The device that the next open uses.
    std::string ResolvedDevice() const;
    // Signalled whenever received bytes arrive (see TSlioBaseDispatcher::Arrival); none while
    // the port is closed.
    WaitHandle Arrival() const { return dispatcher_ ? dispatcher_->Arrival() : WaitHandle(); }
    // When the bytes received last arrived, as the receive side saw them (see
    // TSlioBaseDispatcher::LastReceived); the clock's epoch while the port is closed.
    std::chrono::steady_clock::time_point LastReceived() const {
        return dispatcher_ ? dispatcher_->LastReceived() : std::chrono::steady_clock::time_point();
    }
    // Why the trace or log file could not be written when the port last closed; empty when it
    // was written (or was off). Kept even when the caller of the close swallowed the error.
    const std::string& LastDumpError() const { return lastDumpError_; }
    // The code with which the dispatcher's worker threads ended on a failure (the device
    // vanished); 0 while all is well or the port is closed.
    int DeviceFailure() const { return dispatcher_ ? dispatcher_->FailureCode() : 0; }

  private:
    void openPort();
    void closePort();
    // The dispatcher for a data operation, opening the port first when AutoOpen allows.
    TSlioBaseDispatcher* dataDispatcher();
    void applyFlowControl();
    template <typename Value>
    void setLineValue(Value& field, Value value);
    void pushAllSettings();

    DispatcherFactory factory_;
    WaitPump* waitPump_ = nullptr;
    std::unique_ptr<TSlioBaseDispatcher> dispatcher_;
    TPortPhase phase_ = TPortPhase::ppClosed;
    bool reapply_ = false;
    std::string lastDumpError_;
    bool openPending_ = false;
    PortPrompt portPrompt_;

    TDeviceLayer deviceLayer_ = TDeviceLayer::dlWin32;
    int comNumber_ = 0;
    std::string devicePath_;
    int baud_ = 19200;
    bool promptForPort_ = true;
    TParity parity_ = TParity::pNone;
    int dataBits_ = 8;
    int stopBits_ = 1;
    int inSize_ = 4096;
    int outSize_ = 4096;
    bool autoOpen_ = true;
    bool open_ = false;
    bool dtr_ = true;
    bool rts_ = true;
    THWFlowOptions hwFlow_ = 0;
    TSWFlowOptions swFlow_ = TSWFlowOptions::swfNone;
    std::uint8_t xonChar_ = 17;
    std::uint8_t xoffChar_ = 19;
    int bufferFull_ = 0;
    int bufferResume_ = 0;
    TTraceLogState tracing_ = TTraceLogState::tlOff;
    int traceSize_ = 10000;
    std::string traceName_ = "SLIO.TRC";
    bool traceHex_ = true;
    bool traceAllHex_ = false;
    TTraceLogState logging_ = TTraceLogState::tlOff;
    int logSize_ = 10000;
    std::string logName_ = "SLIO.LOG";
    bool logHex_ = true;
    bool logAllHex_ = false;
    bool useEventWord_ = true;
    int commNotificationLevel_ = 10;
    TTapiMode tapiMode_ = TTapiMode::tmAuto;
    bool rs485_ = false;
    int triggerLength_ = 1;
    int priorityBoost_ = 0;
};

// The component as it is placed on a window.
class TSlioComPort : public TSlioCustomComPort {
  public:
    using TSlioCustomComPort::TSlioCustomComPort;
};

}  // namespace canprog::serial
