#include <gtest/gtest.h>

#include "model/BrandTable.h"
#include "support/FormFixture.h"

namespace canprog {
namespace {

using testing::FormFixture;

int visibleLogos(const MainForm& form) {
    int count = 0;
    for (const auto& brand : brands()) count += form.visible(brand.logo) ? 1 : 0;
    return count;
}

class BrandTest : public ::testing::Test, public FormFixture {};

TEST_F(BrandTest, StartUpShowsBrandEight) {
    EXPECT_EQ(form.windowCaption(), "Corvale CAN PROGRAMMER");
    EXPECT_EQ(form.brandWebAddress(), brandForKey('0')->webAddress);
    EXPECT_EQ(visibleLogos(form), 10);

    startUp(form);

    EXPECT_EQ(visibleLogos(form), 1);
    EXPECT_TRUE(form.visible(Ctl::sarnic_image));
    EXPECT_EQ(form.windowCaption(), "CAN BUS MODUL BOOTLOADER");
    EXPECT_EQ(form.applicationTitle(), "CAN BUS MODUL BOOTLOADER");
    EXPECT_EQ(form.brandWebAddress(), "https://www.sarnic.example/");
}

TEST_F(BrandTest, LogoClickOpensTheBrandAddress) {
    startUp(form);
    form.click(Ctl::sarnic_image);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], "https://www.sarnic.example/");
}

TEST_F(BrandTest, BrandFiveHasNoAddressAndItsLogoOpensNothing) {
    startUp(form);
    form.zmiana_logo('5');
    EXPECT_EQ(form.brandWebAddress(), "");
    EXPECT_TRUE(form.visible(Ctl::pelo_Image));
    EXPECT_EQ(form.windowCaption(), "CAN LOADER");
    form.click(Ctl::pelo_Image);
    form.LOGOClick();
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(BrandTest, InvalidKeyHidesEveryLogoAndKeepsTheRest) {
    startUp(form);
    for (char key : {'x', ':', '/'}) {
        form.zmiana_logo(key);
        EXPECT_EQ(visibleLogos(form), 0);
        EXPECT_EQ(form.windowCaption(), "CAN BUS MODUL BOOTLOADER");
        EXPECT_EQ(form.applicationTitle(), "CAN BUS MODUL BOOTLOADER");
        EXPECT_EQ(form.brandWebAddress(), "https://www.sarnic.example/");
    }
}

TEST_F(BrandTest, LanguageChangeLeavesTheBrandAlone) {
    startUp(form);
    form.click(Ctl::lang1);
    EXPECT_EQ(form.windowCaption(), "CAN BUS MODUL BOOTLOADER");
    EXPECT_EQ(form.brandWebAddress(), "https://www.sarnic.example/");
    EXPECT_EQ(visibleLogos(form), 1);
}

TEST(BrandTable, DurantOpensAPageBelowTheRootItsToolTipShows) {
    const auto durant = brandForKey('2');
    ASSERT_TRUE(durant);
    EXPECT_NE(durant->webAddress, durant->toolTip);
    EXPECT_TRUE(durant->webAddress.starts_with(durant->toolTip));
    for (const auto& brand : brands()) {
        if (brand.key == '5') continue;
        EXPECT_TRUE(brand.webAddress.find(".example/") != std::string_view::npos);
        EXPECT_TRUE(isLogo(brand.logo));
    }
    EXPECT_FALSE(isLogo(Ctl::bbHelp));
}

}  // namespace
}  // namespace canprog
