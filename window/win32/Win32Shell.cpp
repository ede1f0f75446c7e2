#include "Win32Shell.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "FirmwareFinderDialog.h"
#include "base/win32/WideText.h"

namespace canprog::win32window {

std::wstring dialogFilter(const std::string& filter) {
    std::wstring pairs = win32::widen(filter);
    for (auto& c : pairs)
        if (c == L'|') c = L'\0';
    pairs.push_back(L'\0');
    pairs.push_back(L'\0');
    return pairs;
}

std::wstring dialogDefaultExtension(const std::string& defaultExtension) {
    std::string_view extension = defaultExtension;
    if (extension.starts_with("*.")) extension.remove_prefix(2);
    if (extension.starts_with('.')) extension.remove_prefix(1);
    return win32::widen(extension);
}

void Win32Shell::openUrl(const std::string& address) {
    ::ShellExecuteW(owner_, L"open", win32::widen(address).c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
}

namespace {

// One common file dialog: to open an existing file, or to save (asking before a file is
// replaced).
std::optional<std::string> chooseFile(HWND owner, bool save, const std::string& filter,
                                      const std::string& defaultExtension) {
    const std::wstring filters = dialogFilter(filter);
    const std::wstring extension = dialogDefaultExtension(defaultExtension);
    std::vector<wchar_t> chosen(32768, L'\0');  // room for the longest path Windows allows
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog))) return std::nullopt;
    return win32::narrow(chosen.data());
}

}  // namespace

std::optional<std::string> Win32Shell::chooseFileToOpen(const std::string& filter,
                                                        const std::string& defaultExtension) {
    return chooseFile(owner_, false, filter, defaultExtension);
}

std::optional<std::string> Win32Shell::chooseFileToSave(const std::string& filter,
                                                        const std::string& defaultExtension) {
    return chooseFile(owner_, true, filter, defaultExtension);
}

std::optional<std::string> Win32Shell::chooseFirmware(FirmwareSearch& search) {
    return FirmwareFinderDialog::choose(owner_, search);
}

bool Win32Shell::confirm(const std::string& question, const std::string& yes,
                         const std::string& no) {
    const std::wstring content = win32::widen(question);
    const std::wstring yesText = win32::widen(yes);
    const std::wstring noText = win32::widen(no);
    wchar_t title[256] = {};
    if (owner_) ::GetWindowTextW(owner_, title, 255);
    const TASKDIALOG_BUTTON buttons[] = {{IDYES, yesText.c_str()}, {IDNO, noText.c_str()}};
    TASKDIALOGCONFIG dialog{};
    dialog.cbSize = sizeof dialog;
    dialog.hwndParent = owner_;
    dialog.pszWindowTitle = title;
    dialog.pszMainIcon = TD_WARNING_ICON;
    dialog.pszContent = content.c_str();
    dialog.pButtons = buttons;
    dialog.cButtons = 2;
    dialog.nDefaultButton = IDNO;
    int pressed = IDNO;
    if (SUCCEEDED(::TaskDialogIndirect(&dialog, &pressed, nullptr, nullptr))) {
        return pressed == IDYES;
    }
    return ::MessageBoxW(owner_, content.c_str(), title,
                         MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void Win32Shell::keepSystemAwake(bool on) {
    // The system stays awake (the display may sleep) for as long as the thread says so.
    executionState_(on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

}  // namespace canprog::win32window
