#pragma once

#include "app/QtWindowPainter.h"
#include "unit/FrameGrid.h"

#include <QAbstractScrollArea>
#include <memory>
#include <optional>
#include <vector>

namespace fenwold {

class WindowPainter;

// The scrolling window of a view that shows frames side by side: it hands the view its size and
// scroll position, blits the view's pictures as they are and lets the view draw its outlines and
// labels over them. Its context menu opens under the pointer, or from the keyboard (the Menu key,
// Shift+F10) at the hovered frame or the window's corner.
class FrameListWidget : public QAbstractScrollArea {
public:
    explicit FrameListWidget(QWidget* parent);

    // The view's contents changed: new scroll range and a repaint.
    void Refresh();
    // Where a context menu opened from the keyboard appears, in the viewport's coordinates.
    QPoint KeyboardMenuPoint() const;

protected:
    virtual void SetClientSize(int width, int height) = 0;
    virtual void SetScrollPosition(int y) = 0;
    virtual ScrollSize GetScrollSize() const = 0;
    virtual std::vector<FramePicture> RenderVisibleFrames() const = 0;
    virtual void PaintOverlays(WindowPainter& window) const = 0;
    virtual void MouseMoved(int x, int y) = 0;
    // The top left corner of the hovered frame in the window, if a frame is hovered.
    virtual std::optional<QPoint> HoveredFrameCorner() const = 0;
    // Shows the view's context menu at a screen position and runs the command chosen; a view
    // without a context menu ignores it.
    virtual void RunContextMenu(QPoint /*globalPosition*/) {}

    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
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
    std::optional<QPoint> HoveredFrameCorner() const override {
        const FrameGrid& grid = view_->Grid();
        if (const GridCell* cell = grid.CellOf(grid.HoveredItem(), grid.HoveredIndex())) {
            return QPoint(cell->x, grid.WindowY(*cell));
        }
        return std::nullopt;
    }

    View* view_;

private:
    std::unique_ptr<View> owned_;
};

} // namespace fenwold
