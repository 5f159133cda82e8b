#pragma once

#include "app/QtWindowPainter.h"
#include "unit/FrameGrid.h"

#include <QAbstractScrollArea>
#include <memory>
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

// The window of one frame-list view (CUnitView, CSetAnimationView, the panes of the animation
// edit window): size, scroll position, drawing and pointer moves go straight to the view. A
// document's window owns its view (Own), created with the window as its host and destroyed
// first, while the host is still whole; a tool window's pane is its dialog's and only shown here.
template <typename View>
class FrameViewWidget : public FrameListWidget {
public:
    View& view() { return *view_; }

protected:
    explicit FrameViewWidget(QWidget* parent, View* shown = nullptr)
        : FrameListWidget(parent), view_(shown) {}

    void Own(std::unique_ptr<View> view) {
        owned_ = std::move(view);
        view_ = owned_.get();
    }
    void DestroyView() {
        view_ = nullptr;
        owned_.reset();
    }

    void SetClientSize(int width, int height) override { view_->SetClientSize(width, height); }
    void SetScrollPosition(int y) override { view_->SetScrollPosition(y); }
    ScrollSize GetScrollSize() const override { return view_->GetScrollSize(); }
    std::vector<FramePicture> RenderVisibleFrames() const override {
        return view_->RenderVisibleFrames();
    }
    void PaintOverlays(WindowPainter& window) const override { view_->PaintOverlays(window); }
    void MouseMoved(int x, int y) override {
        DeferredWindowPainter window;
        view_->OnMouseMove(x, y, window);
    }

    View* view_;

private:
    std::unique_ptr<View> owned_;
};

} // namespace fenwold
