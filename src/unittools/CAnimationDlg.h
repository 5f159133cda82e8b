#pragma once

#include "platform/CommandTable.h"
#include "platform/Platform.h"
#include "unittools/CAnimationView.h"
#include "unittools/ToolDialog.h"

#include <memory>
#include <string>

namespace fenwold {

// The animation window around its view: its controls show the dialog's state again.
class AnimationHost : public ToolWindowHost {
public:
    // The slider, the texts, the zoom and the playback timer follow the dialog's state (set from
    // code, never taken as the user's change); the timer runs only while the dialog wants ticks.
    virtual void ShowState() = 0;
    // The view's canvas is shown again.
    virtual void RepaintCanvas() = 0;

protected:
    ~AnimationHost() = default;
};

// "Animation", tool 0 of the main frame: plays an animation's sequence as the game will, with
// Back, Play, Stop and Next, a slider over the entries, a zoom, and a menu for the back
// animation, a grid, a crosshair and a background picture. The unit view's click hands it the
// main animation (Ctrl: the back one), the registration view's click a registered animation, a
// building's view the building for composite mode. The flags stay with the tool between
// showings.
class CAnimationDlg final : public ToolDialog, public KeyTarget, private PlayPositionListener {
public:
    static constexpr int kDialogId = 146;
    static constexpr const char* kCaption = "Animation";
    static constexpr int kContextMenu = 221;
    // The buttons, and the slider's and the zoom spin's ids.
    static constexpr int kBackButton = 1010;
    static constexpr int kPlayButton = 1011;
    static constexpr int kStopButton = 1012;
    static constexpr int kNextButton = 1066;
    static constexpr int kMaximumZoom = 4;
    static constexpr const char* kBackgroundFilter = "그림 화일 (*.tga)|*.tga||";

    // The second instance is the one the team colour dialog opens: it takes keys in its own slot
    // and is handed its animation by that dialog, not by the hub.
    CAnimationDlg(ToolHub& hub, KeyRouter& keys, Platform platform, bool secondInstance = false);
    ~CAnimationDlg() override;

    // The window exists: zoom 1, its view created with the dialog's flags, its keys routed here.
    void OnCreate(AnimationHost& host);
    // Null while the window does not exist.
    CAnimationView* View() { return view_.get(); }

    int Zoom() const { return zoom_; }
    std::string ZoomText() const { return "x" + std::to_string(zoom_); }
    const std::string& PositionText() const { return positionText_; }
    int SliderMaximum() const { return sliderMaximum_; }
    int SliderPosition() const { return sliderPosition_; }
    bool BackAnimationShown() const { return backShown_; }
    bool GridShown() const { return gridShown_; }
    bool CrosshairShown() const { return crosshairShown_; }
    // Whether the window's timer should call Tick: while the player plays something.
    bool WantsTicks() const;

    // The buttons and menu 221.
    void OnCommand(int command);
    std::vector<MenuItem> ContextMenu() const;
    // The user moved the slider or the zoom spin.
    void OnSlider(int position);
    void OnZoomSpin(int zoom);
    void OnKeyDown(const KeyStroke& stroke) override;
    // Playback: called by the window's timer while the player plays.
    void Tick();

    void TakeAnimation(const AnimationHandOver& handOver) override;
    void TakeBackAnimation(const AnimationHandOver& handOver) override;
    void TakeRegistered(const RegisteredHandOver& handOver) override;
    void TakeBuilding(const BuildingHandOver& handOver) override;
    void TakePointIndex(int point) override;
    void Forget(Feed feed) override;
    void ForgetBuildingRecord() override;
    void GroupsReplaced(Feed feed) override;
    void Redraw() override;

private:
    void ReleaseWindowState() override;
    void PositionChanged(int position, int length) override;
    void RangeChanged(int position, int length) override;
    void SetRange(int length);
    void Show();
    void LoadBackground();
    static CommandTable<CAnimationDlg> Commands();

    Platform platform_;
    AnimationHost* host_ = nullptr;
    std::unique_ptr<CAnimationView> view_;
    int zoom_ = 1;
    bool backShown_ = false;
    bool gridShown_ = false;
    bool crosshairShown_ = false;
    int sliderMaximum_ = 0;
    int sliderPosition_ = 0;
    std::string positionText_ = "0/0 frame";
};

} // namespace fenwold
