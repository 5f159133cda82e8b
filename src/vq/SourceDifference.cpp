#include "vq/SourceDifference.h"

#include "image/FrameStreams.h"
#include "image/TgaReader.h"

namespace fenwold {

namespace {

// The grey level trunc(0.299 red + 0.589 green + 0.114 blue) of 8-bit channels.
std::uint8_t GreyLevel8(TgaColor c) {
    return static_cast<std::uint8_t>(0.299 * RedOf(c) + 0.589 * GreenOf(c) + 0.114 * BlueOf(c));
}

} // namespace

std::optional<ErrorTally> SourceDifference(const RegisteredFrame& frame,
                                           const FrameComparison& comparison) {
    if (frame.source.empty()) {
        return std::nullopt;
    }
    const CTgaReader reader(frame.source);
    const int width = comparison.width;
    const int height = comparison.height;
    if (!reader.HasAlpha() || frame.cropLeft < 0 || frame.cropTop < 0 ||
        frame.cropLeft + width > reader.width() || frame.cropTop + height > reader.height()) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> mask = frame.maskStream.empty()
                                               ? std::vector<std::uint8_t>()
                                               : DecodeFrameAlpha(frame.maskStream, width, height);
    ErrorTally tally;
    for (int y = 0; y < height; ++y) {
        // The reader keeps the file's rows, bottom row first.
        const std::size_t sourceRow =
            static_cast<std::size_t>(reader.height() - 1 - (frame.cropTop + y)) * reader.width() +
            static_cast<std::size_t>(frame.cropLeft);
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * width + x;
            const TgaColor colour = reader.pixels()[sourceRow + static_cast<std::size_t>(x)];
            const std::uint8_t alpha = reader.alpha()[sourceRow + static_cast<std::size_t>(x)];
            const bool team = !mask.empty() && mask[at] != 0;
            if (!team && alpha == 0 && comparison.visible[at] == 0) {
                continue;
            }
            std::uint8_t source[3] = {0, 0, 0};
            if (team) {
                source[0] = source[1] = source[2] = GreyLevel8(colour);
            } else if (alpha != 0) {
                source[0] = RedOf(colour);
                source[1] = GreenOf(colour);
                source[2] = BlueOf(colour);
            }
            const Pixel555 seen = comparison.registered[at];
            const int registered[3] = {Spread5To8(Red5(seen)), Spread5To8(Green5(seen)),
                                       Spread5To8(Blue5(seen))};
            for (int c = 0; c < 3; ++c) {
                const double d = source[c] - registered[c];
                tally.squares += d * d;
            }
            tally.channels += 3;
        }
    }
    return tally;
}

} // namespace fenwold
