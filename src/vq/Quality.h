#pragma once

#include "image/RegisteredAnimation.h"
#include "vq/CompressionResult.h"
#include "vq/DrawCompressedFrame.h"
#include "vq/TrainingBlocks.h"

#include <cstdint>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fenwold {

// Squared differences of 8-bit channel values and how many channel values were compared: what
// a peak signal to noise ratio is made of. Tallies are pooled by adding them.
struct ErrorTally {
    double squares = 0.0;
    std::uint64_t channels = 0;

    ErrorTally& operator+=(const ErrorTally& other) {
        squares += other.squares;
        channels += other.channels;
        return *this;
    }
    bool Exact() const { return squares == 0.0; }
    // 10 log10(255^2 / mean square) in dB; infinite when nothing was lost (also when nothing
    // was compared).
    double Psnr() const;
};

// What the compression lost of one animation, and what reading its pictures lost before that
// (none when its source pictures are unknown or cannot be read as they were).
struct AnimationQuality {
    ErrorTally compression;
    std::optional<ErrorTally> conversion;
};

// The figures of a run, one per animation in run order.
struct QualityFigures {
    std::vector<AnimationQuality> animations;

    // Every compared value of the unit counted once: large animations weigh more.
    ErrorTally Pooled() const;
    // The animation with the lowest PSNR, the first of equals; -1 without animations.
    int Worst() const;
    // The conversion pooled over the animations whose sources could be read, and how many those
    // were; none when there were none.
    std::optional<ErrorTally> PooledConversion() const;
    int ConversionsMeasured() const;
};

// "31.42 dB", or "lossless" when nothing was lost.
std::string PsnrText(const ErrorTally& tally);

// The figures as lines for the end of a compression window: the unit's PSNR with its worst
// animation, and the reading's.
std::vector<std::string> QualityLines(const QualityFigures& figures);
// The same in one line, for a status bar.
std::string QualitySummary(const QualityFigures& figures);

// One compressed animation as the drawing reads it.
struct CompressedAnimationView {
    int maskFlag = 0;
    int blockFlag = 1;
    std::vector<FrameTables> frames; // frame i of the animation
};

CompressedAnimationView ViewOf(const EncodedAnimation& animation);

// The same for a document's record: frame nodes with width, height, index and bytes, one index
// table per group of four frames.
template <typename Animation>
CompressedAnimationView ViewOfRecord(const Animation& animation) {
    CompressedAnimationView view{animation.maskFlag, animation.blockFlag, {}};
    for (const auto& frame : animation.alphaTables) {
        const auto table = std::next(std::begin(animation.indexTables), frame.index / 4);
        view.frames.push_back(FrameTables{frame.width, frame.height, frame.index,
                                          TableBytes(*table), TableBytes(frame)});
    }
    return view;
}

// True when the compressed animation has the registered one's frame count and every frame its
// size, so that the two can be compared frame by frame.
bool SameFrames(const RegisteredAnimation& registered, const CompressedAnimationView& compressed);

// One frame as the encoder saw it and as the compression draws it, both over black, with the
// pixels that either shows and the tally over them.
struct FrameComparison {
    int width = 0;
    int height = 0;
    std::vector<Pixel555> registered;
    std::vector<Pixel555> compressed;
    std::vector<std::uint8_t> visible; // 1 where either picture shows the pixel
    ErrorTally tally;
};

// Compares registered frames with their compressed drawing through one codebook (the in-use
// table: 16 pixels an entry with block flag 1, 8 with block flag 0).
//
// The encoder sees a pixel under the team mask as its grey level and any other pixel with alpha
// as its colour. The registered frame is drawn from those colours with the very weights the
// compressed drawing gives each pixel (its alpha levels, team pixels opaque), so the figure
// holds only what the lookup table loses: a frame whose blocks are all kept exactly compares
// equal.
class CompressionComparer {
public:
    CompressionComparer(std::span<const Pixel555> codebook, int blockFlag);

    // The animations must be SameFrames.
    FrameComparison CompareFrame(const RegisteredAnimation& registered, int frame,
                                 const CompressedAnimationView& compressed) const;
    // Every frame, and each against its source picture.
    AnimationQuality Measure(const RegisteredAnimation& registered,
                             const CompressedAnimationView& compressed) const;

private:
    std::span<const Pixel555> codebook_;
    int blockFlag_;
};

// The figures of a whole run, with the conversion measured against each frame's source picture;
// the lists must pair up SameFrames animations.
QualityFigures MeasureCompression(const AnimationRefs& registered,
                                  const std::vector<CompressedAnimationView>& compressed,
                                  std::span<const Pixel555> codebook, int blockFlag);
// The same for a compression result, before any document has taken it.
QualityFigures MeasureCompression(const AnimationRefs& registered, const CompressionResult& result);

} // namespace fenwold
