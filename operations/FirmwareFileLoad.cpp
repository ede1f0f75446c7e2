#include "FirmwareFileLoad.h"

#include "firmware/FirmwareLoader.h"
#include "model/MessageIndex.h"

namespace canprog {

void noteFileProblem(MainForm& form, const std::string& file, const HexLineProblem& problem) {
    if (problem.lineNumber > 0) {
        form.logNote(Extra::FileLineProblem, {{"file", file},
                                              {"line", std::to_string(problem.lineNumber)},
                                              {"reason", problem.reason}});
    } else {
        form.logNote(Extra::FileProblem, {{"file", file}, {"reason", problem.reason}});
    }
}

WriteLoad loadFirmwareForWrite(MainForm& form, HexLineProblem* problem) {
    if (form.firmwareFileName.empty()) {
        form.logMessage(msg::NoFileSelected);
        return WriteLoad::NoFileChosen;
    }
    form.images.erase();
    form.clearLines(Ctl::meLog);
    const FirmwareLoadResult result =
        loadFirmwareFile(form.firmwareFileName, form.checked(Ctl::DecodeON), form.images);
    if (!result.loaded()) {
        if (problem) *problem = result.problem;
        form.logMessage(msg::ErrorLoadingFile);
        noteFileProblem(form, form.firmwareFileName, result.problem);
        return WriteLoad::Failed;
    }
    return WriteLoad::Loaded;
}

}  // namespace canprog
