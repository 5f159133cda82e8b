#pragma once

#include "image/FrameSetLoader.h"
#include "image/Pixel.h"
#include "image/RegisteredAnimation.h"
#include "platform/CommandTable.h"
#include "platform/Platform.h"
#include "platform/WindowPainter.h"
#include "unit/AnimationListEdit.h"
#include "unit/RegistrationGroup.h"
#include "unit/RegistrationHost.h"
#include "unit/RegistrationLayout.h"
#include "vq/CompressionResult.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fenwold {

class CUnitDoc;

// One frame as the window shows it: its picture and where its top-left lies in the window.
struct FramePicture {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<Pixel555> pixels; // top row first
};

// What the building window gives a registration view in building mode: where compression results
// go, and how the building learns of the view's animations (null when the view goes away, so the
// building document must outlive the view).
struct BuildingRegistration {
    CompressionResultSink& document;
    std::function<void(const RegisteredAnimations*)> setRegisteredAnimations;
};

// "Set animation": the registered, not yet compressed animations side by side. The artist
// registers picture series, reorders ("Change", "Hold") and deletes animations, and compresses
// them all into the unit ("VQ Compute"). In building mode the results go to the building.
// The window hands in its size, scroll position, mouse and commands, blits the pictures of
// RenderVisibleFrames and lets PaintOverlays draw outlines and labels over them.
class CSetAnimationView {
public:
    static constexpr int kContextMenu = 160;
    // Outline colours: every frame, the frame under the pointer, the other frames of its
    // animation.
    static constexpr WindowColour kNormalOutline = 0x000080;
    static constexpr WindowColour kHoveredFrameOutline = 0x00FF00;
    static constexpr WindowColour kHoveredAnimationOutline = 0x0000FF;
    static constexpr WindowColour kPendingLabelText = 0xFFFF00;
    static constexpr WindowColour kPendingLabelBackground = 0x0000FF;
    static constexpr WindowColour kPositionLabelText = 0xFFFFFF;
    static constexpr WindowColour kGroupLabelText = 0x0000FF;
    static constexpr WindowColour kLabelBackground = 0x000000;
    static constexpr int kGroupLabelOffset = 10;
    static constexpr std::string_view kSaveFailed = "파일을 저장할수 없당.";
    static constexpr std::string_view kPictureFilter =
        "Image Files(*.TGA)|*.TGA|모든화일(*.*)|*.*||";
    static constexpr std::string_view kFileSpecialTitle = "Animation registration";

    CSetAnimationView(Platform platform, RegistrationViewHost& host, AnimationPlayerHost& player,
                      CUnitDoc& unit);
    CSetAnimationView(Platform platform, RegistrationViewHost& host, AnimationPlayerHost& player,
                      BuildingRegistration building);
    // Closes the tool windows showing this view's animations; a building forgets the list.
    ~CSetAnimationView();
    CSetAnimationView(const CSetAnimationView&) = delete;
    CSetAnimationView& operator=(const CSetAnimationView&) = delete;

    void SetClientSize(int width, int height);
    void SetScrollPosition(int y) { scrollY_ = y; }
    ScrollSize GetScrollSize() const { return scrollSize_; }

    // Every frame that crosses the window: its pixels blended over black by its alpha, then its
    // mask painted green.
    std::vector<FramePicture> RenderVisibleFrames() const;
    // Over the pictures: each visible frame's outline in the colour of its state, then its label
    // ("C", "H" or the animation's position) and the animation's group number.
    void PaintOverlays(WindowPainter& window) const;

    // The pointer moved: the frame under it becomes the hovered one and the outlines that change
    // are drawn again.
    void OnMouseMove(int x, int y, WindowPainter& window);
    // The left button: a preview in the player, or the completion of a pending change or hold.
    void OnLeftButtonDown();

    // Context menu 160, in its order, with each item's text and state.
    std::vector<MenuItem> ContextMenu() const;
    // Commands of the context menu and the File menu's "Save &URE".
    bool IsEnabled(int command) const;
    std::string MenuText(int command) const;
    // Runs a command; a command that is not enabled does nothing.
    void OnCommand(int command);

    // Appends the animations of a run-length unit file; "VQ Compute" is off from then on. A file
    // that cannot be read is refused with a message naming it and the list stays as it was.
    bool OpenRunLengthFile(const std::filesystem::path& path);

    const RegisteredAnimations& Animations() const { return animations_; }
    const std::list<RegistrationGroup>& Groups() const { return groups_; }
    int RegisteredCount() const { return static_cast<int>(animations_.size()); }
    bool IsBuildingMode() const { return building_ != nullptr; }
    bool RunLengthFileLoaded() const { return runLengthFileLoaded_; }
    int FirstDrawn() const { return firstDrawn_; }
    // Null, or -1, while the pointer is over no frame.
    const RegisteredAnimation* HoveredAnimation() const { return Pointer(hovered_); }
    int HoveredFrame() const { return hoveredFrame_; }
    // Null while no change or hold is pending.
    const RegisteredAnimation* ChangeSource() const { return Pointer(change_); }
    const RegisteredAnimation* HoldSource() const { return Pointer(hold_); }

private:
    using Iterator = RegisteredAnimations::iterator;
    using ConstIterator = RegisteredAnimations::const_iterator;

    const RegisteredAnimation* Pointer(ConstIterator it) const {
        return it == animations_.end() ? nullptr : &*it;
    }
    bool IsHovered() const { return hovered_ != animations_.end(); }
    bool IsPending() const { return change_ != animations_.end() || hold_ != animations_.end(); }
    bool IsVisible(const RegisteredFrame& frame, int height) const;
    void Relayout();
    void Refresh();
    // Outlines of the frames of one drawn animation.
    void DrawOutlines(WindowPainter& window, ConstIterator animation, WindowColour colour) const;
    void DrawOutline(WindowPainter& window, const RegisteredAnimation& animation,
                     const RegisteredFrame& frame, WindowColour colour) const;
    WindowColour OutlineColour(ConstIterator animation, int frame) const;

    static CommandTable<CSetAnimationView> ContextMenuCommands();
    static CommandTable<CSetAnimationView> FileMenuCommands();
    const CommandRow<CSetAnimationView>* FindRow(int command) const;

    void RegisterImageSeries();
    void RegisterMaskSeries();
    void AddAnimation();
    void AddMask();
    // A building plays the view's animations while it has no compressed ones.
    void ShowListToBuilding();
    void ToggleChange();
    void ToggleHold();
    void DeleteHoveredAnimation();
    void ComputeVq();
    void SetTempBuffer();
    void ShowProperties();
    void SaveRunLengthFile();

    Platform platform_;
    RegistrationViewHost& host_;
    AnimationPlayerHost& player_;
    CUnitDoc* unit_ = nullptr;
    std::unique_ptr<BuildingRegistration> building_;

    RegisteredAnimations animations_;
    std::list<RegistrationGroup> groups_;
    FrameSetLoader loader_{animations_, platform_};
    bool runLengthFileLoaded_ = false;
    Iterator change_ = animations_.end();
    Iterator hold_ = animations_.end();
    Iterator hovered_ = animations_.end();
    int hoveredFrame_ = -1;
    int firstDrawn_ = 0;

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int scrollY_ = 0;
    ScrollSize scrollSize_;
};

} // namespace fenwold
