#pragma once

#include "unit/ToolHandOver.h"
#include "unittools/PreviewCanvas.h"

namespace fenwold {

// The check box window's canvas: the animation plays frame by frame, one frame a tick, with its
// effective origin at the canvas centre, under a blue crosshair and the box outlined in red.
class CCheckBoxView {
public:
    static constexpr int kTimerMilliseconds = 2;
    static constexpr int kCellSize = 16; // the box's width and height count cells of 16 pixels
    static constexpr Pixel555 kCrosshairColour = 0x001F;
    static constexpr Pixel555 kBoxColour = 0x7C00;

    // The animation and its first frame become current; the box takes the animation's stored
    // size.
    void SetAnimation(const AnimationRef& animation);
    // Lets go of the animation: nothing is drawn until the next.
    void Forget() { animation_ = {}; }
    const AnimationRef& Held() const { return animation_; }
    // The box's offset from the picture's corner (minus the box's x and y) and its size in cells.
    void SetBoxOffset(int dx, int dy);
    void SetBoxSize(int width, int height);
    void SetScale(int scale) { scale_ = scale; }
    int Scale() const { return scale_; }
    // Writes the box into the animation's check box (16 bits a field), once an animation has
    // been handed over; the document is marked modified when a value changed.
    void StoreBox(int x, int y, int width, int height);

    // One timer tick: the canvas is drawn with the current frame, which then advances (after
    // the last frame, to the first).
    void Tick();
    const PreviewCanvas& Canvas() const { return canvas_; }
    int CurrentFrame() const { return frame_; }
    // Where the picture's top-left lies on the canvas; meaningful while an animation is held.
    CanvasPoint PictureCornerNow() const;

private:
    AnimationRef animation_;
    int frame_ = 0;
    int boxOffsetX_ = 0;
    int boxOffsetY_ = 0;
    int boxWidth_ = 1;
    int boxHeight_ = 1;
    int scale_ = 1;
    PreviewCanvas canvas_;
};

} // namespace fenwold
