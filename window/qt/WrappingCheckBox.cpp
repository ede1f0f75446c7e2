#include "WrappingCheckBox.h"

namespace canprog::window {

void WrappingCheckBox::setWrappedText(const QString& text) {
    QString shown = text;
    if (fontMetrics().horizontalAdvance(text) > kOneLineWidth) {
        const qsizetype middle = text.size() / 2;
        qsizetype best = -1;
        for (qsizetype at = 0; at < text.size(); ++at) {
            if (text[at] == QLatin1Char(' ') &&
                (best < 0 || std::abs(at - middle) < std::abs(best - middle))) {
                best = at;
            }
        }
        if (best > 0) shown[best] = QLatin1Char('\n');
    }
    setText(shown);
    // A screen reader says the caption as one line.
    setAccessibleName(text);
}

}  // namespace canprog::window
