#pragma once

#include "image/Pixel.h"

#include <cstdint>
#include <vector>

namespace fenwold {

// What a building tab shows: a Pixel555 picture, top row first, enlarged by a whole zoom factor
// at the view's top-left corner. Empty while there is nothing to draw; the window around it is
// black.
struct BuildingViewPicture {
    std::vector<Pixel555> pixels;
    int width = 0;
    int height = 0;
    int zoom = 1;

    bool Empty() const { return pixels.empty(); }
};

// One view of a building window (the picture, the area, the clash grid, the animation
// positions, the root of float, the fire points) as its window meets it. The window hands in
// the keyboard focus, keys (virtual key codes, platform/VirtualKeys.h), the mouse in picture
// coordinates (the window adds its scroll offset and divides by the zoom) and timer ticks, and
// shows Picture() with scroll bars over the picture's enlarged size. A view holds no pointer
// into its document's lists: it looks the building record and the animations up at every use.
class BuildingTabView {
public:
    virtual ~BuildingTabView() = default;

    // The repeating timer the view runs while it has the keyboard focus, in milliseconds; 0 for
    // a view without one.
    virtual int TimerMilliseconds() const { return 0; }
    virtual void OnFocusGained() {}
    // Held keys are let go here, so no key stays down when the focus leaves by a shortcut.
    virtual void OnFocusLost() {}
    virtual void OnKeyDown(int /*key*/) {}
    virtual void OnKeyUp(int /*key*/) {}
    virtual void OnMouseMove(int /*x*/, int /*y*/) {}
    virtual void OnLeftButtonDown(int /*x*/, int /*y*/) {}
    virtual void Tick() {}

    // The picture to show now. A view that draws only from its timer returns what its last
    // tick drew.
    virtual const BuildingViewPicture& Picture() = 0;
};

} // namespace fenwold
