#pragma once

#include "unit/CSetAnimationView.h"
#include "unit/RegistrationLayout.h"

#include <QAbstractScrollArea>
#include <vector>

namespace fenwold {

class WindowPainter;

// The scrolling window of a view that shows frames side by side: it hands the view its size and
// scroll position, blits the view's pictures as they are and lets the view draw its outlines and
// labels over them.
class FrameListWidget : public QAbstractScrollArea {
public:
    explicit FrameListWidget(QWidget* parent);

    // The view's contents changed: new scroll range and a repaint.
    void Refresh();

protected:
    virtual void SetClientSize(int width, int height) = 0;
    virtual void SetScrollPosition(int y) = 0;
    virtual ScrollSize GetScrollSize() const = 0;
    virtual std::vector<FramePicture> RenderVisibleFrames() const = 0;
    virtual void PaintOverlays(WindowPainter& window) const = 0;
    virtual void MouseMoved(int x, int y) = 0;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // The view knows the size only once the window exists.
    void TakeClientSize();
};

} // namespace fenwold
