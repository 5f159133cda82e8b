#pragma once

#include "unittools/CAniPointView.h"
#include "unittools/ToolDialog.h"

#include <memory>
#include <string>

namespace fenwold {

// The origin-point window around its view: its controls show the dialog's state again.
class OriginPointHost : public ToolWindowHost {
public:
    // The title, the texts, the mode combo, the zoom and the timer follow the dialog's state (set
    // from code, never taken as the user's change).
    virtual void ShowState() = 0;
    // The view's canvas is shown again.
    virtual void RepaintCanvas() = 0;

protected:
    ~OriginPointHost() = default;
};

// "Set animation point", tool 2 of the main frame: places an animation's ten points. The arrows
// move the point being edited (Ctrl: ten at a time), the digits and the right mouse button choose
// the point, R puts it back to 0, PageUp and PageDown step the main animation, Home and End the
// back one; the combo chooses the point set (CAniPointView). When it changes the animation it
// keeps the animation, check box and animation edit windows in step, through the hub, while
// they are open. The zoom and "Half" stay with the tool between showings.
class CSetAnimationPointDlg final : public ToolDialog, public KeyTarget {
public:
    static constexpr int kDialogId = 166;
    static constexpr const char* kCaption = "Set animation point";
    static constexpr int kMaximumZoom = 4;
    static constexpr const char* kModeTexts[] = {"Total", "Group", "Ani", "Reverse"};

    CSetAnimationPointDlg(ToolHub& hub, KeyRouter& keys)
        : ToolDialog(hub, ToolWindow::OriginPoint, keys, KeySlot::OriginPoint) {}
    ~CSetAnimationPointDlg() override;

    // The window exists: its view is created, zoom 1, "Total", keys routed here.
    void OnCreate(OriginPointHost& host);
    // Null while the window does not exist.
    CAniPointView* View() { return view_.get(); }

    const std::string& Title() const { return title_; }
    int Zoom() const { return zoom_; }
    std::string ZoomText() const { return "x" + std::to_string(zoom_); }
    // "x,y" of the point being edited; "0,0" with nothing to edit.
    std::string CoordinatesText() const;
    // The save indices of the main and back animations.
    std::string MainNumberText() const { return std::to_string(mainNumber_); }
    std::string BackNumberText() const { return std::to_string(backNumber_); }
    int ModeIndex() const;
    bool Half() const { return half_; }
    // The group of the main animation as last reported: its number (-1 for none) and size.
    int GroupIndex() const { return groupIndex_; }
    int MemberCount() const { return memberCount_; }
    // Whether the window's timer should call Tick.
    bool WantsTicks() const { return view_ != nullptr && view_->HasSomethingToDraw(); }

    void OnKeyDown(const KeyStroke& stroke) override;
    void OnKeyUp(const KeyStroke& stroke) override;
    // The window lost the keyboard: a key released elsewhere must not keep moving the point.
    void OnFocusLost();
    void OnRightButton();
    // A number typed into the main (1153) or back (1152) number box.
    void OnMainNumber(long long number);
    void OnBackNumber(long long number);
    void OnZoomSpin(int zoom);
    void OnModeSelected(int index);
    void OnHalf(bool half);
    // Timer 0 of the view, every 50 ms.
    void Tick();

    void TakeAnimation(const AnimationHandOver& handOver) override;
    void TakeBackAnimation(const AnimationHandOver& handOver) override;
    void TakeBuilding(const BuildingHandOver& handOver) override;
    void Forget(Feed feed) override;
    void GroupsReplaced(Feed feed) override;
    void ForgetBuildingRecord() override;
    void Redraw() override;

private:
    void ReleaseWindowState() override;
    void Changed();
    void SetTitle();
    void ReportGroup();
    void TellPointIndex();
    void SetPoint(int point);
    // The main animation changed here: the other windows take it, as if it had been clicked.
    void KeepOthersInStep();
    void StepMain(int by);
    void StepBack(int by);
    // The animation `number - save index` places from `from`, or nothing.
    static AnimationRef Walk(const AnimationRef& from, long long number);

    OriginPointHost* host_ = nullptr;
    std::unique_ptr<CAniPointView> view_;
    std::string title_ = kCaption;
    int zoom_ = 1;
    bool half_ = false;
    std::int32_t mainNumber_ = 0;
    std::int32_t backNumber_ = 0;
    int groupIndex_ = -1;
    int memberCount_ = 0;
    // Where the main and back animations came from: passed on with them.
    AnimationHandOver mainHandOver_;
    AnimationHandOver backHandOver_;
};

} // namespace fenwold
