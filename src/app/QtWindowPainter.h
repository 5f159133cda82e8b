#pragma once

#include "image/Pixel.h"
#include "platform/WindowPainter.h"
#include "unit/FrameGrid.h"

#include <QColor>
#include <QImage>
#include <vector>

class QPainter;

namespace fenwold {

QColor ToQColor(WindowColour colour);

// A Pixel555 picture as Qt shows it, without converting a pixel.
QImage ImageOf(const Pixel555* pixels, int width, int height);

// Draws the outlines and labels of the views with a QPainter; labels use a fixed 6 x 10 cell.
class QtWindowPainter final : public WindowPainter {
public:
    explicit QtWindowPainter(QPainter& painter);

    void Rectangle(int x0, int y0, int x1, int y1, WindowColour colour) override;
    void Text(int x, int y, std::string_view text, WindowColour textColour,
              WindowColour backgroundColour) override;
    void Line(int x0, int y0, int x1, int y1, WindowColour colour) override;

private:
    QPainter& painter_;
};

// Takes the outlines a view redraws at once while the pointer moves: the widget repaints the
// whole window instead, which draws every outline in the colour of its state.
class DeferredWindowPainter final : public WindowPainter {
public:
    void Rectangle(int, int, int, int, WindowColour) override {}
    void Text(int, int, std::string_view, WindowColour, WindowColour) override {}
    void Line(int, int, int, int, WindowColour) override {}
};

void BlitPictures(QPainter& painter, const std::vector<FramePicture>& pictures);

} // namespace fenwold
