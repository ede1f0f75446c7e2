#include <gtest/gtest.h>

#include <utility>

#include <QApplication>
#include <QTimer>

#include "ModuleWindow.h"
#include "support/Eventually.h"
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
        "The module stopped answering (" +
        module->devicePath() +
        "): check the module's power and the cable\n"
        "The module is only partly written (acknowledged blocks: FLASH 100/2016, EEPROM 0/16). The "
        "bootloader's own area is untouched, so writing the file again repairs the module.";
    EXPECT_TRUE(logText().toStdString().ends_with(expected)) << logText().toStdString();
}

TEST_F(WindowUploadTest, ClosingTheWindowDuringAWriteAsksAndYesStopsBetweenFramesAndSaysHowFar) {
    start();
    form.firmwareFileName = testing::dataFile("good.hexfw");
    std::vector<std::string> asked;
    std::vector<std::string> shown;
    window.setStopQuestion([&](const std::string& question, std::function<void(bool)> answer) {
        asked.push_back(question);
        answer(true);
    });
    window.setOutcomeDisplay([&](const std::string& outcome) { shown.push_back(outcome); });
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
    // The write ended at its next frame; how far it got is shown before the window goes.
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Cancelled);
    ASSERT_TRUE(testing::eventually([&] {
        QApplication::processEvents();
        return !shown.empty();
    }));
    EXPECT_NE(shown[0].find("The module is only partly written (acknowledged blocks: "),
              std::string::npos)
        << shown[0];
    EXPECT_TRUE(testing::eventually([&] {
        QApplication::processEvents();
        return !window.isVisible();
    }));
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_FALSE(form.operationRunning());
    EXPECT_EQ(module->restarts(), 0);
    for (const auto& frame : module->frames()) EXPECT_TRUE(frame.checksumOk);
}

TEST_F(WindowUploadTest, WhileTheWindowAsksFramesKeepGoingAndNoMeansTheWriteSimplyCarriesOn) {
    start();
    std::function<void(bool)> answerLater;
    std::size_t framesWhenAsked = 0;
    window.setStopQuestion([&](const std::string&, std::function<void(bool)> answer) {
        framesWhenAsked = module->frames().size();
        answerLater = std::move(answer);
    });
    form.firmwareFileName = testing::dataFile("good.hexfw");
    // Closed while the FLASH is being written; the technician reads the question for a while
    // (longer than a module waits between two frames), then answers No.
    QTimer closerAndAnswerer;
    QObject::connect(&closerAndAnswerer, &QTimer::timeout, &window, [&] {
        if (module->frames().size() >= 50 && framesWhenAsked == 0) window.close();
        if (answerLater && module->frames().size() >= framesWhenAsked + 200) {
            std::exchange(answerLater, {})(false);
        }
    });
    closerAndAnswerer.start(5);
    button(Ctl::bbUpload)->click();
    EXPECT_GT(framesWhenAsked, 0u);
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << logText().toStdString();
    std::size_t written = 0;
    for (const auto& frame : module->frames()) {
        written += frame.command == WRITE_FLASH || frame.command == WRITE_EEPROM ? 1 : 0;
    }
    EXPECT_EQ(written, 2032u);
    EXPECT_TRUE(logText().endsWith(QStringLiteral("Finished")));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowUploadTest, ClosingTheWindowDuringAReadCancelsItWithoutAQuestion) {
    sim::SimOptions options;
    options.faults.neverAnswer = true;
    start(options);
    bool asked = false;
    window.setStopQuestion([&](const std::string&, std::function<void(bool)>) { asked = true; });
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
