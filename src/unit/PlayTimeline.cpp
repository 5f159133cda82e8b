#include "unit/PlayTimeline.h"

#include <algorithm>

namespace fenwold {

int EntryMilliseconds(std::uint16_t delay) {
    return std::max<int>(static_cast<std::int16_t>(delay), 1) * kPlayerStepMilliseconds;
}

PlayTimeline SequenceTimeline(const UnitAnimation& animation) {
    PlayTimeline timeline;
    const int length = std::clamp<int>(animation.sequenceLength, 0, kMaxSequenceLength);
    for (int e = 0; e < length; ++e) {
        const auto at = static_cast<std::size_t>(e);
        const int frame = animation.frameNumber[at];
        timeline.entries.push_back({frame < animation.FrameCount() ? frame : -1,
                                    animation.alphaValue[at],
                                    EntryMilliseconds(animation.delay[at])});
    }
    const int loopStart = animation.tempBuffer[0];
    timeline.loopStart = loopStart >= 0 && loopStart < length ? loopStart : 0;
    return timeline;
}

} // namespace fenwold
