#pragma once

#include "vq/DrawCompressedFrame.h"

namespace fenwold::test {

// The compressed frame drawing read plainly: each row's index and alpha tokens decoded to one
// source pixel and one weight a column, then drawn. DrawFrameTables must draw what it draws,
// pixel for pixel, for every table that passes the checks of TableValidation.h.
void ReferenceDrawFrameTables(int bufferWidth, int bufferHeight, int x, int y, int maskFlag,
                              int blockFlag, const FrameTables& frame, const Pixel555* codebook8,
                              const Pixel555* codebook16, const Pixel555* teamColours,
                              Pixel555* buffer, int alphaValue);

} // namespace fenwold::test
