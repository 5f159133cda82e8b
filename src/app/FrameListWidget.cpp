#include "app/FrameListWidget.h"

#include "app/QtWindowPainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace fenwold {

FrameListWidget::FrameListWidget(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setMouseTracking(true);
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
