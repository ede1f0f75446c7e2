#include "LogoStyle.h"

namespace canprog {

namespace {
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
}

LogoStyle logoStyleFor(Ctl logo) {
    switch (logo) {
        case Ctl::orrin_image: return {"ORRIN", {0xC6, 0x28, 0x28}, kWhite, LogoShape::Banner, 96};
        case Ctl::velsa_image: return {"VELSA", {0x15, 0x65, 0xC0}, kWhite, LogoShape::Slant, 100};
        case Ctl::durant_image:
            return {"DURANT", {0x2E, 0x7D, 0x32}, kWhite, LogoShape::Badge, 112};
        case Ctl::kelm_image:
            return {"KELM", {0x26, 0x32, 0x38}, {0xFF, 0xC1, 0x07}, LogoShape::Frame, 84};
        case Ctl::rastor_image:
            return {"RASTOR", {0x6A, 0x1B, 0x9A}, kWhite, LogoShape::Slant, 118};
        case Ctl::pelo_Image: return {"PELO", {0xEF, 0x6C, 0x00}, kWhite, LogoShape::Round, 64};
        case Ctl::ilvaro_image: return {"Ilvaro", {0x00, 0x83, 0x8F}, kWhite, LogoShape::Badge, 96};
        case Ctl::quorbel_image:
            return {"Quorbel", {0x4E, 0x34, 0x2E}, {0xFF, 0xE0, 0xB2}, LogoShape::Banner, 112};
        case Ctl::sarnic_image:
            return {"SARNIC", {0x0D, 0x47, 0xA1}, {0xFF, 0xD5, 0x4F}, LogoShape::Badge, 118};
        case Ctl::corvale_image:
            return {"Corvale", {0x37, 0x47, 0x4F}, {0x80, 0xDE, 0xEA}, LogoShape::Frame, 116};
        default: return {"?", {0x80, 0x80, 0x80}, {0, 0, 0}, LogoShape::Banner, 64};
    }
}

}  // namespace canprog
