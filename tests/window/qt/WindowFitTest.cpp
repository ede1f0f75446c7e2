#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

#include "WindowFixture.h"
#include "model/LanguageTables.h"

namespace canprog {
namespace {

// Room a push button needs around its text (frame and margins).
constexpr int kButtonPadding = 8;
// Room a group box needs around its title.
constexpr int kGroupTitlePadding = 12;

class WindowFitTest : public ::testing::Test, public testing::WindowFixture {
  protected:
    // Every visible text fits its widget, and every widget lies inside its parent.
    void expectNothingClipped() {
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&window)) continue;
            const QString name = widget->objectName();
            if (QWidget* parent = widget->parentWidget(); parent && !widget->isWindow()) {
                EXPECT_TRUE(parent->rect().contains(widget->geometry()))
                    << name.toStdString() << " leaves its parent";
            }
            const QFontMetrics metrics = widget->fontMetrics();
            if (auto* group = qobject_cast<QGroupBox*>(widget)) {
                EXPECT_LE(metrics.horizontalAdvance(group->title()) + kGroupTitlePadding,
                          group->width())
                    << name.toStdString() << ": " << group->title().toStdString();
            } else if (auto* push = qobject_cast<QPushButton*>(widget)) {
                EXPECT_LE(metrics.horizontalAdvance(push->text()) + kButtonPadding, push->width())
                    << name.toStdString() << ": " << push->text().toStdString();
                EXPECT_GE(push->height(), metrics.height() + 4) << name.toStdString();
            } else if (qobject_cast<QRadioButton*>(widget) || qobject_cast<QCheckBox*>(widget)) {
                EXPECT_LE(widget->sizeHint().width(), widget->width())
                    << name.toStdString() << ": "
                    << qobject_cast<QAbstractButton*>(widget)->text().toStdString();
                EXPECT_GE(widget->height(), metrics.height()) << name.toStdString();
            }
        }
        QTabBar* bar = window.tabs()->tabBar();
        for (int tab = 0; tab < bar->count(); ++tab) {
            EXPECT_LE(bar->fontMetrics().horizontalAdvance(bar->tabText(tab)) + kButtonPadding,
                      bar->tabRect(tab).width())
                << bar->tabText(tab).toStdString();
        }
        EXPECT_LE(bar->sizeHint().width(), bar->width());
    }
};

TEST_F(WindowFitTest, EveryLanguageFitsOnBothTabs) {
    for (char code = '0'; code <= '6'; ++code) {
        SCOPED_TRACE(std::string("language ") + code);
        form.zmiana_jezyka(code);
        for (int page = 0; page < 2; ++page) {
            window.tabs()->setCurrentIndex(page);
            QApplication::processEvents();
            expectNothingClipped();
        }
    }
}

TEST_F(WindowFitTest, FaModeCaptionsFit) {
    for (char code = '0'; code <= '6'; ++code) {
        SCOPED_TRACE(std::string("language ") + code);
        form.zmiana_jezyka(code);
        auto caption = form.text(Ctl::GroupBox8);
        caption.replace(caption.find('I'), 1, "A");
        form.setText(Ctl::GroupBox8, caption);
        window.tabs()->setCurrentIndex(1);
        QApplication::processEvents();
        expectNothingClipped();
    }
}

TEST_F(WindowFitTest, LayoutNeedsNoMoreThanTheFixedClientArea) {
    const QSize needed = window.layout()->totalMinimumSize();
    for (int page = 0; page < 2; ++page) {
        const QSize pageNeeds = window.tabs()->widget(page)->minimumSizeHint();
        EXPECT_LE(pageNeeds.height(), window.tabs()->widget(page)->height()) << page;
        EXPECT_LE(pageNeeds.width(), window.tabs()->widget(page)->width()) << page;
    }
    EXPECT_LE(needed.width(), kClientWidth);
    EXPECT_LE(needed.height(), kClientHeight);
}

}  // namespace
}  // namespace canprog
