#pragma once

#include "app/ToolDialogWindow.h"
#include "unittools/CAnimationDlg.h"

#include <QTimer>

class QAbstractButton;
class QLabel;
class QSlider;
class QSpinBox;

namespace fenwold {

class PreviewCanvasWidget;

// The window of the animation tool: the canvas over Back, Play, Stop and Next, the slider over
// the entries, the zoom and the position text. Its timer steps the player only while it plays.
class AnimationWindow final : public ToolDialogWindow, public AnimationHost {
public:
    // The playback timer's period: half a step of the sequence, so a step is shown at most 8 ms
    // late.
    static constexpr int kTimerMilliseconds = CAnimationView::kStepMilliseconds / 2;

    AnimationWindow(QWidget* parent, CAnimationDlg& dialog);
    ~AnimationWindow() override;

    PreviewCanvasWidget* canvas() const { return canvas_; }
    QAbstractButton* button(int id) const;
    QSlider* slider() const { return slider_; }
    QSpinBox* zoomSpin() const { return zoom_; }
    QString positionText() const;
    QString zoomText() const;
    const QTimer& timer() const { return timer_; }

    void ShowState() override;
    void RepaintCanvas() override;
    void DestroyWindow() override { delete this; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CAnimationDlg& dialog_;
    PreviewCanvasWidget* canvas_;
    std::vector<std::pair<int, QAbstractButton*>> buttons_;
    QSlider* slider_;
    QSpinBox* zoom_;
    QLabel* zoomText_;
    QLabel* positionText_;
    QTimer timer_;
};

} // namespace fenwold
