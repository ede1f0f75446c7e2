#include "FirmwareWrite.h"

#include "FirmwareLoader.h"

namespace canprog {

namespace {
constexpr std::size_t kMsgErrorLoadingFile = 2;
constexpr std::size_t kMsgNoFileSelected = 14;
}  // namespace

WriteLoad loadFirmwareForWrite(MainForm& form, HexLineProblem* problem) {
    if (form.firmwareFileName.empty()) {
        form.logMessage(kMsgNoFileSelected);
        return WriteLoad::NoFileChosen;
    }
    form.images.erase();
    form.clearLines(Ctl::meLog);
    const FirmwareLoadResult result =
        loadFirmwareFile(form.firmwareFileName, form.checked(Ctl::DecodeON), form.images);
    if (!result.loaded()) {
        if (problem) *problem = result.problem;
        form.logMessage(kMsgErrorLoadingFile);
        return WriteLoad::Failed;
    }
    return WriteLoad::Loaded;
}

}  // namespace canprog
