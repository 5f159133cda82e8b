#pragma once

#include "app/FrameListWidget.h"
#include "app/ToolDialogWindow.h"
#include "unittools/CAnimationEditDlg.h"

class QLineEdit;

namespace fenwold {

// One of the edit window's value dialogs ("Set delay", "Set attrib", "Set alpha value"): a
// label, an edit box and OK and Cancel. OK with a text the model refuses says why and stays.
class SequenceValueWindow final : public QDialog {
public:
    SequenceValueWindow(QWidget* parent, SequenceValueDialog& model);
    void accept() override;
    QLineEdit* edit() const { return edit_; }

private:
    SequenceValueDialog& model_;
    QLineEdit* edit_;
};

// The top pane: the animation's frames; a click appends the hovered frame to the sequence.
class FramePaneWidget final : public FrameViewWidget<CAniEditView1> {
public:
    FramePaneWidget(QWidget* parent, CAnimationEditDlg& dialog);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    CAnimationEditDlg& dialog_;
};

// The bottom pane: the sequence, with its selection and its context menu.
class SequencePaneWidget final : public FrameViewWidget<CAniEditView2> {
public:
    SequencePaneWidget(QWidget* parent, CAniEditView2& pane);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void RunContextMenu(QPoint globalPosition) override;
};

// The window of the animation edit tool: its two panes, one above the other.
class AnimationEditWindow final : public ToolDialogWindow, public AnimationEditHost {
public:
    AnimationEditWindow(QWidget* parent, CAnimationEditDlg& dialog);
    ~AnimationEditWindow() override;

    FramePaneWidget* topPane() const { return top_; }
    SequencePaneWidget* bottomPane() const { return bottom_; }

    bool RunSetDelayDialog(CSetDelayDlg& dialog) override;
    bool RunSetAttribDialog(CSetAttribDlg& dialog) override;
    bool RunSetAlphaValueDialog(CSetAlphaValueDlg& dialog) override;
    void Repaint() override;
    void DestroyWindow() override { delete this; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CAnimationEditDlg& dialog_;
    FramePaneWidget* top_ = nullptr;
    SequencePaneWidget* bottom_ = nullptr;
};

} // namespace fenwold
