#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "Controls.h"

namespace canprog {

// One brand variant: the window caption and application title, its logo control, the address
// a click on the logo opens and the address its tool-tip shows.
struct Brand {
    char key;
    std::string_view caption;
    Ctl logo;
    std::string_view webAddress;  // empty: the logo opens nothing
    std::string_view toolTip;     // empty: the logo has no tool-tip
};

inline constexpr std::size_t kBrandCount = 10;

// The brand key that the window applies when it is created.
inline constexpr char kStartupBrandKey = '8';

const std::array<Brand, kBrandCount>& brands();

// The brand for a key character '0'..'9', nothing for any other character.
std::optional<Brand> brandForKey(char key);

// True for the ten logo controls.
bool isLogo(Ctl control);

}  // namespace canprog
