#include <gtest/gtest.h>

#include <QTimer>

#include "ModuleWindow.h"
#include "support/TestData.h"

namespace canprog {
namespace {

// The window's own buttons and Qt pump driving a write into the simulated module.
class WindowUploadTest : public ::testing::Test, public testing::ModuleWindow {
  protected:
    void start(sim::SimOptions options = {}) {
        ModuleWindow::start(std::move(options));
        startUp(form);
        window.show();
        form.firmwareFileName = testing::dataFile("flash_only.hexfw");
        form.setEnabled(Ctl::bbUpload, true);
    }
};

TEST_F(WindowUploadTest, WriteButtonWritesTheModule) {
    start();
    button(Ctl::bbUpload)->click();
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Finished);
    EXPECT_TRUE(logText().endsWith(QStringLiteral("Finished")));
    EXPECT_EQ(module->memory().flash[0x200], 0x12);
}

TEST_F(WindowUploadTest, CancelButtonWorksWhileTheWakeUpWaits) {
    sim::SimOptions options;
    options.faults.neverAnswer = true;
    start(options);
    QTimer::singleShot(1200, &window, [this] { button(Ctl::Button1)->click(); });
    button(Ctl::bbUpload)->click();
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Cancelled);
    EXPECT_EQ(logText(), QStringLiteral("Waiting for bootloader...\nCancel\nNothing was written: "
                                        "the module is unchanged."));
}

TEST_F(WindowUploadTest, AWriteThatStopsAtBlockHundredSaysSoInTheLog) {
    sim::SimOptions options;
    options.faults.silentAfterFrames = 100;
    start(options);
    form.firmwareFileName = testing::dataFile("good.hexfw");
    button(Ctl::bbUpload)->click();
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::TransmissionError);
    const std::string expected =
        "Error data transmission\n"
        "The module stopped answering (" + module->devicePath() +
        "): check the module's power and the cable\n"
        "The module is only partly written: 100 of 2016 FLASH blocks and 0 of 16 EEPROM blocks "
        "were acknowledged. The bootloader's own area is untouched, so writing the file again "
        "repairs the module.";
    EXPECT_TRUE(logText().toStdString().ends_with(expected))
        << logText().toStdString();
}

TEST_F(WindowUploadTest, ClosingTheWindowDuringAWriteAsksAndYesStopsBetweenFrames) {
    start();
    form.firmwareFileName = testing::dataFile("good.hexfw");
    std::vector<std::string> asked;
    window.setStopQuestion([&](const std::string& question) {
        asked.push_back(question);
        return true;
    });
    // Closed while the FLASH is being written.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, &window, [&] {
        if (module->frames().size() >= 50 && asked.empty()) window.close();
    });
    closer.start(5);
    button(Ctl::bbUpload)->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0],
              "A write is in progress. Stop it? The module will be left partly written; writing "
              "the file again repairs it.");
    // The write ended at its next frame, and said so before the window went.
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Cancelled);
    EXPECT_TRUE(logText().contains(QStringLiteral("The module is only partly written: ")))
        << logText().toStdString();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_FALSE(form.operationRunning());
    EXPECT_EQ(module->restarts(), 0);
    for (const auto& frame : module->frames()) EXPECT_TRUE(frame.checksumOk);
}

TEST_F(WindowUploadTest, ClosingTheWindowDuringAWriteAndAnsweringNoWritesOn) {
    start();
    bool asked = false;
    window.setStopQuestion([&](const std::string&) {
        asked = true;
        return false;
    });
    QTimer::singleShot(800, &window, [this] { window.close(); });
    button(Ctl::bbUpload)->click();
    EXPECT_TRUE(asked);
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Finished);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowUploadTest, ClosingTheWindowDuringAReadCancelsItWithoutAQuestion) {
    sim::SimOptions options;
    options.faults.neverAnswer = true;
    start(options);
    bool asked = false;
    window.setStopQuestion([&](const std::string&) { return asked = true; });
    QTimer::singleShot(1200, &window, [this] { window.close(); });
    button(Ctl::Button2)->click();
    // The read ended at its next wait instead of running out its countdown.
    EXPECT_FALSE(asked);
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Cancelled);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_FALSE(form.operationRunning());
}

}  // namespace
}  // namespace canprog
