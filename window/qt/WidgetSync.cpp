#include "WidgetSync.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "Pages.h"
#include "WrappingCheckBox.h"

namespace canprog::window {

QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

// Room around a title on a group box's frame, and around a push button's text.
constexpr int kGroupTitleRoom = 16;
constexpr int kButtonTextRoom = 14;

void showText(QWidget* widget, const std::string& text) {
    if (auto* wrapping = qobject_cast<WrappingCheckBox*>(widget)) {
        wrapping->setWrappedText(toQString(text).replace(QLatin1Char('&'), QLatin1String("&&")));
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        // A lone '&' would underline the next letter instead of showing itself.
        button->setText(toQString(text).replace(QLatin1Char('&'), QLatin1String("&&")));
        if (qobject_cast<QPushButton*>(widget)) {
            // The layout makes room for the caption of the current language.
            button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) +
                                    kButtonTextRoom);
        }
    } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
        // A bar's text says more than its per cent: the time left (its accessible description
        // says it too, for a screen reader).
        bar->setFormat(text.empty() ? QStringLiteral("%p%")
                                    : QStringLiteral("%p% — ") + toQString(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(toQString(text));
        group->setMinimumWidth(group->fontMetrics().horizontalAdvance(group->title()) +
                               kGroupTitleRoom);
    } else if (auto* status = qobject_cast<QPlainTextEdit*>(widget);
               status && status->property(kShowsTextProperty).toBool()) {
        if (status->toPlainText() != toQString(text)) status->setPlainText(toQString(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Blank positions (the PIN before a read) show as an empty edit, not as four blanks
        // that a screen reader would say.
        const bool blank = text.find_first_not_of(' ') == std::string::npos;
        const QString shown = blank ? QString() : toQString(text);
        if (edit->text() != shown) edit->setText(shown);
    }
}

void showProgress(QWidget* widget, const ControlState& state) {
    if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
        bar->setRange(state.minimum, state.maximum);
        bar->setValue(state.position);
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        bool same = list->count() == static_cast<int>(state.lines.size());
        for (int i = 0; same && i < list->count(); ++i) {
            same = list->itemText(i) == toQString(state.lines[static_cast<std::size_t>(i)]);
        }
        if (!same) {
            list->clear();
            for (const auto& item : state.lines) list->addItem(toQString(item));
        }
        list->setCurrentIndex(state.position);
    }
}

void showLines(QWidget* widget, const ControlState& state, Change what) {
    auto* memo = qobject_cast<QPlainTextEdit*>(widget);
    if (!memo || memo->property(kShowsTextProperty).toBool()) return;
    if (what == Change::LineAdded && !state.lines.empty()) {
        memo->appendPlainText(toQString(state.lines.back()));
    } else {
        memo->clear();
        for (const auto& line : state.lines) memo->appendPlainText(toQString(line));
    }
    // The last line stays in view, also when it wraps into several: once the memo has laid the
    // new text out, which it does after this returns.
    memo->moveCursor(QTextCursor::End);
    QMetaObject::invokeMethod(
        memo, [memo] { memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum()); },
        Qt::QueuedConnection);
}

}  // namespace

void showState(QWidget* widget, const ControlState& state, Change what) {
    if (!widget) return;
    const QSignalBlocker blocker(widget);
    switch (what) {
        case Change::Text:
            // A list's text is its entries.
            if (qobject_cast<QComboBox*>(widget)) {
                showProgress(widget, state);
            } else {
                showText(widget, state.text);
            }
            break;
        case Change::Enabled: widget->setEnabled(state.enabled); break;
        case Change::Visible: widget->setVisible(state.visible); break;
        case Change::Checked:
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                button->setChecked(state.checked);
            }
            break;
        case Change::Progress: showProgress(widget, state); break;
        case Change::LinesCleared:
        case Change::LineAdded: showLines(widget, state, what); break;
    }
}

void showAll(QWidget* widget, const ControlState& state) {
    if (!widget) return;
    for (Change what :
         {Change::Text, Change::Enabled, Change::Checked, Change::Progress, Change::LinesCleared}) {
        showState(widget, state, what);
    }
    // Visibility last: a hidden child of a shown window stays hidden only when told so.
    showState(widget, state, Change::Visible);
}

}  // namespace canprog::window
