#include "OpenFailureNote.h"

#include <filesystem>

#include "serial/SlErrors.h"
#include "serial/SlSelCom.h"

namespace canprog {

namespace {

// "COM1 (/dev/ttyS0), COM5 (/dev/ttyUSB0)".
std::string portList(const std::vector<serial::PresentPort>& ports) {
    std::string list;
    for (const auto& port : ports) {
        if (!list.empty()) list += ", ";
        list += serial::portItem(port.number);
        if (!port.device.ends_with(serial::portItem(port.number))) list += " (" + port.device + ")";
    }
    return list;
}

}  // namespace

void noteOpenFailure(WindowLink& link) {
    MainForm& form = link.form();
    const OpenFailure& failure = link.lastOpenFailure();
    const std::pair<std::string_view, std::string> device{"device", failure.device};
    switch (static_cast<serial::SlioError>(failure.code)) {
        case serial::SlioError::BadId: {
            std::error_code error;
            if (!link.port().ResolvedDevice().empty() &&
                std::filesystem::exists(link.port().ResolvedDevice(), error)) {
                form.logNote(Extra::PortNotSerial, {device});
                return;
            }
            const auto ports = serial::presentPorts(serial::kHighestComNumber);
            if (ports.empty()) {
                form.logNote(Extra::PortMissingNoneThere, {device});
            } else {
                form.logNote(Extra::PortMissing, {device, {"ports", portList(ports)}});
            }
            return;
        }
        case serial::SlioError::AlreadyOpen: form.logNote(Extra::PortBusy, {device}); return;
        case serial::SlioError::PortPermission:
            form.logNote(Extra::PortPermission, {device});
            return;
        default: form.logNote(Extra::PortFailed, {device, {"reason", failure.message}}); return;
    }
}

}  // namespace canprog
