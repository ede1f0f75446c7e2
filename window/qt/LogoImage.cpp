#include "LogoImage.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace canprog::window {

namespace {
QColor toQColor(Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}
}  // namespace

LogoImage::LogoImage(const Brand& brand, QWidget* parent)
    : QAbstractButton(parent), style_(logoStyleFor(brand.logo)) {
    setFixedSize(style_.width, kLogoHeight);
    setAccessibleName(
        QString::fromUtf8(brand.caption.data(), static_cast<qsizetype>(brand.caption.size())));
    if (brand.webAddress.empty()) {
        setFocusPolicy(Qt::NoFocus);
        return;
    }
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(
        QString::fromUtf8(brand.toolTip.data(), static_cast<qsizetype>(brand.toolTip.size())));
    setAccessibleDescription(QString::fromUtf8(brand.webAddress.data(),
                                               static_cast<qsizetype>(brand.webAddress.size())));
}

QSize LogoImage::sizeHint() const {
    return {style_.width, kLogoHeight};
}

void LogoImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath outline;
    switch (style_.shape) {
        case LogoShape::Banner: outline.addRect(area); break;
        case LogoShape::Badge: outline.addRoundedRect(area, 8, 8); break;
        case LogoShape::Frame: outline.addRoundedRect(area, 3, 3); break;
        case LogoShape::Round: outline.addEllipse(area); break;
        case LogoShape::Slant: {
            const qreal lean = area.height() / 3;
            outline.moveTo(area.left() + lean, area.top());
            outline.lineTo(area.right(), area.top());
            outline.lineTo(area.right() - lean, area.bottom());
            outline.lineTo(area.left(), area.bottom());
            outline.closeSubpath();
            break;
        }
    }
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0, toQColor(style_.background).lighter(130));
    shade.setColorAt(1, toQColor(style_.background));
    painter.fillPath(outline, shade);
    if (style_.shape == LogoShape::Frame) {
        painter.setPen(QPen(toQColor(style_.foreground), 2));
        painter.drawPath(outline);
    }

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(kLogoHeight / 2);
    font.setLetterSpacing(QFont::PercentageSpacing, 105);
    painter.setFont(font);
    painter.setPen(toQColor(style_.foreground));
    painter.drawText(
        area, Qt::AlignCenter,
        QString::fromLatin1(style_.name.data(), static_cast<qsizetype>(style_.name.size())));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace canprog::window
