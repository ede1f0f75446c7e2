#include "HelpHandler.h"

#include "firmware/Cp1250.h"
#include "firmware/FirmwareLoader.h"
#include "firmware/ProgramList.h"
#include "model/MessageIndex.h"

namespace canprog {

void bbHelpClick(MainForm& form, HelpWindow& help) {
    if (form.firmwareFileName.empty()) return;
    std::string bytes;
    std::string error;
    if (!readFileBytes(form.firmwareFileName, bytes, error)) {
        form.logMessage(msg::ErrorLoadingFile);
        return;
    }
    help.clear();
    const ProgramList list = readProgramList(bytes, form.checked(Ctl::DecodeON));
    form.images.decodeLineCounter = list.pairsRead;
    for (const auto& line : list.lines) help.addLine(cp1250ToUtf8(line));
    help.setCaption(form.text(Ctl::GroupBox18));
    help.setOuterSize(list.outerWidthPx(), list.outerHeightPx());
    help.show();
}

}  // namespace canprog
