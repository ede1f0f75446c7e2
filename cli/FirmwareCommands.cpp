#include "FirmwareCommands.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <optional>
#include <ostream>

#include "CliSession.h"
#include "ExitCodes.h"
#include "base/OutputFiles.h"
#include "firmware/Cp1250.h"
#include "firmware/FirmwareLoader.h"
#include "firmware/HexfwCodec.h"
#include "firmware/ProgramList.h"
#include "model/MessageIndex.h"
#include "operations/FirmwareFileLoad.h"

namespace canprog::cli {

namespace {

// An image or a conversion is the named output of the command: it replaces a file of that
// name, through a temporary file, never a link or a device.
template <typename Bytes>
bool writeBytes(const std::string& path, const Bytes& bytes, std::ostream& err) {
    std::string why;
    if (!writeNewFile(path, std::string(bytes.begin(), bytes.end()), true, why)) {
        fmt::print(err, "{}: cannot write the file: {}\n", path, why);
        return false;
    }
    return true;
}

// kExitOutput, and why on `err`, when one of the outputs could not be written; found out
// before the input is read.
std::optional<int> outputsRefused(std::initializer_list<std::string> outputs, std::ostream& err) {
    for (const std::string& output : outputs) {
        if (output.empty()) continue;
        if (const auto refused = refusedNewFile(output, true)) {
            fmt::print(err, "{}: {}\n", output, *refused);
            return kExitOutput;
        }
    }
    return std::nullopt;
}

std::string describeTop(std::int32_t top) {
    return top < 0 ? std::string("-1 (none)") : fmt::format("{} (0x{:04X})", top, top);
}

}  // namespace

int runInspect(const InspectOptions& options, char languageCode, std::ostream& out,
               std::ostream& err) {
    if (const auto refused = outputsRefused({options.flashOut, options.eepromOut}, err)) {
        return *refused;
    }
    CliSession session(languageCode, out, err);
    MainForm& form = session.form();
    form.firmwareFileName = options.file;
    form.setChecked(Ctl::DecodeON, isEncodedFileName(options.file));
    if (loadFirmwareForWrite(form) != WriteLoad::Loaded) return kExitFirmwareFile;
    fmt::print(out, "flashTop: {}\neepromTop: {}\n", describeTop(form.images.flashTop),
               describeTop(form.images.eepromTop));
    if (!options.flashOut.empty() && !writeBytes(options.flashOut, form.images.flashImage, err)) {
        return kExitOutput;
    }
    if (!options.eepromOut.empty() &&
        !writeBytes(options.eepromOut, form.images.eepromImage, err)) {
        return kExitOutput;
    }
    return kExitOk;
}

int runPrograms(const std::string& file, char languageCode, std::ostream& out, std::ostream& err) {
    std::string bytes;
    std::string error;
    if (!readFileBytes(file, bytes, error)) {
        CliSession session(languageCode, out, err);
        session.form().logMessage(msg::ErrorLoadingFile);
        noteFileProblem(session.form(), file, {0, error});
        return kExitFirmwareFile;
    }
    for (const auto& line : readProgramList(bytes, isEncodedFileName(file)).lines) {
        out << cp1250ToUtf8(line) << '\n';
    }
    return kExitOk;
}

int runHexfw(bool encode, const std::string& in, const std::string& out, char languageCode,
             std::ostream& log, std::ostream& err) {
    if (const auto refused = outputsRefused({out}, err)) return *refused;
    CliSession session(languageCode, log, err);
    const auto refuse = [&](const HexLineProblem& problem) {
        session.form().logMessage(msg::ErrorLoadingFile);
        noteFileProblem(session.form(), in, problem);
        return kExitFirmwareFile;
    };
    std::string bytes;
    std::string error;
    if (!readFileBytes(in, bytes, error)) return refuse({0, error});
    // Only a file that loads is converted, so that a conversion never hides a broken record.
    FirmwareImages scratch;
    const FirmwareLoadResult check = loadFirmwareData(bytes, !encode, scratch);
    if (!check.loaded()) return refuse(check.problem);
    const HexfwConversion converted = encode ? encodeHexfw(bytes) : decodeHexfw(bytes);
    if (!converted.ok) return refuse(converted.problem);
    return writeBytes(out, converted.output, err) ? kExitOk : kExitOutput;
}

}  // namespace canprog::cli
