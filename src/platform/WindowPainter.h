#pragma once

#include <cstdint>
#include <string_view>

namespace fenwold {

// A colour as windows take it: 0x00BBGGRR.
using WindowColour = std::uint32_t;

// What views draw directly on their window, over the buffer they show: outlines and small
// framed labels. The desktop program paints them; tests record them.
class WindowPainter {
public:
    virtual ~WindowPainter() = default;
    // A one-pixel rectangle outline, corners inclusive.
    virtual void Rectangle(int x0, int y0, int x1, int y1, WindowColour colour) = 0;
    // Text in the label font (a 6 x 10 cell a character) with its top-left at (x, y).
    virtual void Text(int x, int y, std::string_view text, WindowColour textColour,
                      WindowColour backgroundColour) = 0;
    // A one-pixel line from (x0, y0) to (x1, y1).
    virtual void Line(int x0, int y0, int x1, int y1, WindowColour colour) = 0;
};

} // namespace fenwold
