#pragma once

#include "unit/ToolHandOver.h"
#include "unittools/PreviewCanvas.h"

#include <cstdint>
#include <optional>

namespace fenwold {

class CFenwoldDoc;
struct BuildingRecord;

// The origin-point window's canvas and the points it edits. The picture is drawn so that the
// point being edited lies under the crosshair at the canvas centre; moving the point moves the
// picture. Which point set is edited is the mode:
// - Total: the unit's common points (32-bit);
// - Group: the points of the main animation's group (32-bit);
// - Ani: the main animation's own points (16-bit, wrapping);
// - Reverse: point 0 of every member of the main animation's group, pushed along a direction of
//   its own (a spoke of a wheel, one spoke a member) and drawn all together.
// In building mode it edits the building's points instead. Animations are held by position and
// groups looked up again at every use.
class CAniPointView {
public:
    enum class Mode { Total = 0, Group = 1, Ani = 2, Reverse = 3 };
    static constexpr int kTimerMilliseconds = 50;
    static constexpr Pixel555 kCrosshairColour = 0x03FF;
    static constexpr int kFullSpan = 360;
    static constexpr int kHalfSpan = 180;

    // A stored point, as the coordinates text shows it.
    struct Point {
        std::int32_t x = 0;
        std::int32_t y = 0;
        friend bool operator==(const Point&, const Point&) = default;
    };

    // A new main animation with its first frame; building mode ends. Group and Reverse fall back
    // to Total when the animation has no group; Reverse starts again on a new group.
    void SetMainAnimation(const AnimationRef& animation);
    void SetBackAnimation(const AnimationRef& animation) { back_ = animation; }
    const AnimationRef& Main() const { return main_; }
    const AnimationRef& Back() const { return back_; }
    // Building mode on: the building's points are edited; the animations are let go.
    void SetBuilding(CFenwoldDoc& building);
    bool BuildingMode() const { return buildingMode_; }
    void ForgetMain() { main_ = {}; }
    void ForgetBack() { back_ = {}; }
    // The building's record went: nothing but the crosshair until the next building hand-over.
    void ForgetBuildingRecord() { building_ = nullptr; }
    // The document's groups were replaced: Reverse is left (Group too when the animation's
    // group is gone).
    void GroupsReplaced();

    // The group the main animation belongs to; null when it has none (or the group is missing).
    UnitGroup* MainGroup() const { return main_.Group(); }
    bool HasGroup() const { return MainGroup() != nullptr; }

    Mode GetMode() const { return mode_; }
    // The mode the combo chose; Group and Reverse without a group give Total. Entering Reverse
    // folds the group's point into each member's own and starts each member's working point at
    // its point 0, so doing it again changes nothing.
    void SetMode(Mode mode);
    int PointIndex() const { return point_; }
    void SetPointIndex(int point) { point_ = point; }
    void SetHalf(bool half) { span_ = half ? kHalfSpan : kFullSpan; }
    int AngleSpan() const { return span_; }

    // The held keys, applied at every tick; let go when the window loses the keyboard.
    enum class HeldKey { Left, Right, Up, Down, Control };
    void SetHeld(HeldKey key, bool held) { held_[static_cast<std::size_t>(key)] = held; }
    bool Held(HeldKey key) const { return held_[static_cast<std::size_t>(key)]; }
    void ReleaseHeldKeys() { held_ = {}; }

    // Moves the edited point by (dx, dy) (Reverse: the radial move). Returns whether a stored
    // point changed; the document is then marked modified.
    bool Move(int dx, int dy);
    // The edited point becomes (0, 0); Reverse changes nothing. Returns whether it changed.
    bool ResetPoint();
    // The edited point of the current set: the first member's point in Reverse; none when there
    // is nothing to edit.
    std::optional<Point> CurrentPoint() const;

    // Timer 0, every 50 ms: clears the canvas, applies the held arrows, and draws the picture
    // under the crosshair; in Total, Group and Ani the main animation then shows its next frame.
    // Returns whether the held arrows changed a stored point.
    bool Tick();
    const PreviewCanvas& Canvas() const { return canvas_; }
    int CurrentFrame() const { return frame_; }
    // Whether a tick draws anything: an animation or building mode.
    bool HasSomethingToDraw() const { return buildingMode_ || main_.Get() != nullptr; }

private:
    void EnterReverse();
    void RadialMove(UnitGroup& group, int dx, int dy);
    // Group and Reverse need a group: without one, Total.
    void FallBackWithoutGroup();
    void DrawMain();
    void DrawGroupMembers(const UnitGroup& group);
    void DrawBuilding(const BuildingRecord& record);
    void MarkModified();

    PreviewCanvas canvas_;
    std::array<bool, 5> held_{};
    int point_ = 0;
    AnimationRef main_;
    int frame_ = 0;
    AnimationRef back_;
    CFenwoldDoc* building_ = nullptr;
    bool buildingMode_ = false;
    Mode mode_ = Mode::Total;
    // The group Reverse was entered on, by number.
    int reverseGroup_ = -1;
    int span_ = kFullSpan;
};

} // namespace fenwold
