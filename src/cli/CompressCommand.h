#pragma once

#include "unit/UnitDoc.h"
#include "vq/CompressionResult.h"

namespace fenwold::cli {

// Hands a finished compression to the unit. A result the unit refuses (it said why through its
// messages) ends the command with status 1 before anything is written.
void TakeCompressionResult(CUnitDoc& document, CompressionResult result);

} // namespace fenwold::cli
