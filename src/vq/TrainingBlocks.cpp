#include "vq/TrainingBlocks.h"

#include "image/FrameStreams.h"
#include "vq/ColourTables.h"

#include <algorithm>
#include <string>

namespace fenwold {

namespace {

// The decoded planes of the (up to four distinct) frames of one group.
struct GroupPlanes {
    std::vector<Pixel555> pixels[4];
    std::vector<std::uint8_t> alpha[4];
    std::vector<std::uint8_t> mask[4]; // empty for a frame without a mask plane
    int slot[4] = {};                  // which decoded frame each of the four positions shows
};

GroupPlanes DecodeGroup(const RegisteredAnimation& animation, int group) {
    const int width = animation.width;
    const int height = animation.height;
    const int last = static_cast<int>(animation.frames.size()) - 1;
    GroupPlanes planes;
    for (int f = 0; f < 4; ++f) {
        const int frame = std::min(group * 4 + f, last);
        planes.slot[f] = frame - group * 4;
        if (planes.slot[f] != f) {
            continue; // a repeated last frame is decoded once
        }
        const RegisteredFrame& source = animation.frames[static_cast<std::size_t>(frame)];
        planes.pixels[f] = DecodeFramePixels(source.pixelStream, width, height);
        planes.alpha[f] = DecodeFrameAlpha(source.alphaStream, width, height);
        if (!source.maskStream.empty()) {
            planes.mask[f] = DecodeFrameAlpha(source.maskStream, width, height);
        }
    }
    return planes;
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
    const ColourTables& colours = GetColourTables();
    const int width = animation.width;
    const int height = animation.height;
    const GroupPlanes planes = DecodeGroup(animation, group);

    BlockGroup layout;
    layout.blocksPerRow = (width + 1) / 2;
    layout.blockRows = (height + 1) / 2;
    layout.visible.reserve(static_cast<std::size_t>(layout.blocksPerRow) * layout.blockRows);
    for (int y0 = 0; y0 < height; y0 += 2) {
        for (int x0 = 0; x0 < width; x0 += 2) {
            VqVector vector;
            bool visible = false;
            for (int r = 0; r < 2; ++r) {
                for (int c = 0; c < 2; ++c) {
                    if (x0 + c >= width || y0 + r >= height) {
                        continue; // beyond an odd edge: (0, 0, 0) in every frame
                    }
                    const std::size_t at = static_cast<std::size_t>(y0 + r) * width + x0 + c;
                    for (int f = 0; f < 4; ++f) {
                        const int s = planes.slot[f];
                        const std::uint8_t alpha = planes.alpha[s][at];
                        const std::uint8_t mask = planes.mask[s].empty() ? 0 : planes.mask[s][at];
                        const Pixel555 pixel = planes.pixels[s][at] & 0x7FFF;
                        std::uint8_t* entry =
                            &vector.block[static_cast<std::size_t>(3 * ((c + 2 * r) + 4 * f))];
                        if (mask != 0) {
                            entry[0] = entry[1] = entry[2] = colours.grey[pixel];
                            visible = true;
                        } else if (alpha != 0) {
                            std::copy_n(colours.expansion[pixel].begin(), 3, entry);
                            visible = true;
                        }
                    }
                }
            }
            // Only a block nobody can see stays out; an opaque black block is a block like any
            // other and needs its own entry.
            layout.visible.push_back(visible ? 1 : 0);
            if (visible) {
                vector.index = static_cast<std::uint32_t>(vectors.size());
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
                progress.ShowText(ProgressField::RegistyVector, std::to_string(collected));
                progress.ShowBar(ProgressBar::Collection, ProgressPercent(counter, total));
            }
            set.groups.push_back(std::move(layout));
            CheckCancel(flags);
        }
    }
    return set;
}

} // namespace fenwold
