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
    // A plain file's comment lines as well as a scrambled one's, as its name says.
    const ProgramList list = readProgramList(bytes, isEncodedFileName(form.firmwareFileName));
    form.images.decodeLineCounter = list.pairsRead;
    for (const auto& line : list.lines) help.addLine(cp1250ToUtf8(line));
    help.setCaption(form.text(Ctl::GroupBox18));
    help.setOuterSize(list.outerWidthPx(), list.outerHeightPx());
    help.show();
}

}  // namespace canprog
