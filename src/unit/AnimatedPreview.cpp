#include "unit/AnimatedPreview.h"

#include "unit/PlayTimeline.h"

namespace fenwold {

std::vector<TimedPicture> AnimatedPreview(const UnitAnimation& animation, const Codebook& codebook,
                                          const Pixel555* teamColours, int loops) {
    const PlayTimeline timeline = SequenceTimeline(animation);
    const CompressedAnimationView view = ViewOfRecord(animation);
    const std::vector<Pixel555>& pixels = codebook.InUse();
    const auto picture = [&](const TimedEntry& entry) {
        if (entry.frame < 0) {
            return PictureRgba{animation.width, animation.height,
                               std::vector<std::uint8_t>(static_cast<std::size_t>(animation.width) *
                                                             animation.height * 4,
                                                         0)};
        }
        return DrawFrameRgba(view, entry.frame, pixels, codebook.blockFlag, teamColours,
                             entry.alphaValue);
    };
    std::vector<TimedPicture> pictures;
    const std::size_t count = timeline.entries.size();
    const int passes = timeline.loopStart == 0 ? 1 : std::max(loops, 1);
    for (std::size_t e = 0; e < count; ++e) {
        pictures.push_back({picture(timeline.entries[e]), timeline.entries[e].milliseconds});
    }
    for (int pass = 1; pass < passes; ++pass) {
        for (std::size_t e = static_cast<std::size_t>(timeline.loopStart); e < count; ++e) {
            pictures.push_back(pictures[e]);
        }
    }
    return pictures;
}

} // namespace fenwold
