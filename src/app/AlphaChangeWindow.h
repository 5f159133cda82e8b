#pragma once

#include "app/CResizableDialog.h"
#include "unittools/CAlphaValueChangeDlg.h"

#include <QTimer>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace fenwold {

class PreviewCanvasWidget;

// "Alpha value change": the preview, and in an 80-pixel strip on the right the alpha value (spin
// and edit box), the scope, the zoom, OK and Cancel.
class AlphaChangeWindow final : public CResizableDialog {
public:
    static constexpr int kRightStrip = 80;

    AlphaChangeWindow(QWidget* parent, CAlphaValueChangeDlg& dialog);

    PreviewCanvasWidget* canvas() const { return canvas_; }
    QSpinBox* alphaSpin() const { return alphaSpin_; }
    QLineEdit* alphaEdit() const { return alphaEdit_; }
    QComboBox* scopeCombo() const { return scope_; }
    QSpinBox* zoomSpin() const { return zoom_; }

    // OK: the value and the scope are taken as they stand; a value outside 0 to 255 is refused
    // with a message and the dialog stays open.
    void accept() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CAlphaValueChangeDlg& dialog_;
    PreviewCanvasWidget* canvas_;
    QSpinBox* alphaSpin_;
    QLineEdit* alphaEdit_;
    QComboBox* scope_;
    QSpinBox* zoom_;
    QLabel* zoomText_;
    QTimer timer_;
};

} // namespace fenwold
