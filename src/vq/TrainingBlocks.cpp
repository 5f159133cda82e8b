#include "vq/TrainingBlocks.h"

#include "image/FrameStreams.h"
#include "vq/AlphaTables.h"
#include "vq/ColourTables.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace fenwold {

namespace {

// Marks a visible pixel in its entry code, above the three entry bytes.
constexpr std::uint32_t kVisible = 1u << 24;

// Per pixel of one frame: the entry bytes it contributes to a block and whether it can be seen.
// A pixel under the mask is grey; otherwise a pixel with alpha is its colour; the rest is
// (0, 0, 0) and invisible.
inline std::uint32_t ColourCode(Pixel555 pixel, std::uint8_t alpha) {
    const std::uint32_t seen = alpha != 0 ? ~0u : 0u;
    return (ExpandPixel(pixel) | kVisible) & seen;
}

// Blocks of a fixed length, no branches and no aliasing, so that the compiler makes vector code
// of it.
void ColourCodes(const Pixel555* __restrict pixels, const std::uint8_t* __restrict alpha,
                 std::uint32_t* __restrict codes, std::size_t size) {
    constexpr std::size_t kBlock = 16;
    std::size_t i = 0;
    for (; i + kBlock <= size; i += kBlock) {
        for (std::size_t k = 0; k < kBlock; ++k) {
            codes[i + k] = ColourCode(pixels[i + k], alpha[i + k]);
        }
    }
    for (; i < size; ++i) {
        codes[i] = ColourCode(pixels[i], alpha[i]);
    }
}

// Also encodes the frame's alpha table into `alphaTable`.
std::vector<std::uint32_t> EntryCodes(const RegisteredFrame& frame, int width, int height,
                                      EncodedAlphaTable& alphaTable) {
    const std::vector<Pixel555> pixels = DecodeFramePixels(frame.pixelStream, width, height);
    const std::vector<std::uint8_t> alpha = DecodeFrameAlpha(frame.alphaStream, width, height);
    const std::size_t size = pixels.size();
    std::vector<std::uint32_t> codes(size);
    ColourCodes(pixels.data(), alpha.data(), codes.data(), size);
    std::vector<std::uint8_t> mask;
    if (!frame.maskStream.empty()) {
        const std::array<std::uint8_t, 32768>& grey = GreyLevels();
        mask = DecodeFrameAlpha(frame.maskStream, width, height);
        for (std::size_t j = 0; j < size; ++j) {
            if (mask[j] != 0) {
                codes[j] = grey[pixels[j] & 0x7FFF] * 0x010101u | kVisible;
            }
        }
    }
    alphaTable = EncodeAlphaPlanes(alpha, mask, width, height);
    return codes;
}

// Copies the four codes of one frame's 2 x 2 square to entries 4f .. 4f + 3.
inline std::uint32_t CopyQuad(std::uint8_t* bytes, std::uint32_t c0, std::uint32_t c1,
                              std::uint32_t c2, std::uint32_t c3) {
    // Each code is copied whole and its fourth byte overwritten by the next entry.
    std::memcpy(bytes, &c0, 4);
    std::memcpy(bytes + 3, &c1, 4);
    std::memcpy(bytes + 6, &c2, 4);
    std::memcpy(bytes + 9, &c3, 4);
    return c0 | c1 | c2 | c3;
}

} // namespace

int ProgressPercent(std::int64_t counter, std::int64_t total) {
    return total > 0 ? static_cast<int>(counter * 100 / total) : 0;
}

int GroupCount(const RegisteredAnimation& animation) {
    return (static_cast<int>(animation.frames.size()) + 3) / 4;
}

std::int64_t ProgressTotal(const AnimationRefs& animations) {
    std::int64_t total = 0;
    for (const RegisteredAnimation* animation : animations) {
        total += std::int64_t{animation->width} * animation->height *
                 static_cast<std::int64_t>(animation->frames.size()) / 2;
    }
    return total;
}

BlockGroup CutGroup(const RegisteredAnimation& animation, int group,
                    std::vector<VqVector>& vectors) {
    const int width = animation.width;
    const int height = animation.height;
    const int last = static_cast<int>(animation.frames.size()) - 1;
    // The four frames of the group; a repeated last frame is decoded once.
    BlockGroup layout;
    std::vector<std::uint32_t> planes[4];
    const std::uint32_t* codes[4];
    for (int f = 0; f < 4; ++f) {
        const int frame = std::min(group * 4 + f, last);
        if (frame == group * 4 + f) {
            layout.alphaTables.emplace_back();
            planes[f] = EntryCodes(animation.frames[static_cast<std::size_t>(frame)], width, height,
                                   layout.alphaTables.back());
            codes[f] = planes[f].data();
        } else {
            codes[f] = codes[f - 1];
        }
    }

    layout.blocksPerRow = (width + 1) / 2;
    layout.blockRows = (height + 1) / 2;
    layout.visible.reserve(static_cast<std::size_t>(layout.blocksPerRow) * layout.blockRows);
    for (int y0 = 0; y0 < height; y0 += 2) {
        for (int x0 = 0; x0 < width; x0 += 2) {
            // Beyond an odd edge a position is (0, 0, 0); the last entry's spare byte lands
            // beyond the 48.
            const bool right = x0 + 1 < width;
            const bool below = y0 + 1 < height;
            const std::size_t at = static_cast<std::size_t>(y0) * width + x0;
            std::uint8_t bytes[kBlockBytes + 1];
            std::uint32_t seen = 0;
            for (int f = 0; f < 4; ++f) {
                const std::uint32_t* p = codes[f] + at;
                seen |= CopyQuad(bytes + 12 * f, p[0], right ? p[1] : 0, below ? p[width] : 0,
                                 right && below ? p[width + 1] : 0);
            }
            // Only a block nobody can see stays out; an opaque black block is a block like any
            // other and needs its own entry.
            const bool visible = (seen & kVisible) != 0;
            layout.visible.push_back(visible ? 1 : 0);
            if (visible) {
                VqVector vector;
                vector.index = static_cast<std::uint32_t>(vectors.size());
                std::memcpy(vector.block.data(), bytes, kBlockBytes);
                vectors.push_back(vector);
            }
        }
    }
    return layout;
}

TrainingSet CollectTrainingBlocks(const AnimationRefs& animations, WorkerPool& pool,
                                  CompressionProgress& progress, const RunFlags& flags) {
    struct Job {
        int animation;
        int group;
    };
    std::vector<Job> jobs;
    for (std::size_t a = 0; a < animations.size(); ++a) {
        for (int g = 0; g < GroupCount(*animations[a]); ++g) {
            jobs.push_back({static_cast<int>(a), g});
        }
    }
    const std::int64_t total = ProgressTotal(animations);
    std::int64_t counter = 0;

    TrainingSet set;
    // Groups are cut in parallel a batch at a time and taken over in order, so that the
    // progress display moves and a cancel is seen soon.
    const std::size_t batchSize = static_cast<std::size_t>(pool.ThreadCount()) * 4;
    std::vector<std::vector<VqVector>> batchVectors(batchSize);
    std::vector<BlockGroup> batchLayouts(batchSize);
    for (std::size_t start = 0; start < jobs.size(); start += batchSize) {
        const std::size_t count = std::min(batchSize, jobs.size() - start);
        pool.Run(count, [&](std::size_t i) {
            const Job& job = jobs[start + i];
            batchVectors[i].clear();
            batchLayouts[i] = CutGroup(*animations[static_cast<std::size_t>(job.animation)],
                                       job.group, batchVectors[i]);
            batchLayouts[i].animation = job.animation;
        });
        for (std::size_t i = 0; i < count; ++i) {
            BlockGroup& layout = batchLayouts[i];
            layout.firstVector = set.vectors.size();
            for (VqVector& vector : batchVectors[i]) {
                vector.index = static_cast<std::uint32_t>(set.vectors.size());
                set.vectors.push_back(vector);
            }
            std::size_t collected = layout.firstVector;
            for (int row = 0; row < layout.blockRows; ++row) {
                const auto begin = layout.visible.begin() + row * layout.blocksPerRow;
                collected += static_cast<std::size_t>(
                    std::count(begin, begin + layout.blocksPerRow, std::uint8_t{1}));
                counter += 8 * layout.blocksPerRow;
                progress.ShowText(ProgressField::CollectedBlocks, std::to_string(collected));
                progress.ShowBar(ProgressBar::Collection, ProgressPercent(counter, total));
            }
            set.groups.push_back(std::move(layout));
            CheckCancel(flags);
        }
    }
    return set;
}

} // namespace fenwold
