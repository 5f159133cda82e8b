#include "unittools/CAnimationView.h"

#include "building/CFenwoldDoc.h"
#include "image/PreviewDrawing.h"

#include <algorithm>

namespace fenwold {
namespace {

// The play sequence of a compressed or a registered animation: both keep it in the same fields,
// the loop start in temp buffer value 0.
template <typename Sequence>
int LengthOf(const Sequence& sequence) {
    return std::clamp(sequence.sequenceLength, 0, kMaxSequenceLength);
}

// Where the sequence goes on after its last entry: the loop start, or entry 0 for a loop start
// outside the sequence (none is -1).
template <typename Sequence>
int LoopTarget(const Sequence& sequence) {
    const int loop = sequence.tempBuffer[0];
    return loop >= 0 && loop < LengthOf(sequence) ? loop : 0;
}

// The entry shown at `position`; a position the sequence no longer holds goes to the loop.
template <typename Sequence>
int ShownEntry(const Sequence& sequence, int position) {
    return position >= 0 && position < LengthOf(sequence) ? position : LoopTarget(sequence);
}

// One step of 16 ms: an entry with delay d is shown for d steps (one when d is 0 or, read as a
// signed 16-bit number, negative).
template <typename Sequence>
void Advance(const Sequence& sequence, int& counter, int& position) {
    if (LengthOf(sequence) == 0) {
        return;
    }
    position = ShownEntry(sequence, position);
    if (++counter >=
        static_cast<std::int16_t>(sequence.delay[static_cast<std::size_t>(position)])) {
        if (++position >= LengthOf(sequence)) {
            position = LoopTarget(sequence);
        }
        counter = 0;
    }
}

// The steps one pass of the whole sequence takes.
template <typename Sequence>
std::uint64_t PassSteps(const Sequence& sequence) {
    std::uint64_t steps = 0;
    for (int entry = 0; entry < LengthOf(sequence); ++entry) {
        steps += static_cast<std::uint64_t>(
            EntryMilliseconds(sequence.delay[static_cast<std::size_t>(entry)]) /
            kPlayerStepMilliseconds);
    }
    return steps;
}

template <typename Sequence>
int Clamped(const Sequence& sequence, int position) {
    return std::clamp(position, 0, std::max(LengthOf(sequence) - 1, 0));
}

} // namespace

CAnimationView::CAnimationView(Clock& clock, PlayPositionListener& listener)
    : clock_(clock), listener_(listener), lastTick_(clock.Milliseconds()) {}

void CAnimationView::ResetPositions() {
    counters_.fill(0);
    positions_.fill(0);
    backCounter_ = 0;
    backPosition_ = 0;
}

void CAnimationView::SetMainAnimation(const AnimationRef& animation) {
    mainKind_ = MainKind::Unit;
    mainUnit_ = animation;
    mainRegistered_ = {};
    composite_ = nullptr;
    ResetPositions();
    Draw();
}

void CAnimationView::SetMainRegistered(const RegisteredHandOver& registered) {
    mainKind_ = MainKind::Registered;
    mainRegistered_ = registered;
    mainUnit_ = {};
    composite_ = nullptr;
    ResetPositions();
    Draw();
}

void CAnimationView::SetBackAnimation(const AnimationRef& animation, bool toolData) {
    back_ = animation;
    backToolData_ = toolData;
    ResetPositions();
    Draw();
}

void CAnimationView::SetCompositeBuilding(CFenwoldDoc& building) {
    composite_ = &building;
    mainKind_ = MainKind::None;
    mainUnit_ = {};
    mainRegistered_ = {};
    ResetPositions();
    Draw();
}

void CAnimationView::ForgetMain() {
    mainKind_ = MainKind::None;
    mainUnit_ = {};
    mainRegistered_ = {};
    composite_ = nullptr;
    Draw();
}

void CAnimationView::ForgetBack() {
    back_ = {};
    Draw();
}

void CAnimationView::ForgetBuildingRecord() {
    if (composite_ != nullptr) {
        composite_ = nullptr;
        Draw();
    }
}

void CAnimationView::SetPointIndex(int point) {
    pointIndex_ = std::clamp(point, 0, kPointCount - 1);
    Draw();
}

template <typename Visit>
void CAnimationView::ForEachComposite(Visit&& visit) const {
    if (composite_ == nullptr) {
        return;
    }
    int k = 0;
    for (const UnitAnimation& animation : composite_->Animations().animations) {
        if (k == kMaxPlayed) {
            break;
        }
        visit(k++, animation);
    }
}

bool CAnimationView::HasMain() const {
    if (composite_ != nullptr) {
        return composite_->Record() != nullptr && !composite_->Animations().animations.empty();
    }
    switch (mainKind_) {
    case MainKind::Unit: {
        const UnitAnimation* animation = mainUnit_.Get();
        return animation != nullptr && animation->FrameCount() > 0;
    }
    case MainKind::Registered: {
        const RegisteredAnimation* animation = mainRegistered_.Get();
        return animation != nullptr && !animation->frames.empty();
    }
    case MainKind::None:
        break;
    }
    return false;
}

int CAnimationView::MainLength() const {
    if (composite_ != nullptr) {
        const auto& animations = composite_->Animations().animations;
        return animations.empty() ? 0 : LengthOf(animations.front());
    }
    if (const UnitAnimation* animation = mainUnit_.Get()) {
        return LengthOf(*animation);
    }
    if (const RegisteredAnimation* animation = mainRegistered_.Get()) {
        return LengthOf(*animation);
    }
    return 0;
}

int CAnimationView::BackLength() const {
    const UnitAnimation* animation = back_.Get();
    return animation != nullptr ? LengthOf(*animation) : 0;
}

void CAnimationView::Play() {
    if (!HasMain()) {
        return;
    }
    lastTick_ = clock_.Milliseconds();
    playing_ = true;
    ResetPositions();
}

void CAnimationView::Stop() {
    if (!HasMain()) {
        return;
    }
    playing_ = false;
    ResetPositions();
    Draw();
}

void CAnimationView::StepBack() {
    if (composite_ != nullptr || MainLength() == 0) {
        return;
    }
    listener_.RangeChanged(positions_[0], MainLength());
    positions_[0] = std::max(positions_[0] - 1, 0);
    backPosition_ = std::max(backPosition_ - 1, 0);
    Draw();
}

void CAnimationView::StepNext() {
    if (composite_ != nullptr || MainLength() == 0) {
        return;
    }
    positions_[0] = std::clamp(positions_[0] + 1, 0, MainLength() - 1);
    listener_.RangeChanged(positions_[0], MainLength());
    if (BackLength() > 0) {
        backPosition_ = std::clamp(backPosition_ + 1, 0, BackLength() - 1);
    }
    Draw();
}

void CAnimationView::MoveTo(int position) {
    positions_[0] = std::clamp(position, 0, std::max(MainLength() - 1, 0));
    backPosition_ = std::clamp(position, 0, std::max(BackLength() - 1, 0));
}

bool CAnimationView::StepAnimation(int by) {
    if (composite_ != nullptr || mainKind_ != MainKind::Unit || mainUnit_.Get() == nullptr) {
        return false;
    }
    const AnimationRef next(*mainUnit_.Document(), mainUnit_.Position() + by);
    if (next.Get() == nullptr) {
        return false;
    }
    mainUnit_ = next;
    positions_[0] = 0;
    counters_[0] = 0;
    listener_.PositionChanged(0, MainLength());
    listener_.RangeChanged(0, MainLength());
    Draw();
    return true;
}

std::uint64_t CAnimationView::StepsForOnePass() const {
    std::uint64_t steps = 0;
    if (composite_ != nullptr) {
        ForEachComposite([&](int, const UnitAnimation& animation) {
            steps = std::max(steps, PassSteps(animation));
        });
    } else if (const UnitAnimation* animation = mainUnit_.Get()) {
        steps = PassSteps(*animation);
    } else if (const RegisteredAnimation* registered = mainRegistered_.Get()) {
        steps = PassSteps(*registered);
    }
    if (const UnitAnimation* back = back_.Get()) {
        steps = std::max(steps, PassSteps(*back));
    }
    return steps;
}

void CAnimationView::StepOnce() {
    if (composite_ != nullptr) {
        ForEachComposite([&](int k, const UnitAnimation& animation) {
            const auto slot = static_cast<std::size_t>(k);
            Advance(animation, counters_[slot], positions_[slot]);
        });
    } else if (const UnitAnimation* animation = mainUnit_.Get()) {
        Advance(*animation, counters_[0], positions_[0]);
    } else if (const RegisteredAnimation* registered = mainRegistered_.Get()) {
        Advance(*registered, counters_[0], positions_[0]);
    }
    if (const UnitAnimation* back = back_.Get()) {
        Advance(*back, backCounter_, backPosition_);
    }
}

bool CAnimationView::Tick() {
    if (!playing_) {
        return false;
    }
    const std::uint32_t now = clock_.Milliseconds();
    // The clock wraps at 2^32: the difference of two readings is the time between them.
    const std::uint64_t elapsed =
        std::uint64_t{static_cast<std::uint32_t>(now - lastTick_)} + carried_;
    const std::uint64_t steps = std::min(elapsed / kStepMilliseconds, StepsForOnePass());
    const auto shownBefore = positions_;
    const int backShownBefore = backPosition_;
    for (std::uint64_t step = 0; step < steps; ++step) {
        StepOnce();
    }
    carried_ = static_cast<std::uint32_t>(elapsed % kStepMilliseconds);
    lastTick_ = now;
    // Most steps only count towards an entry's delay: the picture is drawn again only when an
    // entry changed.
    if (positions_ == shownBefore && backPosition_ == backShownBefore) {
        return false;
    }
    Draw();
    return true;
}

void CAnimationView::DrawComposite() {
    const BuildingRecord* record = composite_->Record();
    if (record == nullptr) {
        return;
    }
    const int left = PreviewCanvas::kCentreX - record->width / 2;
    const int top = PreviewCanvas::kCentreY - record->height / 2;
    DrawImage(PreviewCanvas::kWidth, PreviewCanvas::kHeight, left, top, record->width,
              record->height, record->picture, canvas_.pixels());
    const UnitData& data = composite_->Animations();
    ForEachComposite([&](int k, const UnitAnimation& animation) {
        if (LengthOf(animation) == 0) {
            return;
        }
        const auto slot = static_cast<std::size_t>(k);
        const auto entry = static_cast<std::size_t>(ShownEntry(animation, positions_[slot]));
        const auto& place = record->animationPositions[slot];
        DrawAnimationFrame(
            canvas_.Target(),
            ClampedPoint(std::int64_t{left} + place[0], std::int64_t{top} + place[1]), data,
            animation, animation.frameNumber[entry], animation.alphaValue[entry]);
    });
}

void CAnimationView::DrawBack() {
    const UnitAnimation* animation = back_.Get();
    if (animation == nullptr || LengthOf(*animation) == 0) {
        return;
    }
    const UnitData& data = back_.Document()->Animations();
    // A unit without tool data places the back animation by its own origin only.
    const CanvasPoint corner =
        backToolData_ ? PictureCorner(data, back_.Group(), *animation, 0)
                      : ClampedPoint(PreviewCanvas::kCentreX - std::int64_t{animation->pointX[0]},
                                     PreviewCanvas::kCentreY - std::int64_t{animation->pointY[0]});
    const auto entry = static_cast<std::size_t>(ShownEntry(*animation, backPosition_));
    DrawAnimationFrame(canvas_.Target(), corner, data, *animation, animation->frameNumber[entry],
                       animation->alphaValue[entry], teamTable_);
}

void CAnimationView::DrawMain() {
    if (const UnitAnimation* animation = mainUnit_.Get()) {
        if (LengthOf(*animation) == 0) {
            listener_.PositionChanged(-1, 0);
            return;
        }
        positions_[0] = ShownEntry(*animation, positions_[0]);
        listener_.PositionChanged(positions_[0], LengthOf(*animation));
        const auto entry = static_cast<std::size_t>(positions_[0]);
        const UnitData& data = mainUnit_.Document()->Animations();
        DrawAnimationFrame(
            canvas_.Target(), PictureCorner(data, mainUnit_.Group(), *animation, pointIndex_), data,
            *animation, animation->frameNumber[entry], animation->alphaValue[entry], teamTable_);
        if (crosshairShown_) {
            canvas_.DrawCrosshair(kCrosshairColour);
        }
    } else if (const RegisteredAnimation* registered = mainRegistered_.Get()) {
        if (LengthOf(*registered) == 0) {
            listener_.PositionChanged(-1, 0);
            return;
        }
        positions_[0] = ShownEntry(*registered, positions_[0]);
        listener_.PositionChanged(positions_[0], LengthOf(*registered));
        const std::size_t frame = registered->frameNumber[static_cast<std::size_t>(positions_[0])];
        if (frame < registered->frames.size()) {
            const RegisteredFrame& picture = registered->frames[frame];
            const CanvasPoint corner =
                ClampedPoint(std::int64_t{PreviewCanvas::kCentreX} - registered->width / 2 -
                                 registered->pointX[0],
                             std::int64_t{PreviewCanvas::kCentreY} - registered->height / 2 -
                                 registered->pointY[0]);
            DrawFrame(PreviewCanvas::kWidth, PreviewCanvas::kHeight, corner.x, corner.y,
                      registered->width, registered->height, canvas_.pixels(), picture.pixelStream,
                      picture.alphaStream);
        }
    }
}

void CAnimationView::Draw() {
    canvas_.Clear();
    if (background_) {
        DrawImage(PreviewCanvas::kWidth, PreviewCanvas::kHeight,
                  PreviewCanvas::kCentreX - background_->width / 2,
                  PreviewCanvas::kCentreY - background_->height / 2, background_->width,
                  background_->height, background_->pixels, canvas_.pixels());
    }
    if (gridShown_) {
        for (int y = 0; y < PreviewCanvas::kHeight; y += kGridSpacing) {
            DrawHLine(PreviewCanvas::kWidth, PreviewCanvas::kHeight, 0, PreviewCanvas::kWidth - 1,
                      y, canvas_.pixels(), kGridColour);
        }
        for (int x = 0; x < PreviewCanvas::kWidth; x += kGridSpacing) {
            DrawVLine(PreviewCanvas::kWidth, PreviewCanvas::kHeight, 0, PreviewCanvas::kHeight - 1,
                      x, canvas_.pixels(), kGridColour);
        }
    }
    if (composite_ != nullptr) {
        DrawComposite();
        return;
    }
    if (backShown_) {
        DrawBack();
    }
    DrawMain();
}

} // namespace fenwold
