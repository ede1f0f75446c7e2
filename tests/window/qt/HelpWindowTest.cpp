#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>

#include "WindowFixture.h"
#include "operations/HelpHandler.h"
#include "support/TestData.h"
#include "window/qt/DesktopShell.h"
#include "window/qt/TForm1.h"

namespace canprog {
namespace {

class HelpWindowTest : public ::testing::Test, public testing::WindowFixture {
  protected:
    HelpWindow help;
    window::TForm1 helpWindow{help};
};

TEST_F(HelpWindowTest, CreatedHiddenThenShownSizedToTheList) {
    EXPECT_FALSE(helpWindow.isVisible());
    EXPECT_EQ(helpWindow.windowTitle(), QStringLiteral("Pomoc"));

    form.firmwareFileName = testing::dataFile("help_100_lines.hexfw");
    bbHelpClick(form, help);

    EXPECT_TRUE(helpWindow.isVisible());
    EXPECT_EQ(helpWindow.windowTitle(), QStringLiteral("CAN program list"));
    EXPECT_EQ(helpWindow.memo()->document()->blockCount(), 100);
    EXPECT_EQ(helpWindow.frameGeometry().size(), QSize(250, 600));
    EXPECT_EQ(helpWindow.pos(), QPoint(345, 204));
}

TEST_F(HelpWindowTest, ShownAgainWithNewTextWhereTheUserLeftIt) {
    form.firmwareFileName = testing::dataFile("help_3_lines.hexfw");
    bbHelpClick(form, help);
    helpWindow.move(10, 20);
    form.click(Ctl::lang3);
    form.firmwareFileName = testing::dataFile("help_300_chars.hexfw");
    bbHelpClick(form, help);
    EXPECT_EQ(helpWindow.memo()->toPlainText(), QString(300, QLatin1Char('W')));
    EXPECT_EQ(helpWindow.frameGeometry().size(), QSize(1000, 150));
    EXPECT_EQ(helpWindow.pos(), QPoint(10, 20));
    EXPECT_EQ(helpWindow.windowTitle(), QStringLiteral("CAN program list"));
    helpWindow.close();
    EXPECT_FALSE(help.visible());
}

TEST_F(HelpWindowTest, EscapeClosesTheListAndAPlainFilesCommentLinesAreListed) {
    form.firmwareFileName = testing::dataFile("good_plain.hex");
    bbHelpClick(form, help);
    EXPECT_TRUE(helpWindow.isVisible());
    EXPECT_EQ(helpWindow.memo()->document()->blockCount(), 3);
    EXPECT_TRUE(helpWindow.memo()->toPlainText().startsWith(QStringLiteral("CAN programs\n11 ")))
        << helpWindow.memo()->toPlainText().toStdString();
    QTest::keyClick(helpWindow.memo(), Qt::Key_Escape);
    EXPECT_FALSE(helpWindow.isVisible());
    EXPECT_FALSE(help.visible());
}

TEST(DesktopShell, DialogFiltersFromDescriptionPatternPairs) {
    EXPECT_EQ(window::qtNameFilters("Plik HEXFW (*.hexfw)|*.hexfw"),
              QStringList{QStringLiteral("Plik HEXFW (*.hexfw)")});
    EXPECT_EQ(window::qtNameFilters("A (*.a)|*.a|B (*.b)|*.b"),
              (QStringList{QStringLiteral("A (*.a)"), QStringLiteral("B (*.b)")}));
}

}  // namespace
}  // namespace canprog
