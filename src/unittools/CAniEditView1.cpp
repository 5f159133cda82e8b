#include "unittools/CAniEditView1.h"

#include "image/PreviewDrawing.h"
#include "unit/AnimationDocument.h"

namespace fenwold {

void CAniEditView1::SetAnimation(const AnimationRef& animation) {
    Hold(animation);
    grid_.ClearHover();
    Relayout();
}

int CAniEditView1::AlphaOfFrame(const UnitAnimation& animation, int frame) {
    const int index = animation.alphaTables[static_cast<std::size_t>(frame)].index;
    return index >= 0 && index < kMaxSequenceLength
               ? animation.alphaValue[static_cast<std::size_t>(index)]
               : 255;
}

std::vector<FramePicture> CAniEditView1::RenderVisibleFrames() const {
    std::vector<FramePicture> pictures;
    if (const UnitAnimation* animation = Animation()) {
        ForEachVisibleCell(*animation, [&](const GridCell& cell) {
            pictures.push_back(
                RenderCell(cell, *animation, cell.index, AlphaOfFrame(*animation, cell.index)));
        });
    }
    return pictures;
}

void CAniEditView1::PaintOverlays(WindowPainter& window) const {
    const UnitAnimation* animation = Animation();
    if (animation == nullptr) {
        return;
    }
    ForEachVisibleCell(*animation, [&](const GridCell& cell) {
        DrawCellOutline(window, cell,
                        cell.index == HoveredFrame() ? kHighlightedOutline : kNormalOutline);
        DrawNumberLabel(window, cell.x, grid_.WindowY(cell), cell.index, kLabelText,
                        kLabelBackground);
    });
}

void CAniEditView1::OnMouseMove(int x, int y, WindowPainter& window) {
    const GridCell* hit = Animation() != nullptr ? grid_.HitTest(x, y) : nullptr;
    const int hovered = hit != nullptr ? hit->index : -1;
    const int previous = HoveredFrame();
    if (hovered == previous) {
        return;
    }
    if (const GridCell* old = grid_.CellOf(0, previous)) {
        DrawCellOutline(window, *old, kNormalOutline);
    }
    grid_.SetHover(hovered < 0 ? -1 : 0, hovered);
    if (hit != nullptr) {
        DrawCellOutline(window, *hit, kHighlightedOutline);
    }
}

bool CAniEditView1::OnLeftButtonDown() {
    UnitAnimation* animation = Animation();
    const int frame = HoveredFrame();
    if (animation == nullptr || frame < 0 || frame >= animation->FrameCount() ||
        animation->sequenceLength < 0 || animation->sequenceLength >= kMaxSequenceLength) {
        return false;
    }
    const auto entry = static_cast<std::size_t>(animation->sequenceLength);
    animation->frameNumber[entry] = static_cast<std::uint16_t>(frame);
    animation->delay[entry] = 4;
    animation->alphaValue[entry] = 255;
    ++animation->sequenceLength;
    Held().Document()->SetModifiedFlag(true);
    return true;
}

} // namespace fenwold
