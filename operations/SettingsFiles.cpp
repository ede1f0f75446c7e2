#include "SettingsFiles.h"

#include "SavedBlock.h"
#include "base/OutputFiles.h"
#include "base/Utf8Path.h"
#include "bootloader/Replies.h"
#include "model/PlatformShell.h"

namespace canprog {

namespace {

constexpr const char* kFilter = "canprog settings (*.json)|*.json";
constexpr const char* kExtension = "*.json";
// The parameters page says the file's outcome in place of what it showed before.
constexpr auto kInsteadOfStatus = MainForm::ShowNote::InsteadOfStatus;

}  // namespace

void bbSaveSettingsClick(MainForm& form, const LastRead& lastRead) {
    if (form.operationRunning()) return;
    const auto file = form.shell().chooseFileToSave(kFilter, kExtension);
    if (!file) return;
    const SavedBlock saved{lastRead.block, lastRead.deviceId, lastRead.device, utcNow()};
    std::string why;
    // The dialog asked before an existing file is replaced.
    if (!writeNewFile(*file, savedBlockJson(saved, form.languageCode), true, why)) {
        form.logNoteAndShow(Extra::SettingsNotSaved, {{"file", fileNameOf(*file)}, {"reason", why}},
                            kInsteadOfStatus);
        return;
    }
    form.logNoteAndShow(Extra::SettingsSaved, {{"file", fileNameOf(*file)}}, kInsteadOfStatus);
}

void bindSettingsFiles(MainForm& form, Operations& operations) {
    form.bindClick(Ctl::bbSaveSettings,
                   [&form, &operations] { bbSaveSettingsClick(form, operations.lastRead()); });
    form.bindClick(Ctl::bbOpenSettings,
                   [&form, &operations] { bbOpenSettingsClick(form, operations.lastRead()); });
}

void bbOpenSettingsClick(MainForm& form, const LastRead& lastRead) {
    if (form.operationRunning()) return;
    const auto file = form.shell().chooseFileToOpen(kFilter, kExtension);
    if (!file) return;
    const auto refuse = [&](const std::string& reason) {
        form.logNoteAndShow(Extra::SettingsNotLoaded,
                            {{"file", fileNameOf(*file)}, {"reason", reason}}, kInsteadOfStatus);
    };
    std::string why;
    SavedBlockProblem problem = SavedBlockProblem::Unreadable;
    const auto saved = readSavedBlockFile(*file, why, &problem);
    // Said in the window's language; only the system's own reason stays as it gives it.
    if (!saved && problem == SavedBlockProblem::Unreadable) return refuse(why);
    if (!saved && problem == SavedBlockProblem::NoModule) {
        return refuse(form.extraMessage(Extra::SavedFileNoModule));
    }
    if (!saved && problem == SavedBlockProblem::Edited) {
        return refuse(form.extraMessage(Extra::SavedFileEdited));
    }
    if (!saved) return refuse(form.extraMessage(Extra::SavedFileNotABlock));
    if (saved->deviceId && lastRead.deviceId && *saved->deviceId != *lastRead.deviceId) {
        return refuse(form.extraMessage(Extra::SettingsOfAnotherModule,
                                        {{"blockId", deviceIdText(*saved->deviceId)},
                                         {"moduleId", deviceIdText(*lastRead.deviceId)}}));
    }
    // Settings of another program mean other things in the same bytes.
    if (!sameVersionText(saved->block, lastRead.block)) {
        return refuse(
            form.extraMessage(Extra::SettingsOfAnotherProgram,
                              {{"blockVersion", programVersionShown(form, saved->block)},
                               {"moduleVersion", programVersionShown(form, lastRead.block)}}));
    }
    // The saved settings over the block as the module holds it: only what the controls show.
    ParameterImage shown = form.images.eepromImage;
    keepModuleSettings(shown, saved->block);
    applyParameterImage(form, shown);
    form.logNoteAndShow(Extra::SettingsLoaded, {{"file", fileNameOf(*file)}}, kInsteadOfStatus);
}

}  // namespace canprog
