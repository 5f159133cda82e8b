#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace fenwold {
namespace {

QPixmap IconPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const int half = size / 2;
    const int gap = std::max(1, size / 16);
    const QColor colours[] = {QColor(200, 64, 48), QColor(56, 120, 208), QColor(72, 168, 88),
                              QColor(232, 184, 56)};
    for (int i = 0; i < 4; ++i) {
        const int x = (i % 2) * half;
        const int y = (i / 2) * half;
        painter.fillRect(x + gap, y + gap, half - 2 * gap, half - 2 * gap, colours[i]);
    }
    return picture;
}

} // namespace

const QIcon& ProgramIcon() {
    static const QIcon icon = [] {
        QIcon drawn;
        for (const int size : {16, 24, 32, 48, 64}) {
            drawn.addPixmap(IconPicture(size));
        }
        return drawn;
    }();
    return icon;
}

} // namespace fenwold
