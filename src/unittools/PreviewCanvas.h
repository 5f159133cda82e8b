#pragma once

#include "image/Pixel.h"
#include "teamcolour/TeamColour.h"
#include "unit/UnitRecords.h"
#include "vq/DrawCompressedFrame.h"

#include <cstdint>
#include <vector>

namespace fenwold {

struct UnitData;

// The canvas of the tool windows that play an animation: 400 x 300 pixels, top row first, whose
// centre (200, 150) is where an animation's chosen point lies. The window shows it enlarged by
// an integer zoom and centred.
class PreviewCanvas {
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;
    static constexpr int kCentreX = 200;
    static constexpr int kCentreY = 150;

    explicit PreviewCanvas(Pixel555 fill = 0) : pixels_(kWidth * kHeight, fill) {}

    Pixel555* data() { return pixels_.data(); }
    const Pixel555* data() const { return pixels_.data(); }
    std::vector<Pixel555>& pixels() { return pixels_; }
    const std::vector<Pixel555>& pixels() const { return pixels_; }
    Pixel555 At(int x, int y) const { return pixels_[static_cast<std::size_t>(y * kWidth + x)]; }
    DrawTarget Target() { return {pixels_.data(), kWidth, kHeight}; }

    void Clear(Pixel555 colour = 0);
    // A horizontal line across the canvas at y = 150 and a vertical one at x = 200.
    void DrawCrosshair(Pixel555 colour);

private:
    std::vector<Pixel555> pixels_;
};

// Where the canvas, enlarged `zoom` times, lies in a window of the given size: centred, the
// halvings truncated (a window smaller than the canvas cuts it on both sides).
struct CanvasPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
CanvasPlacement PlaceCanvas(int windowWidth, int windowHeight, int zoom);

// Where a picture's top-left corner lies on the canvas so that the animation's effective point
// `point` (common point + group point, none without a group, + the animation's own point) lies
// at the canvas centre: 200 - effective x + position x, 150 - effective y + position y. Values a
// file may hold far off the canvas are kept far off, never wrapped onto it.
struct CanvasPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};
CanvasPoint PictureCorner(const UnitPointTable& commonX, const UnitPointTable& commonY,
                          const UnitGroup* group, const UnitAnimation& animation, int point);
// The same for an animation of a document, with the document's common points.
CanvasPoint PictureCorner(const UnitData& data, const UnitGroup* group,
                          const UnitAnimation& animation, int point);
// A corner from wide arithmetic, kept where drawing code can add a picture's size to it.
CanvasPoint ClampedPoint(std::int64_t x, std::int64_t y);

// The frame at 0-based position `frame` of the animation's frame list; null past its end.
const AlphaTableNode* FrameAt(const UnitAnimation& animation, int frame);

// The drawing tables of a document: its codebooks and its team colour table 0 (all 32 entries).
// The document's codebooks with its team colour table 0, or `teamTable` when one is given.
FrameCodebooks DocumentCodebooks(const UnitData& data, const TeamColourTable* teamTable = nullptr);

// Draws the animation's frame at position `frame` with its top-left at the corner, blended with
// `alphaValue`; a frame number past the frame list draws nothing.
void DrawAnimationFrame(const DrawTarget& target, CanvasPoint corner, const UnitData& data,
                        const UnitAnimation& animation, int frame, int alphaValue,
                        const TeamColourTable* teamTable = nullptr);

} // namespace fenwold
