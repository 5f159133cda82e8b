#pragma once

#include "app/ToolDialogWindow.h"
#include "unittools/CCheckBoxDlg.h"

#include <QTimer>

class QLabel;
class QSpinBox;

namespace fenwold {

class PreviewCanvasWidget;

// The window of the check box tool: the canvas over the box's texts and spins. Its timer runs
// every 2 ms while the tool holds an animation to play.
class CheckBoxWindow final : public ToolDialogWindow, public CheckBoxHost {
public:
    CheckBoxWindow(QWidget* parent, CCheckBoxDlg& dialog);
    ~CheckBoxWindow() override;

    PreviewCanvasWidget* canvas() const { return canvas_; }
    QSpinBox* widthSpin() const { return width_; }
    QSpinBox* heightSpin() const { return height_; }
    QSpinBox* scaleSpin() const { return scale_; }
    const QTimer& timer() const { return timer_; }
    // The texts: x, y, width, height, scale.
    QString text(int which) const;

    void ShowState() override;
    void RepaintCanvas() override;
    void DestroyWindow() override { delete this; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CCheckBoxDlg& dialog_;
    PreviewCanvasWidget* canvas_;
    QLabel* xText_;
    QLabel* yText_;
    QLabel* widthText_;
    QLabel* heightText_;
    QLabel* scaleText_;
    QSpinBox* width_;
    QSpinBox* height_;
    QSpinBox* scale_;
    QTimer timer_;
};

} // namespace fenwold
