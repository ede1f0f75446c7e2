#pragma once

#include <string>

namespace canprog {

// Desktop services the window asks for, supplied by the front end.
class PlatformShell {
public:
    virtual ~PlatformShell() = default;

    // Opens a web address in the user's browser; the result is not examined.
    virtual void openUrl(const std::string& address) = 0;
};

}  // namespace canprog
