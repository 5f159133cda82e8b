#include "building/CFirePotView.h"

#include "building/CFenwoldDoc.h"
#include "platform/VirtualKeys.h"
#include "unit/ToolHandOver.h"
#include "vq/DrawCompressedFrame.h"

#include <algorithm>
#include <cstdio>

namespace fenwold {

namespace {

constexpr int kKeyA = 'A';
constexpr int kKeyM = 'M';
constexpr int kKeyZ = 'Z';

} // namespace

void CFirePotView::OnKeyDown(int key) {
    if (keys_.Press(key)) {
        return;
    }
    if (key == kKeyA || key == kKeyZ) {
        zoom_ = key == kKeyA ? std::max(zoom_ / 2, 1) : std::min(zoom_ * 2, kMaxZoom);
        picture_.zoom = zoom_;
        return;
    }
    BuildingRecord* record = document_.Record();
    if (record == nullptr) {
        return;
    }
    switch (key) {
    case '1':
    case '2':
    case '3':
        group_ = key - '1';
        Retitle();
        RestartAll();
        break;
    case kKeyM:
        record->fireFlag[EditedPoint()] = record->fireFlag[EditedPoint()] == 1 ? 0 : 1;
        document_.SetModifiedFlag(true);
        Retitle();
        break;
    case key::kKeypadPlus:
    case key::kKeypadMinus:
        pointIndex_ = std::clamp(pointIndex_ + (key == key::kKeypadPlus ? 1 : -1), 0, kSlots - 1);
        Retitle();
        Restart(pointIndex_);
        break;
    case key::kPageUp:
        StepAnimationNumber(-1);
        break;
    case key::kPageDown:
        StepAnimationNumber(1);
        break;
    default:
        break;
    }
}

void CFirePotView::Retitle() {
    char text[64];
    const char* format = document_.Record()->fireFlag[EditedPoint()] == 1
                             ? "Set Fire Point - %d/%dM - "
                             : "Set Fire Point - %d/%d - ";
    std::snprintf(text, sizeof text, format, pointIndex_, group_);
    document_.SetTitle(text);
}

void CFirePotView::StepAnimationNumber(int step) {
    if (source_.document == nullptr) {
        return;
    }
    const int last = source_.document->Animations().AnimationCount() - 1;
    std::int32_t& number = document_.Record()->fireAnimation[EditedPoint()];
    // A number below 0 names the first animation; one past the list comes back into it.
    const int shown = std::max(number, 0);
    const int wanted = std::min(shown + step, last);
    if (wanted < 0 || wanted == number || (step > 0 && wanted < shown)) {
        return;
    }
    number = wanted;
    document_.SetModifiedFlag(true);
    Restart(pointIndex_);
}

const UnitAnimation* CFirePotView::SourceAnimation(std::int32_t number) const {
    if (source_.document == nullptr) {
        return nullptr;
    }
    return source_.document->Animations().FindAnimation(std::max(number, 0));
}

void CFirePotView::Tick() {
    if (!keys_.StepDue() || source_.document == nullptr) {
        return;
    }
    if (seenGeneration_ != source_.generation) {
        RestartAll();
    }
    BuildingRecord* record = document_.Record();
    CopyBuildingPicture(picture_, record, zoom_);
    if (record == nullptr) {
        return;
    }
    const PlacementMove move = keys_.Step();
    if (move.Moves()) {
        record->fireX[EditedPoint()] =
            static_cast<std::uint16_t>(record->fireX[EditedPoint()] + move.dx);
        record->fireY[EditedPoint()] =
            static_cast<std::uint16_t>(record->fireY[EditedPoint()] + move.dy);
        document_.SetModifiedFlag(true);
    }
    DrawSlots(picture_.pixels, record->width, record->height);
    seenGeneration_ = source_.generation;
}

void CFirePotView::DrawSlots(std::vector<Pixel555>& pixels, int width, int height) {
    const BuildingRecord& record = *document_.Record();
    const UnitData& data = source_.document->Animations();
    for (int slot = 0; slot < kSlots; ++slot) {
        const auto point = static_cast<std::size_t>(kSlots * group_ + slot);
        const UnitAnimation* animation = SourceAnimation(record.fireAnimation[point]);
        int& frame = frames_[static_cast<std::size_t>(slot)];
        if (animation == nullptr || animation->FrameCount() == 0) {
            continue; // an empty source, or a number past its list: nothing to show
        }
        frame = NextFrame(frame, animation->FrameCount());
        DrawCompressedFrame(DrawTarget{pixels.data(), width, height},
                            static_cast<std::int16_t>(record.fireX[point]),
                            static_cast<std::int16_t>(record.fireY[point]), *animation,
                            animation->alphaTables[static_cast<std::size_t>(frame)],
                            data.codebook.Drawing(nullptr), 255);
    }
}

} // namespace fenwold
