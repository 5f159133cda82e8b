#pragma once

#include "vq/Quality.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// A picture in working pixels, top row first.
struct ReviewPicture {
    int width = 0;
    int height = 0;
    std::vector<Pixel555> pixels;
};

// A picture with straight (not premultiplied) alpha: red, green, blue, alpha, 8 bits each.
struct PictureRgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// One picture of an animation and how long it stays, in milliseconds.
struct TimedPicture {
    PictureRgba picture;
    int milliseconds = 0;
};

// Copies `picture` into `target` with its top-left at (x, y); the target must hold it.
void Paste(const ReviewPicture& picture, ReviewPicture& target, int x, int y);

// Per channel |registered - compressed| times `gain`, at most 31; pixels neither shows black.
// A frame whose blocks were all kept exactly gives a black picture.
ReviewPicture DifferencePicture(const FrameComparison& comparison, int gain);
// The registered frame, the compressed frame and their amplified difference side by side,
// kReviewGap pixels apart.
ReviewPicture DifferenceStrip(const FrameComparison& comparison, int gain);
inline constexpr int kReviewGap = 4;

// The colour of a use count, one per class: unused grey, once red (dead weight), 2-3 orange,
// 4-15 yellow, 16-63 green, 64 and more blue.
Pixel555 UseColour(std::uint32_t count);

// Every entry of the codebook (16 or 8 pixels an entry, by block flag), most used first (equal
// counts by entry number): its four frames side by side enlarged kEntryZoom times, and under
// them a bar in the colour of its count; kEntriesPerRow entries a row.
ReviewPicture EntriesByUse(std::span<const Pixel555> codebook, int blockFlag,
                           std::span<const std::uint32_t> counts);
inline constexpr int kEntryZoom = 4;
inline constexpr int kEntriesPerRow = 16;

// Every pixel a frame shows in the colour of the use count of its block's entry; the rest black.
ReviewPicture RarityMap(const CompressedAnimationView& animation, int frame,
                        std::span<const std::uint32_t> counts);

// A compressed frame drawn with the overall alpha value (team pixels through the table, when
// there is one) as straight-alpha colour: each pixel's undimmed colour with the alpha of the
// drawing's weight; pixels the drawing leaves are transparent.
PictureRgba DrawFrameRgba(const CompressedAnimationView& animation, int frame,
                          std::span<const Pixel555> codebook, int blockFlag,
                          const Pixel555* teamColours, int alphaValue);

} // namespace fenwold
