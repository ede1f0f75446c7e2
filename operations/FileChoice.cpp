#include "FileChoice.h"

#include "base/Utf8Path.h"
#include "firmware/FirmwareLoader.h"
#include "model/PlatformShell.h"

namespace canprog {

void bbOpenClick(MainForm& form) {
    // Both kinds of firmware file, and every file, in the window's language.
    form.openDialogFilter = form.windowText(WindowText::FirmwareFiles) +
                            " (*.hexfw *.hex)|*.hexfw;*.hex|" +
                            form.windowText(WindowText::AllFiles) + " (*)|*.*";
    form.openDialogDefaultExtension = "*.hexfw";
    const auto chosen =
        form.shell().chooseFileToOpen(form.openDialogFilter, form.openDialogDefaultExtension);
    if (chosen) useFirmwareFile(form, *chosen);
}

void useFirmwareFile(MainForm& form, const std::string& file) {
    form.firmwareFileName = file;
    // A .hexfw file is line-scrambled, any other plain Intel HEX, as the command line reads
    // them: the write and the CAN program list read the file as its name says.
    form.setChecked(Ctl::DecodeON, isEncodedFileName(file));
    form.setEnabled(Ctl::bbUpload, true);
    form.setEnabled(Ctl::bbHelp, true);
    form.clearLines(Ctl::meLog);
    form.setText(Ctl::Edit2, fileNameOf(file));
}

}  // namespace canprog
