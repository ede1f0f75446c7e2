#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "WindowFixture.h"
#include "config/OptionControls.h"
#include "model/BrandTable.h"

namespace canprog {
namespace {

class WindowBindingTest : public ::testing::Test, public testing::WindowFixture {};

TEST_F(WindowBindingTest, EveryControlCarriesItsNameAsObjectName) {
    for (auto name : kControlNames) {
        EXPECT_NE(window.findChild<QWidget*>(QString::fromLatin1(name.data(), name.size())),
                  nullptr)
            << name;
    }
}

TEST_F(WindowBindingTest, TitleAndClientSize) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("CAN BUS MODUL BOOTLOADER"));
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("CAN BUS MODUL BOOTLOADER"));
    EXPECT_EQ(window.size(), QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window.tabs()->tabPosition(), QTabWidget::South);
    EXPECT_EQ(window.tabs()->currentIndex(), 0);
}

TEST_F(WindowBindingTest, CaptionsFollowTheLanguageButtons) {
    EXPECT_EQ(find<QPushButton>(Ctl::bbOpen)->text(), QStringLiteral("Open file"));
    EXPECT_EQ(find<QGroupBox>(Ctl::GroupBox18)->title(), QStringLiteral("CAN program list"));
    EXPECT_EQ(window.tabs()->tabText(1), QStringLiteral("Operation parameters"));

    find<QRadioButton>(Ctl::lang1)->click();

    EXPECT_TRUE(find<QRadioButton>(Ctl::lang1)->isChecked());
    EXPECT_FALSE(find<QRadioButton>(Ctl::lang2)->isChecked());
    EXPECT_EQ(find<QPushButton>(Ctl::bbOpen)->text(), QStringLiteral("Otwórz plik"));
    EXPECT_EQ(find<QGroupBox>(Ctl::GroupBox5)->title(), QStringLiteral("(1) Obsługa systemu "));
    EXPECT_EQ(window.tabs()->tabText(0), QStringLiteral("Programowanie"));
    EXPECT_EQ(form.message(2), "Błąd odczytu pliku!");
}

TEST_F(WindowBindingTest, ACheckedLanguageButtonStaysCheckedWhenClickedAgain) {
    auto* english = find<QRadioButton>(Ctl::lang2);
    english->click();
    EXPECT_TRUE(english->isChecked());
}

TEST_F(WindowBindingTest, ModelChangesReachTheWidgets) {
    form.log("first");
    form.log("second");
    EXPECT_EQ(find<QPlainTextEdit>(Ctl::meLog)->toPlainText(), QStringLiteral("first\nsecond"));
    form.setProgressRange(Ctl::ProgressBar, 0, 30);
    form.setProgressPosition(Ctl::ProgressBar, 17);
    EXPECT_EQ(find<QProgressBar>(Ctl::ProgressBar)->value(), 17);
    form.setEnabled(Ctl::bbUpload, true);
    EXPECT_TRUE(find<QPushButton>(Ctl::bbUpload)->isEnabled());
    form.setText(Ctl::Edit2, "demo.hexfw");
    EXPECT_EQ(find<QLineEdit>(Ctl::Edit2)->text(), QStringLiteral("demo.hexfw"));
    form.click(Ctl::RadioGroup1);
    EXPECT_TRUE(find<QPlainTextEdit>(Ctl::meLog)->toPlainText().isEmpty());
}

TEST_F(WindowBindingTest, PortListAndDisabledButtons) {
    auto* ports = find<QComboBox>(Ctl::cbPort);
    ASSERT_EQ(ports->count(), 12);
    EXPECT_EQ(ports->itemText(11), QStringLiteral("COM12"));
    EXPECT_EQ(ports->currentIndex(), 0);
    ports->setCurrentIndex(4);
    EXPECT_EQ(form.selectedPortIndex(), 4);
    EXPECT_FALSE(find<QPushButton>(Ctl::bbUpload)->isEnabled());
    EXPECT_FALSE(find<QPushButton>(Ctl::bbHelp)->isEnabled());
}

TEST_F(WindowBindingTest, OneLogoIsShownAndDeveloperControlsAreHidden) {
    int shown = 0;
    for (const auto& brand : brands()) shown += find<QWidget>(brand.logo)->isVisible() ? 1 : 0;
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(find<QWidget>(Ctl::sarnic_image)->isVisible());
    EXPECT_EQ(find<QWidget>(Ctl::sarnic_image)->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(find<QWidget>(Ctl::sarnic_image)->toolTip(),
              QStringLiteral("https://www.sarnic.example/"));
    for (Ctl id : {Ctl::EEPROM, Ctl::DecodeON, Ctl::PICencoding, Ctl::Edit1, Ctl::Memo1, Ctl::Clear,
                   Ctl::lang8, Ctl::lang9}) {
        EXPECT_FALSE(find<QWidget>(id)->isVisible()) << controlName(id);
    }
    // Russian is chosen as the others are.
    EXPECT_TRUE(find<QWidget>(Ctl::lang4)->isVisible());
    find<QRadioButton>(Ctl::lang4)->click();
    EXPECT_EQ(form.languageCode, '3');
    EXPECT_EQ(form.text(Ctl::Button1), "Отмена");
}

TEST_F(WindowBindingTest, ClickingTheLogoOpensTheBrandAddress) {
    QWidget* logo = find<QWidget>(Ctl::sarnic_image);
    const QPointF centre = QRectF(logo->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, logo->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, logo->mapToGlobal(centre),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(logo, &press);
    QApplication::sendEvent(logo, &release);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], "https://www.sarnic.example/");
}

TEST_F(WindowBindingTest, WhileAnOperationRunsOnlyCancelIsThereToPressAndItReachesTheCountdown) {
    auto* cancel = find<QPushButton>(Ctl::Button1);
    const std::vector<Ctl> held = {Ctl::bbOpen, Ctl::Button2, Ctl::BitBtn2, Ctl::BitBtn4,
                                   Ctl::lang1,  Ctl::lang4,   Ctl::cbPort};
    EXPECT_FALSE(cancel->isEnabled());  // nothing to cancel
    for (Ctl id : held) EXPECT_TRUE(find<QWidget>(id)->isEnabled()) << controlName(id);
    ASSERT_TRUE(form.beginOperation());
    EXPECT_TRUE(cancel->isEnabled());
    for (Ctl id : held) EXPECT_FALSE(find<QWidget>(id)->isEnabled()) << controlName(id);
    // What the operation enables shows once it has ended.
    form.setEnabled(Ctl::BitBtn1, true);
    EXPECT_FALSE(find<QWidget>(Ctl::BitBtn1)->isEnabled());
    form.countdown().start(30);
    cancel->click();
    EXPECT_EQ(form.countdown().timeoutTicks(), -1);
    EXPECT_FALSE(form.countdown().tickerEnabled());
    form.endOperation();
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_TRUE(find<QWidget>(Ctl::BitBtn1)->isEnabled());
    for (Ctl id : held) EXPECT_TRUE(find<QWidget>(id)->isEnabled()) << controlName(id);
}

TEST_F(WindowBindingTest, AnAssistiveToolsToggleAndPressReachTheModelAndPairsAreTrueRadioButtons) {
    const auto act = [this](Ctl id, const QString& action) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(find<QWidget>(id));
        ASSERT_NE(accessible, nullptr);
        ASSERT_NE(accessible->actionInterface(), nullptr);
        accessible->actionInterface()->doAction(action);
        QTest::qWait(150);  // a press clicks after its animation
    };
    bindOptionControls(form);  // FS1 and FS3 exclude each other, as the window binds them
    window.tabs()->setCurrentIndex(1);
    QApplication::processEvents();
    // A check box toggled by a screen reader is toggled in the model.
    act(Ctl::CheckBox2, QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(form.checked(Ctl::CheckBox2));
    EXPECT_TRUE(find<QCheckBox>(Ctl::CheckBox2)->isChecked());
    act(Ctl::CheckBox3, QAccessibleActionInterface::pressAction());  // FS3 unchecks FS1
    EXPECT_TRUE(form.checked(Ctl::CheckBox3));
    EXPECT_FALSE(form.checked(Ctl::CheckBox2));
    EXPECT_FALSE(find<QCheckBox>(Ctl::CheckBox2)->isChecked());
    // A radio button so toggled checks its option and unchecks its partner: never two checked.
    for (const auto& action :
         {QAccessibleActionInterface::toggleAction(), QAccessibleActionInterface::pressAction()}) {
        act(Ctl::RadioButton5, action);
        EXPECT_TRUE(form.checked(Ctl::RadioButton5));
        EXPECT_FALSE(form.checked(Ctl::RadioButton4));
        EXPECT_FALSE(find<QRadioButton>(Ctl::RadioButton4)->isChecked());
        act(Ctl::RadioButton4, action);
        EXPECT_TRUE(form.checked(Ctl::RadioButton4));
        EXPECT_FALSE(find<QRadioButton>(Ctl::RadioButton5)->isChecked());
    }
    // A pair is one Tab stop, at its checked button; the arrow keys choose inside it.
    auto* soundOff = find<QRadioButton>(Ctl::RadioButton4);
    auto* soundOn = find<QRadioButton>(Ctl::RadioButton5);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(soundOn)->role(), QAccessible::RadioButton);
    EXPECT_TRUE(soundOff->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(soundOn->focusPolicy() & Qt::TabFocus);
    soundOff->setFocus();
    QTest::keyClick(soundOff, Qt::Key_Right);
    EXPECT_TRUE(form.checked(Ctl::RadioButton5));
    EXPECT_TRUE(soundOn->hasFocus() || !window.isActiveWindow());
    EXPECT_TRUE(soundOn->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(soundOff->focusPolicy() & Qt::TabFocus);
}

TEST_F(WindowBindingTest, ControlsAreNamedForWhatTheyAreAndFocusStartsOnTheFirstCommand) {
    // The port list is "Port", its entry its value; the logo says where it leads.
    QAccessibleInterface* ports = QAccessible::queryAccessibleInterface(find<QWidget>(Ctl::cbPort));
    EXPECT_EQ(ports->text(QAccessible::Name), QStringLiteral("Port"));
    EXPECT_EQ(ports->text(QAccessible::Value), QStringLiteral("COM1"));
    EXPECT_EQ(ports->role(), QAccessible::ComboBox);
    EXPECT_EQ(find<QWidget>(Ctl::sarnic_image)->accessibleName().toStdString(),
              "CAN BUS MODUL BOOTLOADER logo; opens https://www.sarnic.example/ in the browser");
    // Buttons that cannot be pressed yet say why.
    EXPECT_EQ(find<QWidget>(Ctl::bbSaveSettings)->accessibleDescription(),
              QStringLiteral("Read the module first"));
    form.setEnabled(Ctl::bbSaveSettings, true);
    EXPECT_TRUE(find<QWidget>(Ctl::bbSaveSettings)->accessibleDescription().isEmpty());
    // The first command has the focus, and Tab goes on to the next, not into the log.
    window.activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>(Ctl::bbOpen));
    EXPECT_EQ(find<QWidget>(Ctl::bbOpen)->nextInFocusChain(), find<QWidget>(Ctl::bbUpload));
    QWidget* after = find<QWidget>(Ctl::BitBtn3);
    while (!(after->focusPolicy() & Qt::TabFocus) || after == find<QWidget>(Ctl::BitBtn3)) {
        after = after->nextInFocusChain();
    }
    EXPECT_EQ(after, find<QWidget>(Ctl::meLog));  // the log comes after the commands
}

}  // namespace
}  // namespace canprog
