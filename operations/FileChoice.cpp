#include "FileChoice.h"

#include "model/PlatformShell.h"

namespace canprog {

void bbOpenClick(MainForm& form) {
    if (form.checked(Ctl::DecodeON)) {
        form.openDialogFilter = "Plik HEXFW (*.hexfw)|*.hexfw";
        form.openDialogDefaultExtension = "*.hexfw";
    } else {
        form.openDialogFilter = "Plik HEX (*.hex)|*.hex";
        form.openDialogDefaultExtension = "*.hex";
    }
    const auto chosen =
        form.shell().chooseFileToOpen(form.openDialogFilter, form.openDialogDefaultExtension);
    if (!chosen) return;
    form.firmwareFileName = *chosen;
    form.setEnabled(Ctl::bbUpload, true);
    form.setEnabled(Ctl::bbHelp, true);
    form.clearLines(Ctl::meLog);
    // Without its folder, whichever separator the system writes.
    const auto slash = chosen->find_last_of("/\\");
    form.setText(Ctl::Edit2, slash == std::string::npos ? *chosen : chosen->substr(slash + 1));
}

}  // namespace canprog
