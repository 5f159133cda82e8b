#include "image/PreviewDrawing.h"

#include "image/FrameStreams.h"

#include <algorithm>
#include <string>

namespace fenwold {
namespace {

constexpr WindowColour kLabelBorder = 0x0000FF; // pure red

bool BufferHolds(std::span<const Pixel555> buffer, int width, int height) {
    return width > 0 && height > 0 &&
           buffer.size() >= static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

std::size_t At(int bufferWidth, int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(bufferWidth) +
           static_cast<std::size_t>(x);
}

// Calls draw(bufferIndex, sourceIndex) for every pixel of a width x height picture placed at
// (x, y) that falls inside the buffer.
template <typename Draw>
void ForEachVisible(int bufferWidth, int bufferHeight, int x, int y, int width, int height,
                    Draw&& draw) {
    const int firstColumn = std::max(0, -x);
    const int lastColumn = std::min(width, bufferWidth - x);
    const int firstRow = std::max(0, -y);
    const int lastRow = std::min(height, bufferHeight - y);
    for (int row = firstRow; row < lastRow; ++row) {
        for (int column = firstColumn; column < lastColumn; ++column) {
            draw(At(bufferWidth, x + column, y + row), At(width, column, row));
        }
    }
}

std::size_t PictureSize(int width, int height) {
    return width > 0 && height > 0 ? static_cast<std::size_t>(width) * height : 0;
}

} // namespace

void DrawFrame(int bufferWidth, int bufferHeight, int x, int y, int frameWidth, int frameHeight,
               std::span<Pixel555> buffer, std::span<const std::uint16_t> pixelStream,
               std::span<const std::uint8_t> alphaStream) {
    if (!BufferHolds(buffer, bufferWidth, bufferHeight) ||
        PictureSize(frameWidth, frameHeight) == 0) {
        return;
    }
    const auto pixels = DecodeFramePixels(pixelStream, frameWidth, frameHeight);
    const auto alpha = DecodeFrameAlpha(alphaStream, frameWidth, frameHeight);
    ForEachVisible(bufferWidth, bufferHeight, x, y, frameWidth, frameHeight,
                   [&](std::size_t target, std::size_t source) {
                       buffer[target] =
                           BlendPixel555(pixels[source], buffer[target], alpha[source]);
                   });
}

void DrawMaskOverlay(int bufferWidth, int bufferHeight, int x, int y, int frameWidth,
                     int frameHeight, std::span<Pixel555> buffer,
                     std::span<const std::uint8_t> maskStream) {
    if (!BufferHolds(buffer, bufferWidth, bufferHeight) ||
        PictureSize(frameWidth, frameHeight) == 0) {
        return;
    }
    const auto mask = DecodeFrameAlpha(maskStream, frameWidth, frameHeight);
    ForEachVisible(bufferWidth, bufferHeight, x, y, frameWidth, frameHeight,
                   [&](std::size_t target, std::size_t source) {
                       if (mask[source] != 0) {
                           buffer[target] = 0x03E0;
                       }
                   });
}

void DrawImage(int bufferWidth, int bufferHeight, int x, int y, int imageWidth, int imageHeight,
               std::span<const Pixel555> image, std::span<Pixel555> buffer) {
    if (!BufferHolds(buffer, bufferWidth, bufferHeight) ||
        image.size() < PictureSize(imageWidth, imageHeight)) {
        return;
    }
    ForEachVisible(bufferWidth, bufferHeight, x, y, imageWidth, imageHeight,
                   [&](std::size_t target, std::size_t source) { buffer[target] = image[source]; });
}

// The buffer's height is taken as well so that a picture placed partly outside is clipped
// rather than written past the buffer.
void DrawIndexedImage(int bufferWidth, int bufferHeight, int x, int y, int width, int height,
                      std::span<Pixel555> buffer, std::span<const std::uint8_t> indices,
                      std::span<const std::uint8_t> selection, std::span<const Pixel555> palette) {
    const std::size_t size = PictureSize(width, height);
    if (!BufferHolds(buffer, bufferWidth, bufferHeight) || indices.size() < size ||
        selection.size() < size || palette.empty()) {
        return;
    }
    ForEachVisible(bufferWidth, bufferHeight, x, y, width, height,
                   [&](std::size_t target, std::size_t source) {
                       if (selection[source] != 0) {
                           buffer[target] =
                               palette[std::min<std::size_t>(indices[source], palette.size() - 1)];
                       }
                   });
}

void DrawHLine(int bufferWidth, int bufferHeight, int x0, int x1, int y, std::span<Pixel555> buffer,
               Pixel555 colour) {
    if (!BufferHolds(buffer, bufferWidth, bufferHeight) || y < 0 || y >= bufferHeight) {
        return;
    }
    x0 = std::max(x0, 0);
    x1 = std::min(x1, bufferWidth - 1);
    for (int x = x0; x <= x1; ++x) {
        buffer[At(bufferWidth, x, y)] = colour;
    }
}

void DrawVLine(int bufferWidth, int bufferHeight, int y0, int y1, int x, std::span<Pixel555> buffer,
               Pixel555 colour) {
    if (!BufferHolds(buffer, bufferWidth, bufferHeight) || x < 0 || x >= bufferWidth) {
        return;
    }
    y0 = std::max(y0, 0);
    y1 = std::min(y1, bufferHeight - 1);
    for (int y = y0; y <= y1; ++y) {
        buffer[At(bufferWidth, x, y)] = colour;
    }
}

void DrawRect(int bufferWidth, int bufferHeight, int x0, int y0, int x1, int y1,
              std::span<Pixel555> buffer, Pixel555 colour) {
    if (x0 > x1) {
        std::swap(x0, x1);
    }
    if (y0 > y1) {
        std::swap(y0, y1);
    }
    DrawHLine(bufferWidth, bufferHeight, x0, x1, y0, buffer, colour);
    DrawVLine(bufferWidth, bufferHeight, y0, y1, x0, buffer, colour);
    DrawHLine(bufferWidth, bufferHeight, x0, x1, y1, buffer, colour);
    DrawVLine(bufferWidth, bufferHeight, y0, y1, x1, buffer, colour);
}

void TintRect(int bufferWidth, int bufferHeight, int x0, int y0, int x1, int y1,
              std::span<Pixel555> buffer, Pixel555 colour) {
    if (!BufferHolds(buffer, bufferWidth, bufferHeight)) {
        return;
    }
    if (x0 > x1) {
        std::swap(x0, x1);
    }
    if (y0 > y1) {
        std::swap(y0, y1);
    }
    const auto spread = [](Pixel555 p) {
        return static_cast<PackedColour>(Red5(p) * 4) << 16 |
               static_cast<PackedColour>(Green5(p) * 4) << 8 |
               static_cast<PackedColour>(Blue5(p) * 4);
    };
    const PackedColour tint = spread(colour);
    for (int y = std::max(y0, 0); y <= std::min(y1, bufferHeight - 1); ++y) {
        for (int x = std::max(x0, 0); x <= std::min(x1, bufferWidth - 1); ++x) {
            Pixel555& pixel = buffer[At(bufferWidth, x, y)];
            const PackedColour mixed = BlendColours(tint, spread(pixel), 100);
            pixel = static_cast<Pixel555>((((mixed >> 16) & 0xFF) / 4 & 31) << 10 |
                                          (((mixed >> 8) & 0xFF) / 4 & 31) << 5 |
                                          ((mixed & 0xFF) / 4 & 31));
        }
    }
}

void DrawOutline(WindowPainter& window, int x0, int y0, int x1, int y1, WindowColour colour) {
    window.Rectangle(x0, y0, x1, y1, colour);
    window.Rectangle(x0 + 1, y0 + 1, x1 - 1, y1 - 1, colour);
}

void DrawTextLabel(WindowPainter& window, int x, int y, std::string_view text,
                   WindowColour textColour, WindowColour backgroundColour) {
    window.Text(x + 1, y + 1, text, textColour, backgroundColour);
    const int right = x + 7 * static_cast<int>(text.size()) + 2;
    window.Line(x, y, x, y + 10, kLabelBorder);
    window.Line(x, y + 10, right, y + 10, kLabelBorder);
    window.Line(right, y + 10, right, y, kLabelBorder);
    window.Line(right, y, x, y, kLabelBorder);
}

void DrawNumberLabel(WindowPainter& window, int x, int y, int number, WindowColour textColour,
                     WindowColour backgroundColour) {
    DrawTextLabel(window, x, y, std::to_string(number), textColour, backgroundColour);
}

} // namespace fenwold
