#include "unittools/PreviewCanvas.h"

#include "image/PreviewDrawing.h"
#include "unit/UnitData.h"

#include <algorithm>

namespace fenwold {
namespace {

// Far enough that nothing placed there reaches the canvas, near enough that a picture's size
// added to it stays inside int.
constexpr std::int64_t kFarOff = 1 << 24;

} // namespace

void PreviewCanvas::Clear(Pixel555 colour) {
    std::fill(pixels_.begin(), pixels_.end(), colour);
}

void PreviewCanvas::DrawCrosshair(Pixel555 colour) {
    DrawHLine(kWidth, kHeight, 0, kWidth - 1, kCentreY, pixels_, colour);
    DrawVLine(kWidth, kHeight, 0, kHeight - 1, kCentreX, pixels_, colour);
}

CanvasPlacement PlaceCanvas(int windowWidth, int windowHeight, int zoom) {
    return {windowWidth / 2 - PreviewCanvas::kCentreX * zoom,
            windowHeight / 2 - PreviewCanvas::kCentreY * zoom, PreviewCanvas::kWidth * zoom,
            PreviewCanvas::kHeight * zoom};
}

CanvasPoint ClampedPoint(std::int64_t x, std::int64_t y) {
    return {static_cast<int>(std::clamp(x, -kFarOff, kFarOff)),
            static_cast<int>(std::clamp(y, -kFarOff, kFarOff))};
}

CanvasPoint PictureCorner(const UnitPointTable& commonX, const UnitPointTable& commonY,
                          const UnitGroup* group, const UnitAnimation& animation, int point) {
    const auto i = static_cast<std::size_t>(point);
    const std::int64_t groupX = group != nullptr ? group->pointX[i] : 0;
    const std::int64_t groupY = group != nullptr ? group->pointY[i] : 0;
    const std::int64_t effectiveX = std::int64_t{commonX[i]} + groupX + animation.pointX[i];
    const std::int64_t effectiveY = std::int64_t{commonY[i]} + groupY + animation.pointY[i];
    return ClampedPoint(PreviewCanvas::kCentreX - effectiveX + animation.positionX,
                        PreviewCanvas::kCentreY - effectiveY + animation.positionY);
}

CanvasPoint PictureCorner(const UnitData& data, const UnitGroup* group,
                          const UnitAnimation& animation, int point) {
    return PictureCorner(data.unitPointX, data.unitPointY, group, animation, point);
}

const AlphaTableNode* FrameAt(const UnitAnimation& animation, int frame) {
    if (frame < 0 || frame >= animation.FrameCount()) {
        return nullptr;
    }
    return &animation.alphaTables[static_cast<std::size_t>(frame)];
}

FrameCodebooks DocumentCodebooks(const UnitData& data, const TeamColourTable* teamTable) {
    return data.codebook.Drawing(teamTable != nullptr ? teamTable->data()
                                                      : data.teamColours.tables[0].data());
}

void DrawAnimationFrame(const DrawTarget& target, CanvasPoint corner, const UnitData& data,
                        const UnitAnimation& animation, int frame, int alphaValue,
                        const TeamColourTable* teamTable) {
    if (const AlphaTableNode* node = FrameAt(animation, frame)) {
        DrawCompressedFrame(target, corner.x, corner.y, animation, *node,
                            DocumentCodebooks(data, teamTable), alphaValue);
    }
}

} // namespace fenwold
