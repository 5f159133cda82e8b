#include "vq/VqFixtures.h"

#include "image/FrameStreams.h"

#include <random>

namespace fenwold::test {

CompressionResult CompressQuietly(const AnimationRefs& animations,
                                  CompressionParameters parameters) {
    RecordingProgress progress;
    return CompressAnimations(animations, parameters, 5, progress);
}

CompressionParameters NoLbg() {
    CompressionParameters parameters;
    parameters.noLbg = true;
    return parameters;
}

TinyFrame SolidFrame(int width, int height, Pixel555 colour, std::uint8_t alpha) {
    const auto size = static_cast<std::size_t>(width * height);
    return {std::vector<Pixel555>(size, colour), std::vector<std::uint8_t>(size, alpha), {}};
}

TinyFrame NoisyFrame(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    TinyFrame frame = SolidFrame(width, height, 0);
    for (Pixel555& pixel : frame.pixels) {
        pixel = static_cast<Pixel555>(random() & 0x7FFF);
    }
    return frame;
}

std::vector<RegisteredAnimation> NoisyUnit() {
    std::vector<RegisteredAnimation> animations;
    for (unsigned a = 0; a < 3; ++a) {
        std::vector<TinyFrame> frames;
        for (unsigned f = 0; f < 6; ++f) {
            frames.push_back(NoisyFrame(16, 12, a * 10 + f));
            for (Pixel555& pixel : frames.back().pixels) {
                pixel &= 0x6318;
            }
            frames.back().alpha[5] = 0;
        }
        animations.push_back(MakeAnimation(16, 12, frames));
    }
    return animations;
}

CompressionResult ResultPastItsTable() {
    CompressionResult result;
    result.entryCount = 1;
    result.lookupTable.assign(48, 0);
    EncodedAnimation& animation = result.animations.emplace_back();
    animation.indexTables.push_back({0x03, 0x81, 0x01, 0x00}); // entry 1 of 1
    animation.alphaTables.push_back({2, 1, {0x02, 0x82, 0xFF}});
    return result;
}

RegisteredAnimation MakeAnimation(int width, int height, const std::vector<TinyFrame>& frames) {
    RegisteredAnimation animation;
    animation.width = static_cast<std::uint16_t>(width);
    animation.height = static_cast<std::uint16_t>(height);
    animation.frameCount = static_cast<std::int32_t>(frames.size());
    for (const TinyFrame& source : frames) {
        RegisteredFrame frame;
        frame.width = width;
        frame.height = height;
        frame.pixelStream = EncodeFramePixels(source.pixels, width, height);
        frame.alphaStream = EncodeFrameAlpha(source.alpha, width, height);
        if (!source.mask.empty()) {
            frame.maskStream = EncodeFrameAlpha(source.mask, width, height);
            animation.maskFlag = 1;
        }
        animation.frames.push_back(std::move(frame));
    }
    return animation;
}

std::vector<std::string> RecordingProgress::TextsOf(ProgressField field) const {
    std::vector<std::string> result;
    for (const auto& [f, text] : texts) {
        if (f == field) {
            result.push_back(text);
        }
    }
    return result;
}

} // namespace fenwold::test
