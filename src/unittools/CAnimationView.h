#pragma once

#include "platform/Services.h"
#include "unit/PlayTimeline.h"
#include "unit/ToolHandOver.h"
#include "unittools/BackgroundPicture.h"
#include "unittools/PreviewCanvas.h"

#include <array>
#include <cstdint>
#include <optional>

namespace fenwold {

class CFenwoldDoc;

// Where the animation window hears which entry is shown.
class PlayPositionListener {
public:
    // The main side shows entry `position` of `length` (position -1 for an empty sequence).
    virtual void PositionChanged(int position, int length) = 0;
    // The same, and the slider's range is the sequence's length.
    virtual void RangeChanged(int position, int length) = 0;

protected:
    ~PlayPositionListener() = default;
};

// The animation window's canvas: plays the main animation's sequence as the game does (each
// entry for its delay in steps of 16 ms, then on from the loop start), a back animation behind
// it, or in composite mode every animation of a building on its picture. The main animation is
// a compressed animation of a document or a registered one of a registration view; every one is
// held by position and looked up again at every use.
class CAnimationView {
public:
    static constexpr int kStepMilliseconds = kPlayerStepMilliseconds;
    static constexpr Pixel555 kInitialFill = 0x3903;
    static constexpr Pixel555 kGridColour = 0x001F;
    static constexpr Pixel555 kCrosshairColour = 0x7FE0;
    static constexpr int kGridSpacing = 10;
    // A building holds up to 200 animations; each plays with its own counter and position.
    static constexpr int kMaxPlayed = 200;

    CAnimationView(Clock& clock, PlayPositionListener& listener);

    // Hand-overs. Each resets every position and counter and leaves playing as it was. A main
    // animation of one kind replaces the other kind and ends composite mode.
    void SetMainAnimation(const AnimationRef& animation);
    void SetMainRegistered(const RegisteredHandOver& registered);
    void SetBackAnimation(const AnimationRef& animation, bool toolData);
    // Composite mode: every animation of the building plays at its position on its picture.
    void SetCompositeBuilding(CFenwoldDoc& building);
    void ForgetMain();
    void ForgetBack();
    // The building record went: composite mode ends until the next hand-over.
    void ForgetBuildingRecord();
    void SetPointIndex(int point);
    int PointIndex() const { return pointIndex_; }
    void SetBackAnimationShown(bool shown) { backShown_ = shown; }
    void SetGridShown(bool shown) { gridShown_ = shown; }
    void SetCrosshairShown(bool shown) { crosshairShown_ = shown; }
    void SetBackground(std::optional<BackgroundPicture> picture) {
        background_ = std::move(picture);
    }
    bool HasBackground() const { return background_.has_value(); }
    // Team pixels are drawn from `table` in place of the document's table 0 (null: the
    // document's again). The table must outlive its use here.
    void SetTeamTable(const TeamColourTable* table) { teamTable_ = table; }
    const TeamColourTable* TeamTable() const { return teamTable_; }

    // Whether a main animation (or record, or a building's animations) with frames is set.
    bool HasMain() const;
    bool HasBack() const { return back_.Get() != nullptr; }
    bool IsComposite() const { return composite_ != nullptr; }
    bool IsPlaying() const { return playing_; }
    const AnimationRef& MainAnimation() const { return mainUnit_; }
    const RegisteredHandOver& MainRegistered() const { return mainRegistered_; }
    const AnimationRef& BackAnimation() const { return back_; }
    // The main side's sequence length (0 without one; the first animation's in composite mode)
    // and the back side's.
    int MainLength() const;
    int BackLength() const;
    int MainPosition() const { return positions_[0]; }
    int BackPosition() const { return backPosition_; }
    // The entry shown for the k-th animation in composite mode (k = 0 is the main position).
    int PositionOf(int k) const { return positions_[static_cast<std::size_t>(k)]; }

    // "Play" from entry 0, "Stop" back at entry 0: only with a main side.
    void Play();
    void Stop();
    // One entry back or on, each side kept inside its sequence; not in composite mode.
    void StepBack();
    void StepNext();
    // The slider: both sides go to the position, each kept inside its own sequence.
    void MoveTo(int position);
    // PageUp / PageDown: the previous or next animation of the document becomes the main one.
    // Returns whether it did.
    bool StepAnimation(int by);

    // Steps the sequences by the time passed since the last tick (at most one pass of the
    // longest sequence, so a clock that jumps does not stall the program); returns whether an
    // entry shown changed, and then the canvas is drawn again.
    bool Tick();
    // Draws the canvas as it stands.
    void Draw();
    const PreviewCanvas& Canvas() const { return canvas_; }

private:
    enum class MainKind { None, Unit, Registered };
    void ResetPositions();
    std::uint64_t StepsForOnePass() const;
    void StepOnce();
    template <typename Visit>
    void ForEachComposite(Visit&& visit) const;
    void DrawComposite();
    void DrawBack();
    void DrawMain();

    Clock& clock_;
    PlayPositionListener& listener_;
    MainKind mainKind_ = MainKind::None;
    AnimationRef mainUnit_;
    RegisteredHandOver mainRegistered_;
    CFenwoldDoc* composite_ = nullptr;
    AnimationRef back_;
    bool backToolData_ = false;
    std::array<int, kMaxPlayed> counters_{};
    std::array<int, kMaxPlayed> positions_{};
    int backCounter_ = 0;
    int backPosition_ = 0;
    bool playing_ = false;
    std::uint32_t lastTick_;
    std::uint32_t carried_ = 0;
    int pointIndex_ = 0;
    bool backShown_ = false;
    bool gridShown_ = false;
    bool crosshairShown_ = false;
    std::optional<BackgroundPicture> background_;
    const TeamColourTable* teamTable_ = nullptr;
    PreviewCanvas canvas_{kInitialFill};
};

} // namespace fenwold
