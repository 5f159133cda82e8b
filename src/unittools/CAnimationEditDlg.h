#pragma once

#include "platform/Rect.h"
#include "unittools/AnimationEditHost.h"
#include "unittools/CAniEditView1.h"
#include "unittools/CAniEditView2.h"

#include <memory>

namespace fenwold {

// "Animation Edit", tool 3 of the main frame: the frames of the animation handed over in the top
// pane, its play sequence in the bottom pane. A click on a frame appends it to the sequence; the
// bottom pane's menu sets delays, attributes, alpha values and the loop start, and deletes
// entries. The panes exist while the window does.
class CAnimationEditDlg final : public ToolDialog {
public:
    static constexpr int kDialogId = 196;
    static constexpr const char* kCaption = "Animation Edit";

    CAnimationEditDlg(ToolHub& hub, KeyRouter& keys)
        : ToolDialog(hub, ToolWindow::AnimationEdit, keys, std::nullopt) {}
    ~CAnimationEditDlg() override;

    // The window exists: the panes are created empty.
    void OnCreate(AnimationEditHost& host);

    // Null while the window does not exist.
    CAniEditView1* TopPane() { return top_.get(); }
    CAniEditView2* BottomPane() { return bottom_.get(); }

    // Where the panes lie in a client area of this size: the top one above the middle line, the
    // bottom one below it, one pixel left free either side.
    struct PaneRects {
        Rect top;
        Rect bottom;
    };
    static PaneRects LayOutPanes(int width, int height);

    // A click in the top pane: the hovered frame is appended to the sequence.
    void OnTopPaneClick();

    // The animation the panes show, for the windows that keep this one in step.
    const AnimationRef& Held() const { return held_; }

    void TakeAnimation(const AnimationHandOver& handOver) override;
    void Forget(Feed feed) override;
    void Redraw() override;

private:
    void ReleaseWindowState() override;
    void Show(const AnimationRef& animation);

    AnimationEditHost* host_ = nullptr;
    AnimationRef held_;
    std::unique_ptr<CAniEditView1> top_;
    std::unique_ptr<CAniEditView2> bottom_;
};

} // namespace fenwold
