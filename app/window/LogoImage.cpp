#include "LogoImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace canprog::window {

namespace {
constexpr int kLogoHeight = 34;
}

LogoImage::Style LogoImage::styleFor(Ctl logo) {
    switch (logo) {
        case Ctl::orrin_image:
            return {"ORRIN", QColor(0xC6, 0x28, 0x28), Qt::white, Shape::Banner, 96};
        case Ctl::velsa_image:
            return {"VELSA", QColor(0x15, 0x65, 0xC0), Qt::white, Shape::Slant, 100};
        case Ctl::durant_image:
            return {"DURANT", QColor(0x2E, 0x7D, 0x32), Qt::white, Shape::Badge, 112};
        case Ctl::kelm_image:
            return {"KELM", QColor(0x26, 0x32, 0x38), QColor(0xFF, 0xC1, 0x07), Shape::Frame, 84};
        case Ctl::rastor_image:
            return {"RASTOR", QColor(0x6A, 0x1B, 0x9A), Qt::white, Shape::Slant, 118};
        case Ctl::pelo_Image:
            return {"PELO", QColor(0xEF, 0x6C, 0x00), Qt::white, Shape::Round, 64};
        case Ctl::ilvaro_image:
            return {"Ilvaro", QColor(0x00, 0x83, 0x8F), Qt::white, Shape::Badge, 96};
        case Ctl::quorbel_image:
            return {"Quorbel", QColor(0x4E, 0x34, 0x2E), QColor(0xFF, 0xE0, 0xB2), Shape::Banner,
                    112};
        case Ctl::sarnic_image:
            return {"SARNIC", QColor(0x0D, 0x47, 0xA1), QColor(0xFF, 0xD5, 0x4F), Shape::Badge,
                    118};
        case Ctl::corvale_image:
            return {"Corvale", QColor(0x37, 0x47, 0x4F), QColor(0x80, 0xDE, 0xEA), Shape::Frame,
                    116};
        default: return {"?", Qt::gray, Qt::black, Shape::Banner, 64};
    }
}

LogoImage::LogoImage(const Brand& brand, QWidget* parent)
    : QWidget(parent), style_(styleFor(brand.logo)), clickable_(!brand.webAddress.empty()) {
    setFixedSize(style_.width, kLogoHeight);
    if (clickable_) {
        setCursor(Qt::PointingHandCursor);
        setToolTip(
            QString::fromUtf8(brand.toolTip.data(), static_cast<qsizetype>(brand.toolTip.size())));
    }
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
        case Shape::Banner: outline.addRect(area); break;
        case Shape::Badge: outline.addRoundedRect(area, 8, 8); break;
        case Shape::Frame: outline.addRoundedRect(area, 3, 3); break;
        case Shape::Round: outline.addEllipse(area); break;
        case Shape::Slant: {
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
    shade.setColorAt(0, style_.background.lighter(130));
    shade.setColorAt(1, style_.background);
    painter.fillPath(outline, shade);
    if (style_.shape == Shape::Frame) {
        painter.setPen(QPen(style_.foreground, 2));
        painter.drawPath(outline);
    }

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(kLogoHeight / 2);
    font.setLetterSpacing(QFont::PercentageSpacing, 105);
    painter.setFont(font);
    painter.setPen(style_.foreground);
    painter.drawText(area, Qt::AlignCenter, style_.name);
}

void LogoImage::mouseReleaseEvent(QMouseEvent* event) {
    if (clickable_ && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace canprog::window
