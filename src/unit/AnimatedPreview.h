#pragma once

#include "unit/Codebook.h"
#include "unit/UnitRecords.h"
#include "vq/ReviewPictures.h"

#include <vector>

namespace fenwold {

// An animation as the player plays it, picture by picture: each entry of the play sequence shows
// its frame with the entry's alpha value (team pixels through the table, when there is one) for
// the entry's time; an entry that names no frame shows nothing. The pictures are the
// animation's size.
//
// A sequence that loops from its first entry is one pass. With a later loop start the entries
// before it play once and the looped entries `loops` times in all; whoever shows the pictures
// starts again from the first.
std::vector<TimedPicture> AnimatedPreview(const UnitAnimation& animation, const Codebook& codebook,
                                          const Pixel555* teamColours, int loops);

} // namespace fenwold
