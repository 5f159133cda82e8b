#pragma once

#include "vq/DrawCompressedFrame.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// What a frame's drawing is made of when it is taken apart for pictures with an alpha plane.
struct FrameDrawing {
    const FrameTables* frame = nullptr;
    int maskFlag = 0;
    int blockFlag = 1;
    FrameCodebooks codebooks; // without a team table, team pixels keep the codebook's pixel
};

// The frame drawn at (0, 0) into a buffer of its own size filled with `background`.
std::vector<Pixel555> DrawOver(const FrameDrawing& drawing, Pixel555 background, int alphaValue);

// The weight of 32 the drawing gives each pixel, from the frame drawn over black and over white:
// each channel then differs by 32 - w. 0 where the drawing leaves the pixel, and for weight 1,
// which changes no 5-bit channel.
std::vector<std::uint8_t> DrawnWeights(std::span<const Pixel555> overBlack,
                                       std::span<const Pixel555> overWhite);

// A frame in straight (not premultiplied) alpha: each pixel's undimmed colour and the alpha
// w / 32 of 255 of the weight w the drawing gives it with the overall alpha value; 0 and
// colour 0 where the drawing leaves it.
struct StraightAlphaFrame {
    std::vector<Pixel555> colours;
    std::vector<std::uint8_t> alpha;
};
StraightAlphaFrame DrawStraightAlpha(const FrameDrawing& drawing, int alphaValue);

} // namespace fenwold
