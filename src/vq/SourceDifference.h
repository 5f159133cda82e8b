#pragma once

#include "image/RegisteredAnimation.h"
#include "vq/Quality.h"

#include <optional>

namespace fenwold {

// What reading a frame lost before any compression: its source Targa picture over black against
// the frame as the encoder saw it, drawn over black as `comparison` drew it (5-bit colour, the
// drawing's alpha levels, team pixels opaque in their grey level), on the pixels either shows.
// The source is taken as the tool reads it: colours of translucent pixels already multiplied by
// their alpha, team pixels as the grey level of their 8-bit colour. None when the frame's source
// is unknown, cannot be read, or no longer holds the frame's box.
std::optional<ErrorTally> SourceDifference(const RegisteredFrame& frame,
                                           const FrameComparison& comparison);

} // namespace fenwold
