#include "Handlers.h"

#include "HelpHandler.h"
#include "firmware/FileChoice.h"
#include "firmware/FirmwareWrite.h"

namespace canprog {

namespace {
constexpr std::size_t kMsgFinished = 13;
}

void bbUploadClick(MainForm& form) {
    if (loadFirmwareForWrite(form) != WriteLoad::NoFileChosen) return;
    form.logMessage(kMsgFinished);
    form.setText(Ctl::Edit1, "Finished.");
    form.setProgressMinimum(Ctl::ProgressBar, 0);
    form.setProgressPosition(Ctl::ProgressBar, 0);
}

void bindHandlers(MainForm& form, HelpWindow& help) {
    form.bindClick(Ctl::bbOpen, [&form] { bbOpenClick(form); });
    form.bindClick(Ctl::bbUpload, [&form] { bbUploadClick(form); });
    form.bindClick(Ctl::bbHelp, [&form, &help] { bbHelpClick(form, help); });
}

}  // namespace canprog
