#pragma once

#include "unittools/AnimationEditPane.h"

namespace fenwold {

// The top pane of the animation edit window: every frame of the animation, each labelled with
// its position in the frame list. A click on a frame appends an entry for it to the play
// sequence.
class CAniEditView1 final : public AnimationEditPane {
public:
    // Takes the animation (or none); nothing is hovered.
    void SetAnimation(const AnimationRef& animation);

    // Each visible frame, drawn with the alpha value the sequence holds at the frame's index (an
    // index past the sequence's slots is drawn opaque).
    std::vector<FramePicture> RenderVisibleFrames() const;
    // Outlines (green for the hovered frame, dark red otherwise) and the frames' numbers.
    void PaintOverlays(WindowPainter& window) const;

    // The hovered frame becomes the one under the pointer; the old and the new outline are
    // drawn again.
    void OnMouseMove(int x, int y, WindowPainter& window);
    int HoveredFrame() const { return grid_.HoveredIndex(); }
    // A click on the hovered frame appends an entry for it (delay 4, alpha 255; the attribute
    // slot keeps its value) while the sequence has fewer than 200 entries. Returns whether it
    // appended.
    bool OnLeftButtonDown();

private:
    int CellCount(const UnitAnimation& animation) const override { return animation.FrameCount(); }
    static int AlphaOfFrame(const UnitAnimation& animation, int frame);
};

} // namespace fenwold
