#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/ExitCodes.h"
#include "cli/FirmwareCommands.h"
#include "cli/LibraryCommand.h"
#include "config/ParameterImage.h"
#include "firmware/FirmwareLoader.h"
#include "operations/FirmwareLibrary.h"
#include "support/TestData.h"

namespace canprog::cli {
namespace {

using canprog::testing::dataFile;
namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(readFileBytes(path.string(), bytes, error)) << path << ": " << error;
    return bytes;
}

class InspectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch_ = fs::temp_directory_path() /
                   ("canprog-inspect-" +
                    std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(scratch_);
    }
    void TearDown() override { fs::remove_all(scratch_); }

    int inspect(const std::string& file) {
        InspectOptions options{file, (scratch_ / "flash.bin").string(),
                               (scratch_ / "eeprom.bin").string()};
        return runInspect(options, '1', out, err);
    }

    static FirmwareImages fileImagesOf(const std::string& name) {
        FirmwareImages images;
        EXPECT_TRUE(loadFirmwareFile(dataFile(name), true, images).loaded());
        return images;
    }

    fs::path scratch_;
    std::ostringstream out;
    std::ostringstream err;
};

// HEX files made by gputils' gpasm and srecord's srec_cat (tests/data/external/make.sh),
// against the images srec_cat itself reads out of them.
TEST_F(InspectTest, FilesFromOtherToolsGiveTheImagesThoseToolsDescribe) {
    struct Case {
        const char* name;
        const char* tops;
    };
    for (const Case& c : {Case{"pic18_demo", "flashTop: 32755 (0x7FF3)\neepromTop: 255 (0x00FF)\n"},
                          Case{"srec_demo", "flashTop: 5119 (0x13FF)\neepromTop: 63 (0x003F)\n"}}) {
        SCOPED_TRACE(c.name);
        out.str("");
        const std::string base = dataFile(std::string("external/") + c.name);
        ASSERT_EQ(inspect(base + ".hex"), kExitOk) << err.str();
        EXPECT_EQ(out.str(), c.tops);
        EXPECT_EQ(readAll(scratch_ / "flash.bin"), readAll(base + ".flash.bin"));
        EXPECT_EQ(readAll(scratch_ / "eeprom.bin"), readAll(base + ".eeprom.bin"));
    }
}

TEST_F(InspectTest, BadFilePrintsTheLogLineAndTheReasonAndExitsTwo) {
    const std::string file = dataFile("bad_checksum.hex");
    EXPECT_EQ(inspect(file), kExitFirmwareFile);
    EXPECT_EQ(out.str(), "Error loading file\n");
    EXPECT_EQ(err.str(), file + ", line 2: checksum error\n");
    EXPECT_FALSE(fs::exists(scratch_ / "flash.bin"));
}

TEST_F(InspectTest, EncodedFilesAreRecognisedByTheirName) {
    EXPECT_TRUE(isEncodedFileName("a/demo.hexfw"));
    EXPECT_FALSE(isEncodedFileName("demo.hex"));
    EXPECT_FALSE(isEncodedFileName("hexfw"));
    EXPECT_EQ(inspect(dataFile("good.hexfw")), kExitOk) << err.str();
    EXPECT_EQ(inspect(dataFile("many.hexfw")), kExitOk) << err.str();
}

TEST_F(InspectTest, MissingFileNamesTheSystemsReason) {
    const std::string file = dataFile("nothing-here.hexfw");
    std::ostringstream polish;
    EXPECT_EQ(runInspect({file, "", ""}, '0', polish, err), kExitFirmwareFile);
    EXPECT_EQ(polish.str(), "Błąd odczytu pliku!\n");
    EXPECT_EQ(err.str(), file + ": No such file or directory\n");
}

TEST_F(InspectTest, HexfwRoundTripCarriesTheCommentLines) {
    const auto encoded = (scratch_ / "round.hexfw").string();
    const auto decoded = (scratch_ / "round.hex").string();
    ASSERT_EQ(runHexfw(true, dataFile("good_plain.hex"), encoded, '1', out, err), kExitOk)
        << err.str();
    EXPECT_EQ(readAll(encoded), readAll(dataFile("good.hexfw")));
    ASSERT_EQ(runHexfw(false, encoded, decoded, '1', out, err), kExitOk) << err.str();
    EXPECT_EQ(readAll(decoded), readAll(dataFile("good_plain.hex")));
    std::ostringstream programs;
    ASSERT_EQ(runPrograms(encoded, '1', programs, err), kExitOk);
    EXPECT_EQ(programs.str(), "CAN programs\n11 Demo car 2015-2018\n12 Łódź taxi\n");
}

TEST_F(InspectTest, HexfwRefusesABrokenInput) {
    const auto target = (scratch_ / "x.hexfw").string();
    EXPECT_EQ(runHexfw(true, dataFile("bad_no_end.hex"), target, '1', out, err), kExitFirmwareFile);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_NE(err.str().find("without the end record"), std::string::npos);
}

// A folder as technicians keep one: renamed copies, a subfolder, suffixes in capitals, a broken
// file and files that are no firmware. Every firmware file is listed, sorted, the broken one
// with its problem; a search ignores case and finds names, versions and program lines.
TEST_F(InspectTest, TheLibraryListsAFoldersFirmwareAndFindsTheLinesThatFitACar) {
    fs::create_directories(scratch_ / "old" / "2019");
    fs::copy_file(dataFile("good.hexfw"), scratch_ / "Sedan-final.HEXFW");
    fs::copy_file(dataFile("good_plain.hex"), scratch_ / "old" / "2019" / "plain.hex");
    fs::copy_file(dataFile("bad_checksum.hex"), scratch_ / "old" / "broken.hex");
    std::ofstream(scratch_ / "notes.txt") << "11 Demo car\n";
    fs::create_directories(scratch_ / "folder.hex");  // a folder with a firmware's name

    const std::vector<LibraryEntry> entries = scanFirmwareLibrary(scratch_.string());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Sedan-final.HEXFW");
    EXPECT_EQ(entries[1].name, "old/2019/plain.hex");
    EXPECT_EQ(entries[2].name, "old/broken.hex");
    EXPECT_FALSE(entries[0].broken());
    EXPECT_EQ(entries[0].lines,
              (std::vector<std::string>{"CAN programs", "11 Demo car 2015-2018", "12 Łódź taxi"}));
    EXPECT_EQ(entries[0].canPrograms, (std::vector<std::string>{"11", "12"}));
    EXPECT_EQ(entries[0].version, programVersionText(fileImagesOf("good.hexfw").eepromImage));
    EXPECT_NE(entries[2].problem.find("line "), std::string::npos) << entries[2].problem;

    struct Case {
        const char* text;
        std::vector<std::string> found;  // name: lines
    };
    for (const Case& c : {
             Case{"DEMO CAR",
                  {"Sedan-final.HEXFW: 11 Demo car 2015-2018",
                   "old/2019/plain.hex: 11 Demo car 2015-2018"}},
             Case{"ŁÓDŹ", {"Sedan-final.HEXFW: 12 Łódź taxi", "old/2019/plain.hex: 12 Łódź taxi"}},
             Case{"sedan", {"Sedan-final.HEXFW: CAN programs|11 Demo car 2015-2018|12 Łódź taxi"}},
             Case{"2019", {"old/2019/plain.hex: CAN programs|11 Demo car 2015-2018|12 Łódź taxi"}},
             Case{"broken", {"old/broken.hex: "}},
             Case{"van", {}},
         }) {
        std::vector<std::string> found;
        for (const LibraryMatch& match : findInLibrary(entries, c.text)) {
            std::string lines;
            for (const auto& line : match.lines) lines += (lines.empty() ? "" : "|") + line;
            found.push_back(match.entry->name + ": " + lines);
        }
        EXPECT_EQ(found, c.found) << c.text;
    }

    // The command prints the same, and a folder that is not there says why.
    ASSERT_EQ(runLibrary(scratch_.string(), "demo car", false, out, err), kExitOk);
    EXPECT_EQ(out.str().rfind("Sedan-final.HEXFW  ", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("\n    11 Demo car 2015-2018\nold/2019/plain.hex  "),
              std::string::npos)
        << out.str();
    out.str("");
    ASSERT_EQ(runLibrary(scratch_.string(), "", true, out, err), kExitOk);
    EXPECT_NE(out.str().find("\"problem\": \"line "), std::string::npos) << out.str();
    EXPECT_EQ(runLibrary((scratch_ / "none").string(), "", false, out, err), kExitFirmwareFile);
    EXPECT_NE(err.str().find("the folder cannot be read"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace canprog::cli
