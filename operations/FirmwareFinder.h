#pragma once

#include "FirmwareLibrary.h"
#include "model/FirmwareSearch.h"
#include "model/MainForm.h"

namespace canprog {

// The "Find firmware..." window's search over a folder's firmware library, its rows in the
// window's language.
class FirmwareFinder : public FirmwareSearch {
  public:
    explicit FirmwareFinder(const MainForm& form) : form_(form) {}

    std::string folder() const override { return folder_; }
    void setFolder(const std::string& folder) override;
    std::string searchText() const override { return search_; }
    void setSearchText(const std::string& text) override;
    const std::vector<Row>& rows() const override { return rows_; }
    std::string caption(WindowText text) const override { return form_.windowText(text); }

  private:
    void refreshRows();

    const MainForm& form_;
    std::string folder_;
    std::string search_;
    std::vector<LibraryEntry> entries_;
    std::vector<Row> rows_;
};

// "Find firmware...": the window over the chosen file's folder; the file chosen there becomes
// the firmware file, as "Open file" makes it.
void FindFirmwareClick(MainForm& form);

}  // namespace canprog
