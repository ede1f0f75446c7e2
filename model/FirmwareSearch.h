#pragma once

#include <string>
#include <vector>

#include "WindowTexts.h"

namespace canprog {

// What the "Find firmware..." window shows and changes: a folder's firmware files, filtered by
// a search text. The operations fill it; each window draws it and passes the user's input on.
class FirmwareSearch {
  public:
    struct Row {
        std::string text;  // as the list shows it: the file, its version, the lines found
        std::string path;  // the file
        bool usable;       // a firmware file that loads; a broken one cannot be chosen
    };

    virtual ~FirmwareSearch() = default;
    virtual std::string folder() const = 0;
    // Lists another folder (and its subfolders).
    virtual void setFolder(const std::string& folder) = 0;
    virtual std::string searchText() const = 0;
    virtual void setSearchText(const std::string& text) = 0;
    // The files the search finds, sorted by name.
    virtual const std::vector<Row>& rows() const = 0;
    // The window's texts, in the language of the main window.
    virtual std::string caption(WindowText text) const = 0;
};

}  // namespace canprog
