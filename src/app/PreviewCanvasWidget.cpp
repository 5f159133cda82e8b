#include "app/PreviewCanvasWidget.h"

#include "app/QtWindowPainter.h"
#include "unittools/PreviewCanvas.h"

#include <QPainter>

namespace fenwold {

PreviewCanvasWidget::PreviewCanvasWidget(QWidget* parent,
                                         std::function<const PreviewCanvas*()> canvas,
                                         std::function<int()> zoom)
    : QWidget(parent), canvas_(std::move(canvas)), zoom_(std::move(zoom)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewCanvasWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const PreviewCanvas* canvas = canvas_();
    if (canvas == nullptr) {
        return;
    }
    const CanvasPlacement place = PlaceCanvas(width(), height(), zoom_());
    painter.drawImage(QRect(place.left, place.top, place.width, place.height),
                      ImageOf(canvas->data(), PreviewCanvas::kWidth, PreviewCanvas::kHeight));
}

} // namespace fenwold
