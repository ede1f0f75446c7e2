#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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
