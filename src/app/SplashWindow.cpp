#include "app/SplashWindow.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

namespace fenwold {
namespace {

QPixmap SplashPicture() {
    QPixmap picture(420, 240);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(24, 40, 72));
    sky.setColorAt(1, QColor(96, 120, 88));
    painter.fillRect(picture.rect(), sky);
    // A row of 2 x 2 blocks: what every sprite is made of.
    for (int i = 0; i < 26; ++i) {
        painter.fillRect(20 + i * 15, 170, 12, 12, QColor::fromHsv((i * 13) % 360, 140, 220));
    }
    painter.setPen(Qt::white);
    painter.setFont(QFont("Sans", 34, QFont::Bold));
    painter.drawText(QRect(0, 50, 420, 60), Qt::AlignCenter, "Fenwold");
    painter.setFont(QFont("Sans", 11));
    painter.drawText(QRect(0, 110, 420, 30), Qt::AlignCenter, "sprite authoring");
    return picture;
}

} // namespace

SplashWindow::SplashWindow() : QSplashScreen(SplashPicture()) {
    setAttribute(Qt::WA_DeleteOnClose);
    QTimer::singleShot(1500, this, &QWidget::close);
    QApplication::instance()->installEventFilter(this);
}

SplashWindow::~SplashWindow() {
    QApplication::instance()->removeEventFilter(this);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        close();
        break;
    default:
        break;
    }
    return QSplashScreen::eventFilter(watched, event);
}

} // namespace fenwold
