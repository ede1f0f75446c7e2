#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>

#include "serial/SlExcept.h"
#include "serial/SlPort.h"
#include "window/qt/TComSelectForm.h"

namespace canprog {
namespace {

using window::TComSelectForm;

const std::vector<serial::PresentPort> kPorts = {
    {2, "/dev/a", false, "", ""}, {9, "/dev/b", false, "", ""}, {10, "/dev/c", true, "", ""}};

// Presses a button of the dialog once it is up.
void pressWhenShown(TComSelectForm& dialog, const char* button) {
    QTimer::singleShot(0, &dialog, [&dialog, button] {
        dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
}

TEST(PortDialog, ListsThePortsAndGivesTheChoiceOnOk) {
    TComSelectForm dialog(kPorts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Port"));
    EXPECT_EQ(dialog.size(), QSize(220, 131));
    QComboBox* list = dialog.PortsComboBox();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), QStringLiteral("COM2"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("COM10"));
    EXPECT_EQ(list->currentIndex(), 0);
    list->setCurrentIndex(2);
    pressWhenShown(dialog, "OkBtn");
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenPort(), 10);
}

TEST(PortDialog, CancelMakesTheOpenFail) {
    serial::TSlioComPort port;
    port.SetPortPrompt([] {
        TComSelectForm dialog(kPorts);
        pressWhenShown(dialog, "AbortBtn");
        if (dialog.exec() != QDialog::Accepted) return std::optional<int>{};
        return dialog.chosenPort();
    });
    EXPECT_THROW(port.SetOpen(true), serial::ENoPortSelected);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.ComNumber(), 0);
}

TEST(PortDialog, OkSetsTheComponentsPortNumber) {
    ::setenv("CANPROG_PORTS", "/nonexistent/canprog-ports", 1);
    serial::TSlioComPort port;
    port.SetPortPrompt([] { return std::optional<int>{37}; });
    EXPECT_THROW(port.SetOpen(true), serial::EBadId);  // COM37 names no device here
    EXPECT_EQ(port.ComNumber(), 37);
    ::unsetenv("CANPROG_PORTS");
}

}  // namespace
}  // namespace canprog
