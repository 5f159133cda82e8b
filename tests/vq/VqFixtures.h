#pragma once

#include "image/RegisteredAnimation.h"
#include "vq/CompressionProgress.h"
#include "vq/CompressionResult.h"
#include "vq/CompressionRun.h"

#include <string>
#include <utility>
#include <vector>

namespace fenwold::test {

// One picture of a tiny animation; an empty mask means no mask plane.
struct TinyFrame {
    std::vector<Pixel555> pixels;
    std::vector<std::uint8_t> alpha;
    std::vector<std::uint8_t> mask;
};

TinyFrame SolidFrame(int width, int height, Pixel555 colour, std::uint8_t alpha = 248);
// Every pixel a different colour, opaque.
TinyFrame NoisyFrame(int width, int height, unsigned seed);

// Three animations of six 16 x 12 frames of noise in fewer colours than the noise, so that
// entries share blocks, each frame with one transparent pixel.
std::vector<RegisteredAnimation> NoisyUnit();

// A registered animation holding the frames as frame streams, as the loaders leave it.
RegisteredAnimation MakeAnimation(int width, int height, const std::vector<TinyFrame>& frames);

// Compresses in one go with seed 5, the progress unseen.
CompressionResult CompressQuietly(const AnimationRefs& animations,
                                  CompressionParameters parameters);
CompressionParameters NoLbg();

// A compression result whose one index table points past its one-entry lookup table: every
// document refuses it.
CompressionResult ResultPastItsTable();

class RecordingProgress final : public CompressionProgress {
public:
    void ShowText(ProgressField field, std::string_view text) override {
        texts.emplace_back(field, std::string(text));
    }
    void ShowBar(ProgressBar bar, int percent) override { bars.emplace_back(bar, percent); }
    std::vector<std::string> TextsOf(ProgressField field) const;

    std::vector<std::pair<ProgressField, std::string>> texts;
    std::vector<std::pair<ProgressBar, int>> bars;
};

class StoringSink final : public CompressionResultSink {
public:
    bool AcceptCompressionResult(CompressionResult result) override {
        results.push_back(std::move(result));
        return accepting;
    }
    std::vector<CompressionResult> results;
    bool accepting = true;
};

} // namespace fenwold::test
