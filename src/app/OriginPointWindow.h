#pragma once

#include "app/ToolDialogWindow.h"
#include "unittools/CSetAnimationPointDlg.h"

#include <QTimer>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace fenwold {

class PreviewCanvasWidget;

// The window of the origin-point tool: the canvas, the back and main animation numbers on the
// right, and under the canvas the coordinates, the zoom, the point set and "Half". Its timer runs
// every 50 ms while there is something to draw.
class OriginPointWindow final : public ToolDialogWindow, public OriginPointHost {
public:
    static constexpr int kRightStrip = 60;
    static constexpr int kBottomStrip = 40;

    OriginPointWindow(QWidget* parent, CSetAnimationPointDlg& dialog);
    ~OriginPointWindow() override;

    PreviewCanvasWidget* canvas() const { return canvas_; }
    QComboBox* modeCombo() const { return mode_; }
    QSpinBox* zoomSpin() const { return zoom_; }
    QCheckBox* halfBox() const { return half_; }
    QLineEdit* mainNumber() const { return mainNumber_; }
    QLineEdit* backNumber() const { return backNumber_; }
    QString coordinatesText() const;
    const QTimer& timer() const { return timer_; }

    void ShowState() override;
    void RepaintCanvas() override;
    void DestroyWindow() override { delete this; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CSetAnimationPointDlg& dialog_;
    PreviewCanvasWidget* canvas_;
    QLineEdit* backNumber_;
    QLineEdit* mainNumber_;
    QLabel* coordinates_;
    QLabel* zoomText_;
    QSpinBox* zoom_;
    QComboBox* mode_;
    QCheckBox* half_;
    QTimer timer_;
};

} // namespace fenwold
