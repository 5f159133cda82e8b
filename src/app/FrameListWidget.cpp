#include "app/FrameListWidget.h"

#include "app/QtWindowPainter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace fenwold {

FrameListWidget::FrameListWidget(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setMouseTracking(true);
    // Focus, so that the keyboard opens the context menu.
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(kScrollLine);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void FrameListWidget::TakeClientSize() {
    SetClientSize(viewport()->width(), viewport()->height());
}

void FrameListWidget::Refresh() {
    TakeClientSize();
    const int height = GetScrollSize().height;
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    SetScrollPosition(verticalScrollBar()->value());
    viewport()->update();
}

QPoint FrameListWidget::KeyboardMenuPoint() const {
    const QPoint corner = HoveredFrameCorner().value_or(QPoint(0, 0));
    // Inside the window even when the hovered frame has scrolled out of it.
    const QRect area = viewport()->rect();
    return {std::clamp(corner.x(), 0, area.right()), std::clamp(corner.y(), 0, area.bottom())};
}

void FrameListWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        // The menu's commands act on the frame under the pointer (the event comes from the
        // viewport, in its coordinates).
        MouseMoved(event->pos().x(), event->pos().y());
        viewport()->update();
        RunContextMenu(event->globalPos());
    } else {
        RunContextMenu(viewport()->mapToGlobal(KeyboardMenuPoint()));
    }
}

void FrameListWidget::keyPressEvent(QKeyEvent* event) {
    // The Menu key reaches the window as a context menu event; Shift+F10 arrives as a key.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        RunContextMenu(viewport()->mapToGlobal(KeyboardMenuPoint()));
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void FrameListWidget::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    BlitPictures(painter, RenderVisibleFrames());
    QtWindowPainter window(painter);
    PaintOverlays(window);
}

void FrameListWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Refresh();
}

void FrameListWidget::scrollContentsBy(int, int) {
    SetScrollPosition(verticalScrollBar()->value());
    viewport()->update();
}

void FrameListWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    MouseMoved(at.x(), at.y());
    viewport()->update();
}

} // namespace fenwold
