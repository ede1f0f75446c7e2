#include "DoctorCommand.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "Console.h"
#include "ExitCodes.h"
#include "ModuleSession.h"
#include "operations/ConnectionDoctor.h"

namespace canprog::cli {

namespace {

nlohmann::json jsonOf(const serial::ConnectionFacts& facts) {
    nlohmann::json holders = nlohmann::json::array();
    for (const auto& holder : facts.holders) {
        holders.push_back({{"pid", holder.pid}, {"program", holder.program}});
    }
    nlohmann::json unready = nlohmann::json::array();
    for (const auto& adapter : facts.unready) {
        unready.push_back({{"name", adapter.name},
                           {"vendor_id", adapter.vendorId},
                           {"problem_code", adapter.problemCode}});
    }
    const auto optional = [](const std::optional<int>& value) {
        return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
    };
    return {{"device", facts.device},
            {"exists", facts.exists},
            {"permitted", facts.permitted},
            {"busy", facts.busy},
            {"description", facts.description},
            {"stable_name", facts.stableName},
            {"driver", facts.driver},
            {"vendor_id", facts.vendorId},
            {"product_id", facts.productId},
            {"held_by", holders},
            {"watchers", facts.watchers},
            {"latency_timer_ms", optional(facts.latencyTimer_ms)},
            {"rx_trigger_bytes", optional(facts.receiveTriggerBytes)},
            {"unready_adapters", unready}};
}

nlohmann::json jsonOf(const DoctorReport& report) {
    nlohmann::json findings = nlohmann::json::array();
    for (const auto& finding : report.findings) {
        findings.push_back(
            {{"problem", finding.kind == DoctorFinding::Kind::Problem}, {"text", finding.text}});
    }
    nlohmann::json document = {{"findings", findings}};
    if (report.loopbackSent > 0) {
        document["loopback"] = {
            {"sent", report.loopbackSent},
            {"back", report.loopbackBack},
            {"round_trip_ms", report.loopbackRoundTrip
                                  ? nlohmann::json(report.loopbackRoundTrip->count())
                                  : nlohmann::json(nullptr)}};
    }
    if (report.moduleAnswer) {
        document["module"] = {{"answer_ms", report.moduleAnswer->count()},
                              {"device_id", report.deviceId},
                              {"version", report.version}};
    }
    return document;
}

}  // namespace

int runDoctor(const ModuleOptions& options, bool loopback, bool json, std::ostream& out,
              std::ostream& err) {
    const serial::ConnectionFacts facts = serial::lookUpConnection(options.port, options.device);
    // With --json the module's own log lines stay out of the document.
    std::ostringstream quiet;
    Interrupts interrupts;
    ModuleSession session(options, json ? quiet : out, json ? quiet : err, interrupts);
    DoctorReport report;
    session.run([&] {
        report = checkConnection(session.operations(), facts, loopback);
        return OperationOutcome::Finished;
    });
    int code = kExitOk;
    if (report.problems()) {
        code = !facts.exists || !facts.permitted || facts.busy || !facts.holders.empty() ? kExitPort
               : loopback ? kExitTransmission
                          : kExitNoBootloader;
    }
    code = session.finish(session.interrupted() ? kExitCancelled : code);
    if (json) {
        nlohmann::json document = jsonOf(report);
        document["facts"] = jsonOf(facts);
        document["exit_code"] = code;
        out << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else {
        for (const auto& finding : report.findings) {
            out << (finding.kind == DoctorFinding::Kind::Problem ? "[!] " : "    ") << finding.text
                << '\n';
        }
    }
    return code;
}

}  // namespace canprog::cli
