#include "FirmwareWrite.h"

#include "app/model/MessageIndex.h"
#include "firmware/FirmwareLoader.h"

namespace canprog {

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
        return WriteLoad::Failed;
    }
    return WriteLoad::Loaded;
}

}  // namespace canprog
