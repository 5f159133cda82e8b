#include "building/CAniPositionView.h"

#include "building/CFenwoldDoc.h"
#include "image/PreviewDrawing.h"
#include "platform/VirtualKeys.h"
#include "vq/DrawCompressedFrame.h"

#include <algorithm>
#include <iterator>

namespace fenwold {

namespace {

const RegisteredAnimation* RegisteredAt(const std::list<RegisteredAnimation>* list, int position) {
    if (list == nullptr || position < 0 || position >= static_cast<int>(list->size())) {
        return nullptr;
    }
    return &*std::next(list->begin(), position);
}

} // namespace

int CAniPositionView::AnimationCount() const {
    int count = document_.Animations().AnimationCount();
    if (count == 0 && document_.RegisteredAnimations() != nullptr) {
        count = static_cast<int>(document_.RegisteredAnimations()->size());
    }
    return std::min(count, kMaxBuildingAnimations);
}

void CAniPositionView::OnFocusGained() {
    animationIndex_ = 0;
    frame_ = 0;
}

void CAniPositionView::OnKeyDown(int key) {
    if (keys_.Press(key)) {
        return;
    }
    switch (key) {
    case key::kInsert:
        zoom_ = std::max(zoom_ / 2, 1);
        picture_.zoom = zoom_;
        return;
    case key::kDelete:
        zoom_ = std::min(zoom_ * 2, kMaxZoom);
        picture_.zoom = zoom_;
        return;
    default:
        break;
    }
    if (document_.Record() == nullptr) {
        return;
    }
    const int last = AnimationCount() - 1;
    if (key == key::kPageUp && animationIndex_ > 0) {
        // An index left past the end by a shorter new list comes back to the last animation.
        animationIndex_ = std::min(animationIndex_ - 1, std::max(last, 0));
        frame_ = 0;
    } else if (key == key::kPageDown && animationIndex_ < last) {
        ++animationIndex_;
        frame_ = 0;
    }
}

void CAniPositionView::Tick() {
    if (!keys_.StepDue()) {
        return;
    }
    BuildingRecord* record = document_.Record();
    CopyBuildingPicture(picture_, record, zoom_);
    if (record == nullptr) {
        return;
    }
    const PlacementMove move = keys_.Step();
    auto& position = record->animationPositions[static_cast<std::size_t>(animationIndex_)];
    if (move.Moves()) {
        position[0] += move.dx;
        position[1] += move.dy;
        document_.SetModifiedFlag(true);
    }
    DrawCurrentFrame(picture_.pixels, record->width, record->height);
}

void CAniPositionView::DrawCurrentFrame(std::vector<Pixel555>& pixels, int width, int height) {
    const auto& position =
        document_.Record()->animationPositions[static_cast<std::size_t>(animationIndex_)];
    const UnitData& data = document_.Animations();
    if (data.AnimationCount() > 0) {
        const UnitAnimation* animation = data.FindAnimation(animationIndex_);
        if (animation == nullptr || animation->FrameCount() == 0) {
            return;
        }
        frame_ = NextFrame(frame_, animation->FrameCount());
        DrawCompressedFrame(DrawTarget{pixels.data(), width, height}, position[0], position[1],
                            *animation, animation->alphaTables[static_cast<std::size_t>(frame_)],
                            data.codebook.Drawing(data.teamColours.tables[0].data()), 255);
        return;
    }
    const RegisteredAnimation* registered =
        RegisteredAt(document_.RegisteredAnimations(), animationIndex_);
    if (registered == nullptr || registered->frames.empty()) {
        return;
    }
    frame_ = NextFrame(frame_, static_cast<int>(registered->frames.size()));
    const RegisteredFrame& frame = registered->frames[static_cast<std::size_t>(frame_)];
    DrawFrame(width, height, position[0], position[1], registered->width, registered->height,
              pixels, frame.pixelStream, frame.alphaStream);
}

} // namespace fenwold
