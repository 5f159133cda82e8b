#pragma once

#include "unittools/CCheckBoxView.h"
#include "unittools/ToolDialog.h"

#include <memory>
#include <string>

namespace fenwold {

// The check box window around its view: its controls show the dialog's state again.
class CheckBoxHost : public ToolWindowHost {
public:
    // The title, the texts and the spins show the dialog's state (set from code, never taken
    // as the user's change).
    virtual void ShowState() = 0;
    // The view's canvas is shown again.
    virtual void RepaintCanvas() = 0;

protected:
    ~CheckBoxHost() = default;
};

// "Check Box", tool 1 of the main frame: places an animation's check box. The arrows move the
// box a pixel, the spins set its size in 16-pixel cells, Enter stores it into the animation, Esc
// returns to the stored box, PageUp and PageDown step to the previous or next animation. The box
// the user works on and the box last committed stay with the tool between showings.
class CCheckBoxDlg final : public ToolDialog, public KeyTarget {
public:
    static constexpr int kDialogId = 180;
    static constexpr const char* kCaption = "Check Box";
    static constexpr const char* kChangedCaption = "Check Box *";
    static constexpr int kMinimumCells = 1;
    static constexpr int kMaximumCells = 99;
    static constexpr int kMaximumScale = 4;

    // In pixels from the picture's top-left corner, and in cells.
    struct Box {
        int x = 0;
        int y = 0;
        int width = 1;
        int height = 1;
        friend bool operator==(const Box&, const Box&) = default;
    };

    CCheckBoxDlg(ToolHub& hub, KeyRouter& keys)
        : ToolDialog(hub, ToolWindow::CheckBox, keys, KeySlot::CheckBox) {}
    ~CCheckBoxDlg() override;

    // The window exists: its view is created, the scale is 1, and its keys are routed here.
    void OnCreate(CheckBoxHost& host);
    // Null while the window does not exist.
    CCheckBoxView* View() { return view_.get(); }

    const std::string& Title() const { return title_; }
    const Box& Current() const { return current_; }
    const Box& Committed() const { return committed_; }
    int Scale() const { return scale_; }
    // The texts as the window shows them: "%d" for the box, "x%d" for the scale.
    static std::string NumberText(int value) { return std::to_string(value); }
    std::string ScaleText() const { return "x" + std::to_string(scale_); }
    // Whether the window's timer should call Tick: while there is an animation to play.
    bool WantsTicks() const { return view_ != nullptr && view_->Held().Get() != nullptr; }

    void OnKeyDown(const KeyStroke& stroke) override;
    // The user moved a spin.
    void OnWidthSpin(int width);
    void OnHeightSpin(int height);
    void OnScaleSpin(int scale);
    // Timer 0 of the view, every 2 ms: the next frame.
    void Tick();

    void TakeAnimation(const AnimationHandOver& handOver) override;
    void Forget(Feed feed) override;
    void Redraw() override;

private:
    void ReleaseWindowState() override;
    void Changed();
    void ShowBox();
    void Step(int by);

    CheckBoxHost* host_ = nullptr;
    std::unique_ptr<CCheckBoxView> view_;
    std::string title_ = kCaption;
    int scale_ = 1;
    Box committed_;
    Box current_;
};

} // namespace fenwold
