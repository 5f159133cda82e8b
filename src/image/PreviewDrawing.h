#pragma once

#include "image/Pixel.h"
#include "platform/WindowPainter.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace fenwold {

// Drawing into the Pixel555 buffers of the previews. Buffers are `width` pixels a row, top row
// first; everything is clipped to the buffer.

// Decodes a registered frame's pixel and alpha streams and blends them in at (x, y): alpha 0
// leaves the buffer, 255 stores the pixel, anything else blends with weight alpha / 255.
void DrawFrame(int bufferWidth, int bufferHeight, int x, int y, int frameWidth, int frameHeight,
               std::span<Pixel555> buffer, std::span<const std::uint16_t> pixelStream,
               std::span<const std::uint8_t> alphaStream);

// Paints pure green wherever a mask (or alpha) frame stream holds a non-zero value.
void DrawMaskOverlay(int bufferWidth, int bufferHeight, int x, int y, int frameWidth,
                     int frameHeight, std::span<Pixel555> buffer,
                     std::span<const std::uint8_t> maskStream);

// Copies a picture into the buffer at (x, y).
void DrawImage(int bufferWidth, int bufferHeight, int x, int y, int imageWidth, int imageHeight,
               std::span<const Pixel555> image, std::span<Pixel555> buffer);

// Stores palette[index] wherever the selection plane is non-zero (team colours over a picture).
void DrawIndexedImage(int bufferWidth, int bufferHeight, int x, int y, int width, int height,
                      std::span<Pixel555> buffer, std::span<const std::uint8_t> indices,
                      std::span<const std::uint8_t> selection, std::span<const Pixel555> palette);

void DrawHLine(int bufferWidth, int bufferHeight, int x0, int x1, int y, std::span<Pixel555> buffer,
               Pixel555 colour);
void DrawVLine(int bufferWidth, int bufferHeight, int y0, int y1, int x, std::span<Pixel555> buffer,
               Pixel555 colour);
// Corners in any order.
void DrawRect(int bufferWidth, int bufferHeight, int x0, int y0, int x1, int y1,
              std::span<Pixel555> buffer, Pixel555 colour);
// Moves every pixel of the rectangle towards the colour: 100/255 of the colour, 155/255 of the
// pixel, in 8-bit channels.
void TintRect(int bufferWidth, int bufferHeight, int x0, int y0, int x1, int y1,
              std::span<Pixel555> buffer, Pixel555 colour);

// On the window: two nested one-pixel rectangles.
void DrawOutline(WindowPainter& window, int x0, int y0, int x1, int y1, WindowColour colour);
// On the window: the text at (x + 1, y + 1) framed by a red border 7 * characters + 2 wide and
// 10 high.
void DrawTextLabel(WindowPainter& window, int x, int y, std::string_view text,
                   WindowColour textColour, WindowColour backgroundColour);
void DrawNumberLabel(WindowPainter& window, int x, int y, int number, WindowColour textColour,
                     WindowColour backgroundColour);

} // namespace fenwold
