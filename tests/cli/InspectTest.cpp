#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "cli/ExitCodes.h"
#include "cli/FirmwareCommands.h"
#include "firmware/FirmwareLoader.h"
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

}  // namespace
}  // namespace canprog::cli
