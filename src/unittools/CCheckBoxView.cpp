#include "unittools/CCheckBoxView.h"

#include "image/PreviewDrawing.h"
#include "unit/AnimationDocument.h"

#include <utility>

namespace fenwold {

void CCheckBoxView::SetAnimation(const AnimationRef& animation) {
    animation_ = animation;
    frame_ = 0;
    if (const UnitAnimation* held = animation_.Get()) {
        boxWidth_ = held->checkBoxWidth;
        boxHeight_ = held->checkBoxHeight;
    }
}

void CCheckBoxView::SetBoxOffset(int dx, int dy) {
    boxOffsetX_ = dx;
    boxOffsetY_ = dy;
}

void CCheckBoxView::SetBoxSize(int width, int height) {
    boxWidth_ = width;
    boxHeight_ = height;
}

void CCheckBoxView::StoreBox(int x, int y, int width, int height) {
    UnitAnimation* animation = animation_.Get();
    if (animation == nullptr) {
        return;
    }
    const auto store = [](std::uint16_t& field, int value) {
        return std::exchange(field, static_cast<std::uint16_t>(value)) !=
               static_cast<std::uint16_t>(value);
    };
    bool changed = store(animation->checkBoxX, x);
    changed |= store(animation->checkBoxY, y);
    changed |= store(animation->checkBoxWidth, width);
    changed |= store(animation->checkBoxHeight, height);
    if (changed) {
        animation_.Document()->SetModifiedFlag(true);
    }
}

CanvasPoint CCheckBoxView::PictureCornerNow() const {
    const UnitAnimation* animation = animation_.Get();
    if (animation == nullptr) {
        return {};
    }
    return PictureCorner(animation_.Document()->Animations(), animation_.Group(), *animation, 0);
}

void CCheckBoxView::Tick() {
    canvas_.Clear();
    const UnitAnimation* animation = animation_.Get();
    if (animation == nullptr) {
        return;
    }
    const CanvasPoint corner = PictureCornerNow();
    if (frame_ >= animation->FrameCount()) {
        frame_ = 0;
    }
    DrawAnimationFrame(canvas_.Target(), corner, animation_.Document()->Animations(), *animation,
                       frame_, 255);
    if (animation->FrameCount() > 0) {
        frame_ = (frame_ + 1) % animation->FrameCount();
    }
    canvas_.DrawCrosshair(kCrosshairColour);
    const CanvasPoint box =
        ClampedPoint(std::int64_t{corner.x} - boxOffsetX_, std::int64_t{corner.y} - boxOffsetY_);
    const CanvasPoint end =
        ClampedPoint(std::int64_t{box.x} + kCellSize * std::int64_t{boxWidth_},
                     std::int64_t{box.y} + kCellSize * std::int64_t{boxHeight_});
    DrawRect(PreviewCanvas::kWidth, PreviewCanvas::kHeight, box.x, box.y, end.x, end.y,
             canvas_.pixels(), kBoxColour);
}

} // namespace fenwold
