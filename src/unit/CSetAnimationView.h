#pragma once

#include "image/FrameSetLoader.h"
#include "image/Pixel.h"
#include "image/RegisteredAnimation.h"
#include "platform/CommandTable.h"
#include "platform/Document.h"
#include "platform/Platform.h"
#include "platform/WindowPainter.h"
#include "unit/AnimationDocument.h"
#include "unit/AnimationListEdit.h"
#include "unit/FrameGrid.h"
#include "unit/RegistrationGroup.h"
#include "unit/RegistrationHost.h"
#include "unit/ToolHandOver.h"
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

// What the building window gives a registration view in building mode: the building document,
// where compression results go and which every registration change marks modified, and how the
// building learns of the view's animations (null when the view goes away, so the building
// document must outlive the view).
struct BuildingRegistration {
    AnimationDocument& document;
    std::function<void(const RegisteredAnimations*)> setRegisteredAnimations;
};

// "Set animation": the registered, not yet compressed animations side by side. The artist
// registers picture series, reorders ("Change", "Hold") and deletes animations, and compresses
// them all into the unit ("VQ Compute"). In building mode the results go to the building.
// Every change to the registered animations (and their masks, order and temp buffers) marks the
// document modified; the unit also learns how many registered animations no file keeps yet.
// The window hands in its size, scroll position, mouse and commands, blits the pictures of
// RenderVisibleFrames and lets PaintOverlays draw outlines and labels over them.
class CSetAnimationView final : public ToolSource {
public:
    static constexpr int kContextMenu = 160;
    // The "C" and "H" labels of a pending change or hold.
    static constexpr WindowColour kPendingLabelText = 0xFFFF00;
    static constexpr WindowColour kPendingLabelBackground = 0x0000FF;
    static constexpr std::string_view kSaveFailed = "파일을 저장할수 없당.";
    static constexpr std::string_view kFileSpecialTitle = "Animation registration";
    static constexpr std::string_view kNothingRegistered =
        "Nothing is registered to compress: register animations (\"Add Animation\" or "
        "\"Registration Ani\") before \"VQ Compute\".";

    CSetAnimationView(Platform platform, RegistrationViewHost& host, ToolHandOvers& tools,
                      CUnitDoc& unit);
    CSetAnimationView(Platform platform, RegistrationViewHost& host, ToolHandOvers& tools,
                      BuildingRegistration building);
    // Closes the tool windows showing this view's animations; a building forgets the list.
    ~CSetAnimationView();
    CSetAnimationView(const CSetAnimationView&) = delete;
    CSetAnimationView& operator=(const CSetAnimationView&) = delete;

    void SetClientSize(int width, int height);
    void SetScrollPosition(int y) { grid_.SetScrollPosition(y); }
    ScrollSize GetScrollSize() const { return grid_.GetScrollSize(); }

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
    // What the file holds is kept by the file: the unit is not marked modified.
    bool OpenRunLengthFile(const std::filesystem::path& path);

    const RegisteredAnimations& Animations() const { return animations_; }
    const std::list<RegistrationGroup>& Groups() const { return groups_; }
    int RegisteredCount() const { return static_cast<int>(animations_.size()); }
    bool IsBuildingMode() const { return building_ != nullptr; }
    bool RunLengthFileLoaded() const { return runLengthFileLoaded_; }
    // "Start Ani Draw": always a position in the list (0 when it is empty).
    int FirstDrawn() const { return firstDrawn_; }
    // Null, or -1, while the pointer is over no frame.
    const RegisteredAnimation* HoveredAnimation() const { return Pointer(Hovered()); }
    int HoveredFrame() const { return grid_.HoveredIndex(); }
    // Where the view shows each frame.
    const FrameGrid& Grid() const { return grid_; }
    // Null while no change or hold is pending.
    const RegisteredAnimation* ChangeSource() const { return Pointer(change_); }
    const RegisteredAnimation* HoldSource() const { return Pointer(hold_); }

private:
    using Iterator = RegisteredAnimations::iterator;
    using ConstIterator = RegisteredAnimations::const_iterator;

    const RegisteredAnimation* Pointer(ConstIterator it) const {
        return it == animations_.end() ? nullptr : &*it;
    }
    // The animation under the pointer, or the end.
    Iterator Hovered();
    ConstIterator Hovered() const;
    bool IsHovered() const { return Hovered() != animations_.end(); }
    bool IsPending() const { return change_ != animations_.end() || hold_ != animations_.end(); }
    template <typename Draw>
    void ForEachVisibleFrame(Draw&& draw) const;
    void Relayout();
    void Refresh();
    Document& OwnDocument();
    // The registered animations changed: the document is marked modified and learns what no
    // file keeps.
    void RegistrationChanged();
    // Every registered animation is now kept by a file or by the compressed unit.
    void RegistrationKept();
    void TellUnkeptRegistrations();
    std::vector<const RegisteredAnimation*> Order() const;

    static CommandTable<CSetAnimationView> ContextMenuCommands();
    static CommandTable<CSetAnimationView> FileMenuCommands();
    const CommandRow<CSetAnimationView>* FindRow(int command) const;

    void RegisterImageSeries();
    // The status bar says what a registration added.
    void ReportRegistered(std::size_t animationsBefore, std::int32_t framesBefore);
    void ReportMasked(int animations);
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
    ToolHandOvers& tools_;
    CUnitDoc* unit_ = nullptr;
    std::unique_ptr<BuildingRegistration> building_;

    RegisteredAnimations animations_;
    std::list<RegistrationGroup> groups_;
    FrameSetLoader loader_{animations_, platform_};
    bool runLengthFileLoaded_ = false;
    bool registrationKept_ = true;
    Iterator change_ = animations_.end();
    Iterator hold_ = animations_.end();
    FrameGrid grid_;
    int firstDrawn_ = 0;
};

} // namespace fenwold
