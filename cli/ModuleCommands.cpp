#include "ModuleCommands.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include "ExitCodes.h"
#include "FirmwareCommands.h"
#include "ModuleSession.h"

namespace canprog::cli {

int exitCodeFor(OperationOutcome outcome) {
    switch (outcome) {
        case OperationOutcome::Finished: return kExitOk;
        case OperationOutcome::NotStarted: return kExitUsage;
        case OperationOutcome::NoFileChosen:
        case OperationOutcome::FirmwareFileError: return kExitFirmwareFile;
        case OperationOutcome::PortError: return kExitPort;
        case OperationOutcome::NoBootloader: return kExitNoBootloader;
        case OperationOutcome::TransmissionError:
        case OperationOutcome::DeviceLost: return kExitTransmission;
        case OperationOutcome::Rejected: return kExitRejected;
        case OperationOutcome::Cancelled: return kExitCancelled;
        case OperationOutcome::InvalidSetting: return kExitInvalidSetting;
        case OperationOutcome::VerifyFailed: return kExitVerifyFailed;
    }
    return kExitUsage;
}

int runWrite(const ModuleOptions& options, const std::string& file, std::ostream& out,
             std::ostream& err) {
    ModuleSession session(options, out, err);
    session.form().firmwareFileName = file;
    session.form().setChecked(Ctl::DecodeON, isEncodedFileName(file));
    const OperationOutcome outcome = session.run([&] { return session.operations().upload(); });
    return session.finish(exitCodeFor(outcome));
}

int runVersion(const ModuleOptions& options, bool deviceId, std::ostream& out, std::ostream& err) {
    ModuleSession session(options, out, err);
    session.form().setChecked(Ctl::DeviceID, deviceId);
    const OperationOutcome outcome =
        session.run([&] { return session.operations().readVersion(); });
    return session.finish(exitCodeFor(outcome));
}

}  // namespace canprog::cli
