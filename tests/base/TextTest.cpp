#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/CaseFold.h"
#include "base/Sha256.h"
#include "base/Utf8Path.h"
#ifdef _WIN32
#include "base/win32/WideText.h"
#endif

namespace canprog {
namespace {

// A file name with letters outside every single-byte code page opens the same file however it
// is written and read back.
TEST(TextTest, AUtf8FileNameWithPolishAndCzechLettersOpensTheSameFile) {
    const std::string name = "moduł-řídicí-ünit.hexfw";
    const auto folder = std::filesystem::temp_directory_path() / "canprog-text-test";
    std::filesystem::create_directories(folder);
    const std::u8string folderName = folder.u8string();
    const std::string path = std::string(folderName.begin(), folderName.end()) + "/" + name;
    {
        std::ofstream out(utf8Path(path), std::ios::binary);
        out << "x";
    }
    EXPECT_TRUE(std::filesystem::exists(folder / utf8Path(name)));
    std::ifstream in(utf8Path(path), std::ios::binary);
    EXPECT_EQ(in.get(), 'x');
    in.close();
    std::filesystem::remove_all(folder);
}

// A search ignores case in every language of the window, and text that is not UTF-8 neither
// stops it nor finds what it does not hold.
TEST(TextTest, CaseIsIgnoredInEveryLanguageOfTheWindow) {
    struct Case {
        const char* text;
        const char* folded;
    };
    for (const Case& c :
         {Case{"Demo SEDAN 2014", "demo sedan 2014"}, Case{"ŁÓDŹ Żółć", "łódź żółć"},
          Case{"ŘÍDICÍ ČÁST Ň Ě Ů", "řídicí část ň ě ů"},
          Case{"ŐRZŐ ŰR Ä Ö Ü ß", "őrző űr ä ö ü ß"}, Case{"СЕДАН Ёж", "седан ёж"},
          Case{"a\xC5\xFF\x80Z", "a\xC5\xFF\x80z"}}) {
        EXPECT_EQ(foldCase(c.text), c.folded) << c.text;
    }
    EXPECT_TRUE(containsFolded("11 Demo Sedan 2014-2018", "SEDAN"));
    EXPECT_TRUE(containsFolded("Škoda Octavia", "ŠKODA"));
    EXPECT_FALSE(containsFolded("Demo van", "sedan"));
}

// The published test vectors, with the lengths at which the padding takes a second block.
TEST(TextTest, Sha256GivesThePublishedDigests) {
    struct Case {
        std::string text;
        const char* digest;
    };
    for (const Case& c : {
             Case{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
             Case{"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
             Case{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                  "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
             Case{std::string(1000000, 'a'),
                  "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
         }) {
        EXPECT_EQ(sha256Hex(c.text), c.digest) << c.text.size();
    }
}

#ifdef _WIN32
TEST(TextTest, WideTextRoundTripsEveryLanguageOfTheWindow) {
    for (const std::string text : {"Błąd otwarcia portu", "Chyba otevření portu",
                                   "Port megnyitási hiba", "Ошибка", "Fehler Port Öffnen", ""}) {
        EXPECT_EQ(win32::narrow(win32::widen(text)), text);
    }
}
#endif

}  // namespace
}  // namespace canprog
