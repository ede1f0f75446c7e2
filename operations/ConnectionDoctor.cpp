#include "ConnectionDoctor.h"

#include <algorithm>
#include <array>

#include "bootloader/Replies.h"
#include "model/ExtraMessages.h"
#include "model/MessageIndex.h"

namespace canprog {

namespace {

using Clock = std::chrono::steady_clock;
using Values = std::vector<std::pair<std::string_view, std::string>>;

// A latency timer above this holds every reply back noticeably.
constexpr int kQuickLatency_ms = 2;
constexpr std::size_t kLoopbackBytes = 32;
constexpr auto kLoopbackWait = std::chrono::milliseconds(1000);
constexpr auto kLoopbackPoll = std::chrono::milliseconds(2);

// "COM3 (/dev/ttyUSB0)" for the chosen port; the device alone when one was named instead.
std::string portName(const MainForm& form, const serial::ConnectionFacts& facts) {
    const std::string com = "COM" + std::to_string(form.selectedPortNumber());
    if (facts.device.find(com) != std::string::npos) return facts.device;
    return facts.namedDevice ? facts.device : com + " (" + facts.device + ")";
}

std::string ttyOf(const std::string& device) {
    const auto slash = device.find_last_of('/');
    return slash == std::string::npos ? device : device.substr(slash + 1);
}

std::string adapterText(const serial::ConnectionFacts& facts) {
    std::string text = facts.description.empty() ? std::string("—") : facts.description;
    if (!facts.vendorId.empty()) text += " [" + facts.vendorId + ":" + facts.productId + "]";
    if (!facts.driver.empty()) text += ", " + facts.driver;
    if (!facts.stableName.empty()) text += ", " + facts.stableName;
    return text;
}

}  // namespace

bool DoctorReport::problems() const {
    return std::any_of(findings.begin(), findings.end(), [](const DoctorFinding& finding) {
        return finding.kind == DoctorFinding::Kind::Problem;
    });
}

std::vector<DoctorFinding> judgeConnection(const MainForm& form,
                                           const serial::ConnectionFacts& facts) {
    std::vector<DoctorFinding> found;
    const auto say = [&](DoctorFinding::Kind kind, Extra line, const Values& values = {}) {
        found.push_back({kind, form.extraMessage(line, values)});
    };
    const auto fact = DoctorFinding::Kind::Fact;
    const auto problem = DoctorFinding::Kind::Problem;
    const std::string port = portName(form, facts);
    if (facts.exists) {
        say(fact, Extra::DoctorPortFound, {{"port", port}, {"adapter", adapterText(facts)}});
    } else {
        say(problem, Extra::DoctorNoDevice, {{"port", port}});
    }
    for (const serial::UnreadyAdapter& adapter : facts.unready) {
        const auto maker = serial::chipMakerOf(adapter.vendorId);
        say(problem, Extra::DoctorNoDriver,
            {{"adapter", adapter.name},
             {"maker", maker ? maker->maker : adapter.vendorId},
             {"code", std::to_string(adapter.problemCode)},
             {"driver", maker ? maker->driver : std::string()}});
    }
    if (std::count(facts.watchers.begin(), facts.watchers.end(), "brltty") > 0) {
        say(problem, Extra::DoctorBrltty);
    }
    if (!facts.exists) return found;
    if (!facts.permitted) say(problem, Extra::DoctorNoPermission, {{"port", port}});
    for (const serial::PortHolder& holder : facts.holders) {
        if (holder.program == "ModemManager") {
            say(problem, Extra::DoctorModemManager, {{"port", port}});
            continue;
        }
        say(problem, Extra::DoctorHeldBy,
            {{"port", port}, {"program", holder.program}, {"pid", std::to_string(holder.pid)}});
    }
    if (facts.busy) say(problem, Extra::DoctorBusy, {{"port", port}});
    if (facts.latencyTimer_ms && *facts.latencyTimer_ms > kQuickLatency_ms) {
        const std::string now = std::to_string(*facts.latencyTimer_ms);
        const std::string fix = facts.driver == "FTDIBUS"
                                    ? form.extraMessage(Extra::FtdiLatencyAdvice, {{"now", now}})
                                    : "echo 1 | sudo tee /sys/bus/usb-serial/devices/" +
                                          ttyOf(facts.device) + "/latency_timer";
        say(fact, Extra::DoctorLatency, {{"now", now}, {"fix", fix}});
    }
    if (facts.receiveTriggerBytes && *facts.receiveTriggerBytes > 1) {
        say(fact, Extra::DoctorReceiveFifo,
            {{"bytes", std::to_string(*facts.receiveTriggerBytes)}, {"tty", ttyOf(facts.device)}});
    } else if (facts.builtInUart && facts.driver == "ACPI") {
        say(fact, Extra::DoctorReceiveBuffer, {{"port", port}});
    }
    return found;
}

namespace {

// Bytes sent with TX joined to RX, and how many came back how fast.
void runLoopback(Operations& operations, DoctorReport& report) {
    auto& port = operations.ComPort();
    port.SetOpen(true);
    if (!port.Open()) return;
    port.DiscardInput();
    std::array<std::uint8_t, kLoopbackBytes> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(0x55 + i);
    const auto sent = Clock::now();
    port.WriteBytes(bytes);
    report.loopbackSent = static_cast<int>(bytes.size());
    std::optional<Clock::time_point> last;
    while (report.loopbackBack < report.loopbackSent && Clock::now() - sent < kLoopbackWait) {
        if (port.ByteAvailable()) {
            if (port.ReadByte() == bytes[static_cast<std::size_t>(report.loopbackBack)]) {
                ++report.loopbackBack;
                last = Clock::now();
            }
            continue;
        }
        operations.link().pump().sleep(kLoopbackPoll);
    }
    port.SetOpen(false);
    if (last) {
        report.loopbackRoundTrip = std::chrono::ceil<std::chrono::milliseconds>(*last - sent);
    }
}

// The module read as "Read" reads its version, with the device ID, and the time from the
// first WAKE to the bootloader's answer.
void checkModule(Operations& operations, DoctorReport& report) {
    MainForm& form = operations.form();
    std::optional<Clock::time_point> searching;
    std::optional<Clock::time_point> linked;
    struct Steps : ModelListener {
        MainForm& form;
        std::optional<Clock::time_point>& searching;
        std::optional<Clock::time_point>& linked;
        Steps(MainForm& f, std::optional<Clock::time_point>& s, std::optional<Clock::time_point>& l)
            : form(f), searching(s), linked(l) {}
        void controlChanged(Ctl id, Change what) override {
            if (id != Ctl::meLog || what != Change::LineAdded) return;
            const std::string& line = form.logLines().back();
            if (!searching && line == form.message(msg::Searching)) searching = Clock::now();
            if (searching && !linked && (line == "OK" || line == form.message(msg::Ok))) {
                linked = Clock::now();
            }
        }
    } steps(form, searching, linked);
    form.addListener(&steps);
    const bool deviceId = form.checked(Ctl::DeviceID);
    form.setChecked(Ctl::DeviceID, true);
    const OperationOutcome outcome = operations.readVersion();
    form.setChecked(Ctl::DeviceID, deviceId);
    form.removeListener(&steps);
    if (outcome == OperationOutcome::Finished && searching && linked) {
        report.moduleAnswer = std::chrono::ceil<std::chrono::milliseconds>(*linked - *searching);
        // The read's own lines: "Device ID: 12:34", "Program version: DEMO 1.00".
        const std::string idLine = "Device ID: ";
        const std::string versionLine = form.message(msg::ProgramVersion) + ": ";
        for (const std::string& line : form.logLines()) {
            if (line.rfind(idLine, 0) == 0) report.deviceId = line.substr(idLine.size());
            if (line.rfind(versionLine, 0) == 0) report.version = line.substr(versionLine.size());
        }
    }
}

}  // namespace

DoctorReport checkConnection(Operations& operations, const serial::ConnectionFacts& facts,
                             bool loopback) {
    MainForm& form = operations.form();
    DoctorReport report;
    report.findings = judgeConnection(form, facts);
    const bool opens = facts.exists && facts.permitted && facts.holders.empty() && !facts.busy;
    if (!opens) return report;
    const auto say = [&](DoctorFinding::Kind kind, Extra line, const Values& values = {}) {
        report.findings.push_back({kind, form.extraMessage(line, values)});
    };
    if (loopback) {
        runLoopback(operations, report);
        if (report.loopbackRoundTrip) {
            say(report.loopbackBack == report.loopbackSent ? DoctorFinding::Kind::Fact
                                                           : DoctorFinding::Kind::Problem,
                Extra::DoctorLoopback,
                {{"sent", std::to_string(report.loopbackSent)},
                 {"back", std::to_string(report.loopbackBack)},
                 {"ms", std::to_string(report.loopbackRoundTrip->count())}});
        } else {
            say(DoctorFinding::Kind::Problem, Extra::DoctorNoLoopback,
                {{"sent", std::to_string(report.loopbackSent)}});
        }
    } else {
        checkModule(operations, report);
        if (report.moduleAnswer) {
            say(DoctorFinding::Kind::Fact, Extra::DoctorModule,
                {{"ms", std::to_string(report.moduleAnswer->count())},
                 {"id", report.deviceId.empty() ? std::string("—") : report.deviceId},
                 {"version", report.version}});
        } else {
            say(DoctorFinding::Kind::Problem, Extra::DoctorNoModule);
        }
    }
    if (!report.problems()) say(DoctorFinding::Kind::Fact, Extra::DoctorAllWell);
    return report;
}

void CheckConnectionClick(MainForm& form, Operations& operations) {
    if (form.operationRunning()) return;
    const serial::ConnectionFacts facts =
        serial::lookUpConnection(form.selectedPortNumber(), operations.ComPort().DevicePath());
    const DoctorReport report = checkConnection(operations, facts, false);
    for (const DoctorFinding& finding : report.findings) form.log(finding.text);
}

}  // namespace canprog
