#include "BrandTable.h"

#include <algorithm>

namespace canprog {

namespace {

// The brands are fictitious; their addresses use the reserved example domain.
const std::array<Brand, kBrandCount> kBrands = {{
    {'0', "ORRIN BOOTLOADER", Ctl::orrin_image, "https://www.orrin.example/",
     "https://www.orrin.example/"},
    {'1', "VELSA BOOTLOADER", Ctl::velsa_image, "https://www.velsa.example/",
     "https://www.velsa.example/"},
    {'2', "DURANT BOOTLOADER", Ctl::durant_image, "https://www.durant.example/bootloader/",
     "https://www.durant.example/"},
    {'3', "KELM BOOTLOADER", Ctl::kelm_image, "https://www.kelm.example/",
     "https://www.kelm.example/"},
    {'4', "CAN-BUS BOOTLOADER", Ctl::rastor_image, "https://www.rastor.example/",
     "https://www.rastor.example/"},
    {'5', "CAN LOADER", Ctl::pelo_Image, "", ""},
    {'6', "Ilvaro Bootoader", Ctl::ilvaro_image, "https://www.ilvaro.example/",
     "https://www.ilvaro.example/"},
    {'7', "Quorbel Programmer", Ctl::quorbel_image, "https://www.quorbel.example/",
     "https://www.quorbel.example/"},
    {'8', "CAN BUS MODUL BOOTLOADER", Ctl::sarnic_image, "https://www.sarnic.example/",
     "https://www.sarnic.example/"},
    {'9', "Corvale CAN PROGRAMMER", Ctl::corvale_image, "https://www.corvale.example/",
     "https://www.corvale.example/"},
}};

}  // namespace

const std::array<Brand, kBrandCount>& brands() {
    return kBrands;
}

std::optional<Brand> brandForKey(char key) {
    if (key < '0' || key > '9') return std::nullopt;
    return kBrands[static_cast<std::size_t>(key - '0')];
}

bool isLogo(Ctl control) {
    return std::any_of(kBrands.begin(), kBrands.end(),
                       [control](const Brand& b) { return b.logo == control; });
}

}  // namespace canprog
