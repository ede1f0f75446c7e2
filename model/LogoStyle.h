#pragma once

#include <cstdint>
#include <string_view>

#include "Controls.h"

namespace canprog {

// How a brand's logo is drawn: the windows draw the logos themselves, from these styles, so
// that they stay sharp at any display scaling and look the same on every system.
enum class LogoShape { Banner, Badge, Slant, Frame, Round };

struct Rgb {
    std::uint8_t red, green, blue;
};

struct LogoStyle {
    std::string_view name;  // the lettering
    Rgb background;
    Rgb foreground;
    LogoShape shape;
    int width;  // in pixels at 96 dpi
};

// Every logo is this high, in pixels at 96 dpi.
inline constexpr int kLogoHeight = 34;

// The style of one of the ten logo controls; a grey placeholder for any other control.
LogoStyle logoStyleFor(Ctl logo);

}  // namespace canprog
