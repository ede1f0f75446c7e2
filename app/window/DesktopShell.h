#pragma once

#include "app/model/PlatformShell.h"

namespace canprog::window {

// Opens addresses with the desktop's default browser.
class DesktopShell : public PlatformShell {
public:
    void openUrl(const std::string& address) override;
};

}  // namespace canprog::window
