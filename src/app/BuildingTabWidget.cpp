#include "app/BuildingTabWidget.h"

#include "app/CommandMenu.h"
#include "app/QtWindowPainter.h"
#include "app/ToolWindowSet.h"
#include "building/BuildingTabView.h"
#include "platform/VirtualKeys.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>

namespace fenwold {

int BuildingKeyOf(const QKeyEvent& event) {
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    switch (event.key()) {
    case Qt::Key_Insert:
        return key::kInsert;
    case Qt::Key_Delete:
        return key::kDelete;
    case Qt::Key_Plus:
        return keypad ? key::kKeypadPlus : 0;
    case Qt::Key_Minus:
        return keypad ? key::kKeypadMinus : 0;
    default:
        return ToolKeyOf(event);
    }
}

BuildingTabWidget::BuildingTabWidget(QWidget* parent, BuildingTabView& view, BuildingTabHooks hooks)
    : QAbstractScrollArea(parent), view_(view), hooks_(std::move(hooks)) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void BuildingTabWidget::Refresh() {
    const BuildingViewPicture& picture = view_.Picture();
    zoom_ = std::max(1, picture.zoom);
    UpdateScrollBars(picture.width * picture.zoom, picture.height * picture.zoom);
    viewport()->update();
    if (hooks_.changed) {
        hooks_.changed();
    }
}

void BuildingTabWidget::UpdateScrollBars(int width, int height) {
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, width - client.width()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setRange(0, std::max(0, height - client.height()));
    verticalScrollBar()->setPageStep(client.height());
}

QPoint BuildingTabWidget::PicturePoint(QPoint viewportPoint) const {
    return {(viewportPoint.x() + horizontalScrollBar()->value()) / zoom_,
            (viewportPoint.y() + verticalScrollBar()->value()) / zoom_};
}

void BuildingTabWidget::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::black);
    const BuildingViewPicture& picture = view_.Picture();
    if (picture.Empty()) {
        return;
    }
    const QImage image = ImageOf(picture.pixels.data(), picture.width, picture.height);
    const QRect target(-horizontalScrollBar()->value(), -verticalScrollBar()->value(),
                       picture.width * picture.zoom, picture.height * picture.zoom);
    painter.drawImage(target, image);
}

void BuildingTabWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Refresh();
}

void BuildingTabWidget::scrollContentsBy(int, int) {
    viewport()->update();
}

void BuildingTabWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = PicturePoint(event->position().toPoint());
        view_.OnLeftButtonDown(at.x(), at.y());
        Refresh();
    }
}

void BuildingTabWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = PicturePoint(event->position().toPoint());
    view_.OnMouseMove(at.x(), at.y());
    Refresh();
}

void BuildingTabWidget::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 opens the context menu from the keyboard, as the Menu key does.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        RunMenu(viewport()->mapToGlobal(QPoint(0, 0)));
        return;
    }
    const int key = BuildingKeyOf(*event);
    if (key == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    view_.OnKeyDown(key);
    Refresh();
}

void BuildingTabWidget::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats as presses; the release the toolkit adds to each repeat is not one.
    const int key = BuildingKeyOf(*event);
    if (key == 0 || event->isAutoRepeat()) {
        QAbstractScrollArea::keyReleaseEvent(event);
        return;
    }
    view_.OnKeyUp(key);
    Refresh();
}

void BuildingTabWidget::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    view_.OnFocusGained();
    if (const int milliseconds = view_.TimerMilliseconds(); milliseconds > 0) {
        timer_.start(milliseconds, this);
    }
    Refresh();
}

void BuildingTabWidget::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    timer_.stop();
    view_.OnFocusLost();
    Refresh();
}

void BuildingTabWidget::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    view_.Tick();
    Refresh();
}

void BuildingTabWidget::contextMenuEvent(QContextMenuEvent* event) {
    RunMenu(event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                        : viewport()->mapToGlobal(QPoint(0, 0)));
}

void BuildingTabWidget::RunMenu(QPoint globalPosition) {
    if (!hooks_.menuItems) {
        return;
    }
    if (const auto chosen = ExecCommandMenu(this, hooks_.menuItems(), globalPosition)) {
        hooks_.runCommand(*chosen);
        Refresh();
    }
}

} // namespace fenwold
