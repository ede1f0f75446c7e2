#include <gtest/gtest.h>

#include "model/SystemPump.h"
#include "operations/FileChoice.h"
#include "operations/FirmwareFileLoad.h"
#include "operations/Operations.h"
#include "support/FormFixture.h"
#include "support/TestData.h"

namespace canprog {
namespace {

using testing::dataFile;

class FileChoiceTest : public ::testing::Test, public testing::FormFixture {
  protected:
    void SetUp() override { startUp(form); }
    HelpWindow help;
    SystemPump pump{form};
    Operations operations{form, help, pump};
};

TEST_F(FileChoiceTest, ChoosingAFileEnablesBothButtonsAndShowsItsName) {
    form.log("old");
    shell.nextChoice = "/home/tech/firmware/demo.hexfw";
    form.click(Ctl::bbOpen);
    EXPECT_EQ(shell.dialogFilter, "Firmware files (*.hexfw *.hex)|*.hexfw;*.hex|All files (*)|*.*");
    EXPECT_EQ(shell.dialogExtension, "*.hexfw");
    EXPECT_EQ(form.firmwareFileName, "/home/tech/firmware/demo.hexfw");
    EXPECT_EQ(form.text(Ctl::Edit2), "demo.hexfw");
    EXPECT_TRUE(form.enabled(Ctl::bbUpload));
    EXPECT_TRUE(form.enabled(Ctl::bbHelp));
    EXPECT_TRUE(form.logLines().empty());
}

// "Find firmware..." opens on the chosen file's folder; the search narrows the rows, a broken
// file is shown but not usable, and the row used becomes the firmware file as "Open file"
// makes it. Closing the window changes nothing.
TEST_F(FileChoiceTest, TheFirmwareLibraryOpensOnTheFilesFolderAndItsChoiceIsTheFirmwareFile) {
    const std::string data = dataFile("good.hexfw");
    const std::string folder = data.substr(0, data.find_last_of("/\\"));
    form.firmwareFileName = data;
    std::vector<std::string> seen;
    shell.onFindFirmware = [&](FirmwareSearch& search) -> std::optional<std::string> {
        seen.push_back(search.folder());
        search.setSearchText("ŁÓDŹ TAXI");
        for (const auto& row : search.rows()) seen.push_back(row.text);
        search.setSearchText("bad_checksum");
        for (const auto& row : search.rows()) seen.push_back(row.usable ? "usable" : "broken");
        search.setSearchText("good_plain.hex");
        return search.rows().front().path;
    };
    form.click(Ctl::FindFirmware);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], folder);
    EXPECT_NE(std::find_if(seen.begin(), seen.end(),
                           [](const std::string& row) {
                               return row.rfind("good.hexfw — ", 0) == 0 &&
                                      row.find(" — 12 Łódź taxi") != std::string::npos;
                           }),
              seen.end());
    EXPECT_EQ(seen.back(), "broken");
    const std::string chosen = form.firmwareFileName;
    EXPECT_EQ(chosen.substr(chosen.find_last_of("/\\") + 1), "good_plain.hex");
    EXPECT_EQ(form.text(Ctl::Edit2), "good_plain.hex");
    EXPECT_FALSE(form.checked(Ctl::DecodeON));
    EXPECT_TRUE(form.enabled(Ctl::bbUpload));

    shell.onFindFirmware = [](FirmwareSearch&) { return std::optional<std::string>(); };
    form.click(Ctl::FindFirmware);
    EXPECT_EQ(form.firmwareFileName, chosen);
}

TEST_F(FileChoiceTest, TheNameIsShownWithoutItsFolderWhicheverSeparatorTheSystemWrites) {
    shell.nextChoice = "C:\\users\\root\\Documents\\Firmware\\UP.HEXFW";
    form.click(Ctl::bbOpen);
    EXPECT_EQ(form.text(Ctl::Edit2), "UP.HEXFW");
    shell.nextChoice = "C:\\firmware/mixed\\demo.hexfw";
    form.click(Ctl::bbOpen);
    EXPECT_EQ(form.text(Ctl::Edit2), "demo.hexfw");
}

TEST_F(FileChoiceTest, CancelledDialogChangesNothing) {
    form.log("kept");
    form.click(Ctl::bbOpen);
    EXPECT_TRUE(form.firmwareFileName.empty());
    EXPECT_FALSE(form.enabled(Ctl::bbUpload));
    EXPECT_EQ(form.logLines().size(), 1u);
}

TEST_F(FileChoiceTest, AFileIsDecodedAsItsNameSaysAndTheFilterIsInTheWindowsLanguage) {
    for (const auto& [file, decoded] : {std::pair{"/fw/demo.hex", false},
                                        {"/fw/UP.HEXFW", true},
                                        {"/fw/demo.hexfw", true},
                                        {"/fw/demo.txt", false}}) {
        shell.nextChoice = file;
        form.click(Ctl::bbOpen);
        EXPECT_EQ(form.checked(Ctl::DecodeON), decoded) << file;
    }
    form.click(Ctl::lang1);
    form.click(Ctl::bbOpen);
    EXPECT_EQ(shell.dialogFilter,
              "Pliki firmware (*.hexfw *.hex)|*.hexfw;*.hex|Wszystkie pliki (*)|*.*");
}

TEST_F(FileChoiceTest, WriteWithoutAFileFinishesAtOnce) {
    EXPECT_EQ(operations.upload(), OperationOutcome::NoFileChosen);
    EXPECT_EQ(form.logLines(), (std::vector<std::string>{"No file selected", "Finished"}));
    EXPECT_EQ(form.text(Ctl::Edit1), "Finished.");
    EXPECT_EQ(form.control(Ctl::ProgressBar).position, 0);
}

TEST_F(FileChoiceTest, WriteLoadsTheChosenFileAnewEachTime) {
    form.firmwareFileName = dataFile("good.hexfw");
    EXPECT_EQ(loadFirmwareForWrite(form), WriteLoad::Loaded);
    EXPECT_EQ(form.images.flashImage[0x200], 0xA5);
    EXPECT_TRUE(form.logLines().empty());

    form.log("from before");
    form.firmwareFileName = dataFile("good_plain.hex");  // read as encoded: DecodeON is checked
    HexLineProblem problem;
    EXPECT_EQ(loadFirmwareForWrite(form, &problem), WriteLoad::Failed);
    EXPECT_EQ(form.logLines(),
              (std::vector<std::string>{
                  "Error loading file",
                  dataFile("good_plain.hex") + ", line 1: line does not start with ':'"}));
    EXPECT_EQ(problem.lineNumber, 1);
}

TEST_F(FileChoiceTest, MissingFileReportsMessageTwo) {
    form.click(Ctl::lang1);
    form.firmwareFileName = dataFile("gone.hexfw");
    EXPECT_EQ(loadFirmwareForWrite(form), WriteLoad::Failed);
    EXPECT_EQ(form.logLines(),
              (std::vector<std::string>{"Błąd odczytu pliku!",
                                        dataFile("gone.hexfw") + ": No such file or directory"}));
}

}  // namespace
}  // namespace canprog
