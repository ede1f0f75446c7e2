#include <gtest/gtest.h>

#include "firmware/Cp1250.h"
#include "firmware/FirmwareLoader.h"
#include "firmware/ProgramList.h"
#include "support/TestData.h"

namespace canprog {
namespace {

using testing::dataFile;

ProgramList listOf(const std::string& name, bool decode = true) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(readFileBytes(dataFile(name), bytes, error)) << error;
    return readProgramList(bytes, decode);
}

TEST(ProgramList, WindowSizesOfTheThreeExamples) {
    struct Case {
        const char* file;
        int width;
        int height;
        std::size_t lines;
    };
    for (const Case& c :
         {Case{"help_3_lines.hexfw", 250, 150, 3}, Case{"help_100_lines.hexfw", 250, 600, 100},
          Case{"help_300_chars.hexfw", 1000, 150, 1}}) {
        const ProgramList list = listOf(c.file);
        EXPECT_EQ(list.outerWidthPx(), c.width) << c.file;
        EXPECT_EQ(list.outerHeightPx(), c.height) << c.file;
        EXPECT_EQ(list.lines.size(), c.lines) << c.file;
    }
}

TEST(ProgramList, CommentLinesLoseTheirSemicolonAndKeepTheirOrder) {
    const ProgramList list = listOf("help_3_lines.hexfw");
    EXPECT_EQ(list.lines, (std::vector<std::string>{"11 Demo car", "12 Other car", "13 x"}));
    const ProgramList single = readProgramList(":00000001FF\n; \n", false);
    EXPECT_EQ(single.lines, std::vector<std::string>{" "});
}

TEST(ProgramList, SecondLineOfAPairIsNeverShown) {
    EXPECT_EQ(listOf("help_second_position.hexfw").lines, std::vector<std::string>{"shown"});
}

TEST(ProgramList, CommentBeforeTheEndRecordIsShown) {
    EXPECT_EQ(listOf("help_before_end.hexfw").lines,
              (std::vector<std::string>{"before the end", "after the end"}));
}

TEST(ProgramList, WrongDecodingShowsNothing) {
    EXPECT_TRUE(listOf("good.hexfw", false).lines.empty());
}

// Which lists name CAN programs, and which program a number matches: a heading is allowed
// above the numbered lines, prose inside them makes the list one that names none.
TEST(ProgramList, TheCanProgramsALineListNames) {
    using Numbers = std::vector<std::string>;
    struct Case {
        const char* comments;
        Numbers numbers;
    };
    for (const Case& c : {
             Case{";11 Demo sedan\n;12 Demo van\n", {"11", "12"}},
             Case{";CAN programs of the demo\n;11 sedan\n; 21 hatchback\n", {"11", "21"}},
             Case{";11 sedan\n;see the manual\n", {}},
             Case{";Demo firmware for sedans\n", {}},
             Case{"", {}},
         }) {
        const std::string file = std::string(":00000001FF\n") + c.comments;
        EXPECT_EQ(canProgramNumbers(readProgramList(file, false)), c.numbers) << c.comments;
    }
    const Numbers listed{"11", "012"};
    EXPECT_TRUE(namesCanProgram(listed, "11"));
    EXPECT_TRUE(namesCanProgram(listed, "12"));
    EXPECT_FALSE(namesCanProgram(listed, "13"));
    EXPECT_FALSE(namesCanProgram(listed, "1"));
    // The loader keeps them with the images, for the write's check.
    FirmwareImages images;
    ASSERT_TRUE(loadFirmwareData(":00000001FF\n;11 sedan\n", false, images).loaded());
    EXPECT_EQ(images.canPrograms, Numbers{"11"});
}

TEST(Cp1250, PolishLettersAndUndefinedBytes) {
    EXPECT_EQ(cp1250ToUtf8("\xA3\xF3\x64\x9F"), "Łódź");
    EXPECT_EQ(cp1250ToUtf8("\xFF"), "˙");
    EXPECT_EQ(cp1250ToUtf8("a\x98z"), "a\xEF\xBF\xBDz");  // 0x98 is undefined in the code page
    EXPECT_EQ(cp1250ToUtf8("DEMO 1.00"), "DEMO 1.00");
}

}  // namespace
}  // namespace canprog
