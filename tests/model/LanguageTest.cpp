#include <gtest/gtest.h>

#include <algorithm>

#include "model/ExtraMessages.h"

#include <set>

#include "model/LanguageTables.h"
#include "support/FormFixture.h"

namespace canprog {
namespace {

using testing::FormFixture;

class LanguageTest : public ::testing::Test, public FormFixture {
  protected:
    void choose(Ctl button) { form.click(button); }
};

TEST_F(LanguageTest, StartsInEnglishWithPolishMessagesBeforeTheFirstLanguage) {
    EXPECT_EQ(form.message(0), "Anulowano");
    EXPECT_EQ(form.message(13), "Gotowe");
    EXPECT_EQ(form.languageCode, '0');

    startUp(form);

    EXPECT_EQ(form.languageCode, '1');
    EXPECT_TRUE(form.checked(Ctl::lang2));
    EXPECT_EQ(form.text(Ctl::bbOpen), "Open file");
    EXPECT_EQ(form.text(Ctl::TabSheet2), "Operation parameters");
    EXPECT_EQ(form.text(Ctl::RadioButton13), "90sec(authorisation PIN)");
    EXPECT_EQ(form.message(0), "Cancel");
    EXPECT_EQ(form.message(6), "Waiting for bootloader...");
}

TEST_F(LanguageTest, HungarianThenPolishRestoresEveryPolishText) {
    startUp(form);
    choose(Ctl::lang7);
    EXPECT_EQ(form.languageCode, '6');
    EXPECT_EQ(form.text(Ctl::bbOpen), "Fajl");
    EXPECT_EQ(form.message(1), "Bootloader nemválaszol");

    choose(Ctl::lang1);
    EXPECT_EQ(form.languageCode, '0');
    for (const auto& row : captionRows()) {
        EXPECT_EQ(form.text(row.control), row.text[0]) << controlName(row.control);
    }
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        EXPECT_EQ(form.message(i), messageText(i, Language::Polish)) << i;
    }
    EXPECT_EQ(form.message(3), "OK");
    EXPECT_EQ(form.text(Ctl::GroupBox5), "(1) Obsługa systemu ");
    EXPECT_EQ(form.message(8), "Błąd zapisu pamięci FLASH ");
}

TEST_F(LanguageTest, UnknownCodesChangeNothing) {
    startUp(form);
    form.zmiana_jezyka('2');
    for (char code : {'7', 'x', '\0'}) {
        form.zmiana_jezyka(code);
        EXPECT_EQ(form.text(Ctl::bbUpload), "Speichern");
        EXPECT_EQ(form.message(0), "Verworfen");
    }
}

TEST_F(LanguageTest, ChoosingALanguageClearsTheLogEvenWithoutAChange) {
    startUp(form);
    form.log("left over");
    form.setText(Ctl::Edit3, "status");
    form.click(Ctl::RadioGroup1);
    EXPECT_TRUE(form.logLines().empty());
    EXPECT_EQ(form.text(Ctl::Edit3), "");
    EXPECT_EQ(form.languageCode, '1');
}

TEST_F(LanguageTest, ALanguageClickDuringAnOperationIsIgnoredLikeTheOthers) {
    startUp(form);
    ASSERT_TRUE(form.beginOperation());
    form.log("Waiting for bootloader...");
    form.click(Ctl::lang1);
    form.click(Ctl::RadioGroup1);
    EXPECT_EQ(form.languageCode, '1');
    EXPECT_TRUE(form.checked(Ctl::lang2));
    EXPECT_FALSE(form.checked(Ctl::lang1));
    EXPECT_EQ(form.logLines(), std::vector<std::string>{"Waiting for bootloader..."});
    form.endOperation();
    // Once the operation is over the click takes effect.
    form.click(Ctl::lang1);
    EXPECT_EQ(form.languageCode, '0');
    EXPECT_TRUE(form.logLines().empty());
}

TEST_F(LanguageTest, SpareButtonsReapplyTheCurrentLanguage) {
    startUp(form);
    choose(Ctl::lang3);
    form.log("x");
    form.setChecked(Ctl::lang8, true);
    EXPECT_EQ(form.languageCode, '2');
    EXPECT_TRUE(form.logLines().empty());
}

TEST_F(LanguageTest, MessageSixteenIsEnglishInFourLanguages) {
    startUp(form);
    for (Ctl button : {Ctl::lang3, Ctl::lang5, Ctl::lang6, Ctl::lang7}) {
        choose(button);
        EXPECT_EQ(form.message(16), "Reading EEPROM...") << controlName(button);
    }
    choose(Ctl::lang1);
    EXPECT_EQ(form.message(16), "Odczyt EEPROM...");
}

TEST_F(LanguageTest, LanguageButtonsKeepTheirCaptions) {
    startUp(form);
    choose(Ctl::lang6);
    EXPECT_EQ(form.text(Ctl::lang1), "PL");
    EXPECT_EQ(form.text(Ctl::lang7), "HU");
    EXPECT_EQ(form.text(Ctl::Button1), "Zrušit");
    EXPECT_EQ(form.message(0), "Zrušit");
}

TEST(LanguageTables, EveryRowIsFilledAndControlsAreUnique) {
    std::set<Ctl> seen;
    for (const auto& row : captionRows()) {
        EXPECT_TRUE(seen.insert(row.control).second) << controlName(row.control);
        for (auto text : row.text) EXPECT_FALSE(text.empty()) << controlName(row.control);
    }
    EXPECT_EQ(captionRows().back().control, Ctl::GroupBox18);
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        for (std::size_t lang = 0; lang < kLanguageCount; ++lang) {
            EXPECT_FALSE(messageText(i, static_cast<Language>(lang)).empty());
        }
    }
}

TEST(LanguageTables, SharedTextsAgreeAcrossLanguages) {
    for (std::size_t lang = 0; lang < kLanguageCount; ++lang) {
        const auto l = static_cast<Language>(lang);
        EXPECT_EQ(captionText(Ctl::BitBtn2, l), captionText(Ctl::BitBtn4, l));
        EXPECT_EQ(captionText(Ctl::BitBtn1, l), captionText(Ctl::BitBtn3, l));
        EXPECT_EQ(captionText(Ctl::GroupBox15, l), captionText(Ctl::GroupBox19, l));
        EXPECT_EQ(captionText(Ctl::GroupBox1, l), "Port");
        EXPECT_EQ(captionText(Ctl::GroupBox12, l), "(7) Smart KEY ");
        EXPECT_EQ(messageText(3, l), "OK");
    }
    EXPECT_EQ(captionText(Ctl::GroupBox18, Language::Russian), "CAN program list");
}

// Every line of our own has a text in every language, and each language names the same values
// as English does, so that no value is lost in a translation.
TEST(LanguageTables, EveryNoteHasEveryLanguageWithTheSameValues) {
    const auto marks = [](std::string_view text) {
        std::vector<std::string> names;
        for (auto at = text.find('{'); at != std::string_view::npos; at = text.find('{', at + 1)) {
            names.emplace_back(text.substr(at, text.find('}', at) - at + 1));
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    for (std::size_t line = 0; line < kExtraCount; ++line) {
        const auto english = extraText(static_cast<Extra>(line), Language::English);
        for (std::size_t lang = 0; lang < kLanguageCount; ++lang) {
            const auto text = extraText(static_cast<Extra>(line), static_cast<Language>(lang));
            EXPECT_FALSE(text.empty()) << line << " " << lang;
            EXPECT_EQ(marks(text), marks(english)) << line << " " << lang;
        }
    }
    // Counted lines put their numbers in a form that holds for every number ("7/16"), never
    // inside a sentence whose grammar would have to agree with them.
    for (const int count : {1, 2, 5, 21}) {
        const std::string blocks = "FLASH " + std::to_string(count) + "/2016, EEPROM 0/16";
        for (std::size_t lang = 0; lang < kLanguageCount; ++lang) {
            const auto language = static_cast<Language>(lang);
            const std::string flash =
                fillIn(extraText(Extra::HalfWritten, language), {{"blocks", blocks}});
            EXPECT_NE(flash.find(blocks), std::string::npos) << flash;
            const std::string settings =
                fillIn(extraText(Extra::SettingsHalfWritten, language),
                       {{"eeprom", std::to_string(count)}, {"pin", "1234"}});
            std::string counted(" ");
            counted += std::to_string(count) + "/16";
            EXPECT_NE(settings.find(counted), std::string::npos) << settings;
            EXPECT_EQ(settings.find('{'), std::string::npos) << settings;
        }
    }
}

}  // namespace
}  // namespace canprog
