// The safety net in the Qt window, wired as the program wires it: every write verified, the
// car's settings kept on request, the versions before and after, the settings saved to a file
// and opened again, a log that wraps, and a PIN edit that takes four digits.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "ModuleWindow.h"
#include "config/ParameterBlock.h"
#include "firmware/FirmwareLoader.h"
#include "operations/FirmwareFinder.h"
#include "operations/Operations.h"
#include "operations/SavedBlock.h"
#include "operations/SettingsFiles.h"
#include "sim/SimulatedModule.h"
#include "support/Eventually.h"
#include "support/FormFixture.h"
#include "support/TestData.h"
#include "window/qt/CanprogApplication.h"
#include "window/qt/FirmwareFinderDialog.h"
#include "window/qt/PortList.h"
#include "window/qt/QtMessagePump.h"
#include "window/qt/SpinButton.h"
#include "window/qt/TfrmMain.h"

namespace canprog {
namespace {

namespace fs = std::filesystem;

class WindowSafetyTest : public ::testing::Test, public testing::ModuleWindow {
  protected:
    WindowSafetyTest() {
        operations.useWindowChecks();
        bindSettingsFiles(form, operations);
        startUp(form);
        window.show();
        QApplication::processEvents();
    }
    ~WindowSafetyTest() override { fs::remove_all(scratch); }

    void chooseFile(const std::string& name) {
        shell.nextChoice = testing::dataFile(name);
        button(Ctl::bbOpen)->click();
    }
    std::string log() { return logText().toStdString(); }
    bool logHas(const std::string& text) { return log().find(text) != std::string::npos; }
    static FirmwareImages fileImages(const std::string& name) {
        FirmwareImages images;
        EXPECT_TRUE(loadFirmwareFile(testing::dataFile(name), true, images).loaded());
        return images;
    }

    fs::path scratch = fs::temp_directory_path() / ("canprog-window-" + std::to_string(::getpid()));
};

TEST_F(WindowSafetyTest, AWriteIsVerifiedAndADifferenceLeavesTheModuleInItsBootloader) {
    sim::SimOptions wrong;
    wrong.faults.storeEepromBlockWrong = 2;
    start(wrong);
    chooseFile("good.hexfw");
    button(Ctl::bbUpload)->click();
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::VerifyFailed);
    EXPECT_TRUE(logHas("Verifying EEPROM...\nEEPROM verify failed at address 0x20")) << log();
    EXPECT_EQ(module->restarts(), 0);
}

TEST_F(WindowSafetyTest, TheVersionsBeforeAndAfterAreInTheLog) {
    start();
    chooseFile("good.hexfw");
    const std::string fileVersion = programVersionText(fileImages("good.hexfw").eepromImage);
    button(Ctl::bbUpload)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    EXPECT_TRUE(logHas("Module: DEMO 1.00 — file: " + fileVersion + "\n")) << log();
    EXPECT_TRUE(logHas("EEPROM verified\nThe module now holds: " + fileVersion + "\n")) << log();
}

TEST_F(WindowSafetyTest, KeepTheModulesSettingsKeepsThemOrSaysThereAreNone) {
    auto* keep = widget<QCheckBox>(Ctl::KeepSettings);
    ASSERT_NE(keep, nullptr);
    EXPECT_FALSE(keep->isChecked());
    keep->click();
    ASSERT_TRUE(form.checked(Ctl::KeepSettings));

    start();
    const auto before = module->memory().eeprom;
    chooseFile("good.hexfw");
    button(Ctl::bbUpload)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    EXPECT_TRUE(logHas("The module's settings are kept: PIN 1234, operating mode FI")) << log();
    for (const std::uint8_t address : kSettingBytes) {
        EXPECT_EQ(module->memory().eeprom[address], before[address]) << int(address);
    }

    sim::SimOptions erased;
    erased.memory.eeprom.fill(0xFF);
    start(erased);
    button(Ctl::bbUpload)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    EXPECT_TRUE(logHas("The module has no settings to keep: the file's settings are written"))
        << log();
    EXPECT_EQ(module->memory().eeprom, fileImages("good.hexfw").eepromImage);
}

TEST_F(WindowSafetyTest, SavedSettingsOpenAgainIntoTheSameControls) {
    fs::create_directories(scratch);
    start();
    EXPECT_FALSE(button(Ctl::bbSaveSettings)->isEnabled());
    button(Ctl::BitBtn2)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    ASSERT_TRUE(button(Ctl::bbSaveSettings)->isEnabled());
    const std::string file = (scratch / "car.json").string();
    shell.nextSave = file;
    button(Ctl::bbSaveSettings)->click();
    EXPECT_TRUE(logHas("The settings are saved in car.json")) << log();
    const std::string pin = form.text(Ctl::PIN);
    const bool soundOff = form.checked(Ctl::RadioButton4);

    // The user changes the page, then opens the file: the controls are back, nothing written.
    form.setText(Ctl::PIN, "9999");
    form.click(soundOff ? Ctl::RadioButton5 : Ctl::RadioButton4);
    form.click(Ctl::RadioButton23);
    const auto framesBefore = module->frames().size();
    shell.nextChoice = file;
    button(Ctl::bbOpenSettings)->click();
    EXPECT_TRUE(logHas("The settings of car.json are shown")) << log();
    EXPECT_EQ(form.text(Ctl::PIN), pin);
    EXPECT_EQ(widget<QLineEdit>(Ctl::PIN)->text().toStdString(), pin);
    EXPECT_EQ(form.checked(Ctl::RadioButton4), soundOff);
    EXPECT_TRUE(form.checked(Ctl::RadioButton22));
    EXPECT_EQ(module->frames().size(), framesBefore);

    // The same file in another module's read: refused, the controls left alone.
    sim::SimOptions other;
    other.faults.deviceId = 0x5678;
    other.memory.eeprom[0x26] = 9;
    start(other);
    button(Ctl::BitBtn2)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    const std::string otherPin = form.text(Ctl::PIN);
    button(Ctl::bbOpenSettings)->click();
    EXPECT_TRUE(
        logHas("car.json: the settings are not loaded: the file was saved from another "
               "module (device 12:34; this module is 56:78)"))
        << log();
    EXPECT_EQ(form.text(Ctl::PIN), otherPin);
}

TEST_F(WindowSafetyTest, ToFileAfterAWriteSavesWhatTheModuleHoldsNowAndThePortIsFreeBetween) {
    fs::create_directories(scratch);
    start();
    button(Ctl::BitBtn2)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    // Between two operations another program (the command line) can open the port.
    EXPECT_FALSE(operations.ComPort().Open());
    window.tabs()->setCurrentIndex(1);
    auto* pin = widget<QLineEdit>(Ctl::PIN);
    pin->clear();
    QTest::keyClicks(pin, "1111");
    button(Ctl::BitBtn1)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    ASSERT_TRUE(logHas("EEPROM verified")) << log();
    const std::string file = (scratch / "after.json").string();
    shell.nextSave = file;
    button(Ctl::bbSaveSettings)->click();
    std::string why;
    const auto saved = readSavedBlockFile(file, why);
    ASSERT_TRUE(saved) << why;
    EXPECT_EQ(pinText(saved->block), "1111");
    EXPECT_EQ(saved->block, module->memory().eeprom);
}

TEST_F(WindowSafetyTest, APlainHexFileIsWrittenAsPlainHex) {
    start();
    chooseFile("good_plain.hex");
    EXPECT_FALSE(form.checked(Ctl::DecodeON));
    button(Ctl::bbUpload)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    FirmwareImages plain;
    ASSERT_TRUE(loadFirmwareFile(testing::dataFile("good_plain.hex"), false, plain).loaded());
    EXPECT_TRUE(std::equal(plain.flashImage.begin() + 0x200, plain.flashImage.end(),
                           module->memory().flash.begin() + 0x200));
}

TEST_F(WindowSafetyTest, AnotherProgramIsWrittenOnlyWhenTheTechnicianSaysSo) {
    sim::SimOptions other;
    const std::string version = "OTHER 3.10      ";
    std::copy(version.begin(), version.end(), other.memory.eeprom.begin() + 0xF0);
    start(other);
    chooseFile("good.hexfw");
    widget<QCheckBox>(Ctl::KeepSettings)->click();
    shell.answer = false;
    button(Ctl::bbUpload)->click();
    ASSERT_EQ(shell.asked.size(), 1u);
    EXPECT_NE(shell.asked[0].find("the module holds OTHER. Write the other program into the "
                                  "module? The module's settings are not carried over"),
              std::string::npos)
        << shell.asked[0];
    EXPECT_TRUE(logHas("Nothing was written: the module keeps its program.")) << log();
    for (const auto& frame : module->frames()) {
        EXPECT_NE(frame.command, WRITE_FLASH);
        EXPECT_NE(frame.command, WRITE_EEPROM);
    }
    EXPECT_TRUE(testing::eventually([&] { return module->restarts() == 1; }));
    // Yes: the file is written whole, with its own settings.
    shell.answer = true;
    button(Ctl::bbUpload)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    EXPECT_TRUE(logHas("The module's settings are not carried over to another program")) << log();
    EXPECT_EQ(module->memory().eeprom, fileImages("good.hexfw").eepromImage);
}

// A car whose CAN program (21, kept from the module) the firmware's list does not name: the
// technician is asked before anything is written; No writes nothing, Yes writes it. While it
// writes, what a screen reader says of the progress bar includes the time left.
TEST_F(WindowSafetyTest, AFirmwareThatDoesNotListTheCarsProgramIsWrittenOnlyOnAYes) {
    sim::SimOptions car;
    car.memory.eeprom[kCanProgramAddress] = 0x21;
    start(car);
    chooseFile("good.hexfw");
    widget<QCheckBox>(Ctl::KeepSettings)->click();
    shell.answer = false;
    button(Ctl::bbUpload)->click();
    ASSERT_EQ(shell.asked.size(), 1u);
    EXPECT_NE(shell.asked[0].find("The CAN program 21 that the module will hold after the write "
                                  "is not among the programs of this firmware (11, 12). Write "
                                  "it all the same?"),
              std::string::npos)
        << shell.asked[0];
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::ProgramNotListed);
    EXPECT_TRUE(logHas("Nothing was written: the module is unchanged.")) << log();
    for (const auto& frame : module->frames()) EXPECT_NE(frame.command, WRITE_FLASH);

    shell.answer = true;
    auto* bar = widget<QProgressBar>(Ctl::ProgressBar);
    // What a screen reader says with the bar's value, each time the model moves the bar.
    struct BarReader : ModelListener {
        QProgressBar* bar;
        std::vector<QString> texts;
        void controlChanged(Ctl id, Change) override {
            if (id != Ctl::ProgressBar) return;
            texts.push_back(
                QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Description));
        }
    } reader;
    reader.bar = bar;
    form.addListener(&reader);
    button(Ctl::bbUpload)->click();
    form.removeListener(&reader);
    const std::vector<QString>& barTexts = reader.texts;
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    EXPECT_EQ(module->memory().eeprom[kCanProgramAddress], 0x21);
    EXPECT_TRUE(std::any_of(barTexts.begin(), barTexts.end(),
                            [](const QString& text) { return text.endsWith(" s left"); }));
    EXPECT_TRUE(bar->accessibleDescription().isEmpty());
}

// The firmware library's window from the keyboard alone: the search has the focus, Down goes
// into the list, Enter uses the file; every control has a name a screen reader says.
TEST_F(WindowSafetyTest, TheFindFirmwareWindowWorksFromTheKeyboard) {
    FirmwareFinder finder(form);
    const std::string data = testing::dataFile("good.hexfw");
    finder.setFolder(data.substr(0, data.find_last_of('/')));
    window::FirmwareFinderDialog dialog(finder, &window);
    dialog.show();
    QApplication::processEvents();
    QWidget* search = QApplication::focusWidget();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->accessibleName(), "Search");
    QTest::keyClicks(search, "plain_lf");
    QTest::keyClick(search, Qt::Key_Down);
    auto* list = qobject_cast<QListWidget*>(QApplication::focusWidget());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->accessibleName(), "Find firmware");
    ASSERT_EQ(list->count(), 1);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_TRUE(dialog.chosen());
    EXPECT_EQ(fs::path(*dialog.chosen()).filename(), "good_plain_lf.hex");
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        if (child->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel*>(child)) continue;
        const auto* button = qobject_cast<QPushButton*>(child);
        EXPECT_FALSE(child->accessibleName().isEmpty() && !(button && !button->text().isEmpty()))
            << child->metaObject()->className();
    }
}

// A module switched on two seconds late: with "Wait for the module" checked, "Check the
// connection" catches it, the status line having counted down, and its findings are in the log.
TEST_F(WindowSafetyTest, WaitForTheModuleAndCheckTheConnectionFromTheWindow) {
    sim::SimOptions late;
    late.faults.switchedOnAfter = std::chrono::seconds(2);
    start(late);
    auto* wait = widget<QCheckBox>(Ctl::WaitForModule);
    EXPECT_FALSE(wait->isChecked());
    EXPECT_EQ(wait->accessibleName(), "Wait for the module");
    wait->click();
    EXPECT_TRUE(form.checked(Ctl::WaitForModule));
    testing::TextWatcher status(form, Ctl::Edit1);
    button(Ctl::CheckConnection)->click();
    EXPECT_NE(std::find(status.texts.begin(), status.texts.end(),
                        "Switch the module off and on now (60 s left)"),
              status.texts.end());
    EXPECT_TRUE(logHas("Reset pulse sent; the module's bootloader answered after ")) << log();
    EXPECT_TRUE(logHas(" ms: device ID 12:34, DEMO 1.00")) << log();
    EXPECT_TRUE(logHas("Nothing was found that stops the connection")) << log();
}

TEST_F(WindowSafetyTest, TheParametersPageSaysTheOutcomeWhole) {
    fs::create_directories(scratch);
    sim::SimOptions stops;
    stops.faults.silentAfterFrames = 18 + 4;  // the read with the device ID, four blocks
    start(stops);
    window.tabs()->setCurrentIndex(1);
    button(Ctl::BitBtn2)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << log();
    form.setText(Ctl::PIN, "5678");
    button(Ctl::BitBtn1)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::TransmissionError) << log();
    const auto status = widget<QPlainTextEdit>(Ctl::Edit3)->toPlainText().toStdString();
    EXPECT_EQ(status.rfind("Error data transmission\n", 0), 0u) << status;
    EXPECT_NE(status.find("The module's settings are only partly written ("), std::string::npos)
        << status;
    // A refused file says why on the page too.
    const std::string file = (scratch / "not-a-block.json").string();
    std::ofstream(file) << "{}";
    shell.nextChoice = file;
    button(Ctl::bbOpenSettings)->click();
    EXPECT_EQ(form.text(Ctl::Edit3).rfind("not-a-block.json: the settings are not loaded: ", 0), 0u)
        << form.text(Ctl::Edit3);
}

TEST_F(WindowSafetyTest, TheSystemIsKeptAwakeWhileTheModuleIsTalkedTo) {
    start();
    button(Ctl::Button2)->click();
    EXPECT_EQ(shell.awake, (std::vector<bool>{true, false}));
}

TEST_F(WindowSafetyTest, ALongLogLineWrapsAndTheLastLineStaysInView) {
    auto* memo = widget<QPlainTextEdit>(Ctl::meLog);
    for (int i = 0; i < 40; ++i) form.log("line " + std::to_string(i));
    form.logNote(
        Extra::HalfWritten,
        {{"flash", "601"}, {"flashTotal", "2016"}, {"eeprom", "0"}, {"eepromTotal", "16"}});
    QApplication::processEvents();
    EXPECT_EQ(memo->horizontalScrollBar()->maximum(), 0);  // nothing to scroll sideways to
    EXPECT_EQ(memo->verticalScrollBar()->value(), memo->verticalScrollBar()->maximum());
    EXPECT_TRUE(memo->tabChangesFocus());
}

TEST_F(WindowSafetyTest, ThePinTakesFourDigitsOnlyAndAShortOneSaysWhatAPinMustBe) {
    window.tabs()->setCurrentIndex(1);
    auto* pin = widget<QLineEdit>(Ctl::PIN);
    pin->clear();
    QTest::keyClicks(pin, "123456");
    EXPECT_EQ(pin->text(), QStringLiteral("1234"));
    EXPECT_EQ(form.text(Ctl::PIN), "1234");

    start();
    button(Ctl::BitBtn2)->click();
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished);
    std::string shown;
    static_cast<window::CanprogApplication*>(QCoreApplication::instance())
        ->setErrorDisplay([&](const QString& message) { shown = message.toStdString(); });
    pin->clear();
    QTest::keyClicks(pin, "12a");  // the letter is not taken
    EXPECT_EQ(pin->text(), QStringLiteral("12"));
    const auto frames = module->frames().size();
    // Clicked as the user clicks, through the event loop whose error display would show it.
    QTest::mouseClick(button(Ctl::BitBtn1), Qt::LeftButton);
    static_cast<window::CanprogApplication*>(QCoreApplication::instance())->setErrorDisplay({});
    EXPECT_TRUE(shown.empty()) << shown;  // no runtime's box in English
    EXPECT_EQ(form.text(Ctl::Edit3), "The PIN must be four digits");
    EXPECT_TRUE(logHas("The PIN must be four digits")) << log();
    EXPECT_EQ(module->frames().size(), frames);
    window.form().click(Ctl::lang3);
    QTest::mouseClick(button(Ctl::BitBtn1), Qt::LeftButton);
    EXPECT_EQ(form.text(Ctl::Edit3), "Die PIN muss aus vier Ziffern bestehen");
}

TEST_F(WindowSafetyTest, EveryControlOfBothPagesHasANameAndTheLogoIsAButton) {
    for (int page = 0; page < 2; ++page) {
        window.tabs()->setCurrentIndex(page);
        QApplication::processEvents();
        for (QWidget* child : window.tabs()->widget(page)->findChildren<QWidget*>()) {
            // Qt's own parts of a widget (a scroll area's viewport) are named by the widget.
            if (!child->isVisibleTo(&window) || child->objectName().isEmpty() ||
                child->objectName().startsWith(QStringLiteral("qt_"))) {
                continue;
            }
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
            ASSERT_NE(accessible, nullptr) << child->objectName().toStdString();
            EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty())
                << child->objectName().toStdString();
            EXPECT_EQ(accessible->text(QAccessible::Name),
                      accessible->text(QAccessible::Name).trimmed())
                << child->objectName().toStdString();
        }
    }
    QWidget* logo = widget<QWidget>(Ctl::sarnic_image);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(logo);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(),
              "CAN BUS MODUL BOOTLOADER logo; opens https://www.sarnic.example/ in the browser");
    EXPECT_FALSE(accessible->text(QAccessible::Description).isEmpty());
    EXPECT_TRUE(accessible->actionInterface() &&
                !accessible->actionInterface()->actionNames().isEmpty());
    EXPECT_TRUE(logo->focusPolicy() & Qt::TabFocus);
    // The spin arrows are named and reached with Tab; the arrow keys step the number.
    auto* spin = widget<window::SpinButton>(Ctl::SpinButton1);
    EXPECT_EQ(spin->upArrow()->accessibleName(), QStringLiteral("Next CAN program"));
    EXPECT_TRUE(spin->upArrow()->focusPolicy() & Qt::TabFocus);
    window.tabs()->setCurrentIndex(1);
    QTest::keyClick(widget<QLineEdit>(Ctl::MaskEdit1), Qt::Key_Up);
    EXPECT_EQ(form.text(Ctl::MaskEdit1), "12");
    // The PIN is named without its padding and starts empty, not four blanks.
    EXPECT_EQ(widget<QLineEdit>(Ctl::PIN)->accessibleName(), QStringLiteral("PIN code"));
    EXPECT_TRUE(widget<QLineEdit>(Ctl::PIN)->text().isEmpty());
}

TEST_F(WindowSafetyTest, ThePortListIsReadAgainEachTimeItOpens) {
    std::vector<serial::PresentPort> present = {{5, "/dev/ttyUSB0", false, "FT232R USB UART", ""}};
    operations.portProbe = [&] { return present; };
    auto* list = widget<window::PortList>(Ctl::cbPort);
    list->showPopup();
    list->hidePopup();
    EXPECT_EQ(list->itemText(4).toStdString(), "COM5 \u2014 FT232R USB UART");
    EXPECT_EQ(list->count(), 12);
    // An adapter plugged in since the list last opened shows up the next time.
    present.push_back({17, "/dev/ttyUSB1", false, "USB-SERIAL CH340", ""});
    list->showPopup();
    list->hidePopup();
    ASSERT_EQ(list->count(), 13);
    EXPECT_EQ(list->itemText(12).toStdString(), "COM17 \u2014 USB-SERIAL CH340");
    list->setCurrentIndex(12);
    EXPECT_EQ(form.selectedPortNumber(), 17);
}

}  // namespace
}  // namespace canprog
