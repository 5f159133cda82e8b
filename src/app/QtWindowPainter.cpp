#include "app/QtWindowPainter.h"

#include <QFont>
#include <QPainter>

namespace fenwold {

QColor ToQColor(WindowColour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QImage ImageOf(const Pixel555* pixels, int width, int height) {
    return QImage(reinterpret_cast<const uchar*>(pixels), width, height,
                  static_cast<qsizetype>(width) * 2, QImage::Format_RGB555);
}

QtWindowPainter::QtWindowPainter(QPainter& painter) : painter_(painter) {
    QFont font("Monospace");
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(10);
    painter_.setFont(font);
}

void QtWindowPainter::Rectangle(int x0, int y0, int x1, int y1, WindowColour colour) {
    painter_.setPen(ToQColor(colour));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRect(QPoint(x0, y0), QPoint(x1, y1)).adjusted(0, 0, -1, -1));
}

void QtWindowPainter::Text(int x, int y, std::string_view text, WindowColour textColour,
                           WindowColour backgroundColour) {
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QRect cell(x, y, 6 * static_cast<int>(shown.size()), 10);
    painter_.fillRect(cell, ToQColor(backgroundColour));
    painter_.setPen(ToQColor(textColour));
    painter_.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

void QtWindowPainter::Line(int x0, int y0, int x1, int y1, WindowColour colour) {
    painter_.setPen(ToQColor(colour));
    painter_.drawLine(x0, y0, x1, y1);
}

void BlitPictures(QPainter& painter, const std::vector<FramePicture>& pictures) {
    for (const FramePicture& picture : pictures) {
        painter.drawImage(picture.x, picture.y,
                          ImageOf(picture.pixels.data(), picture.width, picture.height));
    }
}

} // namespace fenwold
