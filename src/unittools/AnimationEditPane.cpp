#include "unittools/AnimationEditPane.h"

#include "image/PreviewDrawing.h"
#include "unit/AnimationDocument.h"
#include "unittools/PreviewCanvas.h"

namespace fenwold {

void AnimationEditPane::SetClientSize(int width, int height) {
    grid_.SetClientSize(width, height);
    Relayout();
}

void AnimationEditPane::Relayout() {
    const UnitAnimation* animation = Animation();
    if (animation == nullptr) {
        grid_.Layout({}, 0);
        return;
    }
    const GridItem item{animation->width, animation->height, CellCount(*animation)};
    grid_.Layout({&item, 1}, 0);
}

FramePicture AnimationEditPane::RenderCell(const GridCell& cell, const UnitAnimation& animation,
                                           int frame, int alphaValue) const {
    FramePicture picture{cell.x, grid_.WindowY(cell), cell.width, cell.height,
                         std::vector<Pixel555>(static_cast<std::size_t>(cell.width) *
                                                   static_cast<std::size_t>(cell.height),
                                               kCellBackground)};
    DrawAnimationFrame({picture.pixels.data(), cell.width, cell.height}, {0, 0},
                       animation_.Document()->Animations(), animation, frame, alphaValue);
    return picture;
}

void AnimationEditPane::DrawCellOutline(WindowPainter& window, const GridCell& cell,
                                        WindowColour colour) const {
    const int top = grid_.WindowY(cell);
    DrawOutline(window, cell.x - 2, top - 2, cell.x + cell.width + 1, top + cell.height + 1,
                colour);
}

} // namespace fenwold
