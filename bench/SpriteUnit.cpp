#include "SpriteUnit.h"

#include "image/FrameStreams.h"
#include "image/SampleArt.h"

namespace fenwold::bench {

std::vector<RegisteredAnimation> MakeSpriteUnit(int animations, int frames, int size) {
    const SampleOptions options{animations, frames, size, size, 1};
    std::vector<RegisteredAnimation> unit(static_cast<std::size_t>(animations));
    for (int a = 0; a < animations; ++a) {
        RegisteredAnimation& animation = unit[static_cast<std::size_t>(a)];
        animation.width = static_cast<std::uint16_t>(size);
        animation.height = static_cast<std::uint16_t>(size);
        animation.frameCount = frames;
        animation.maskFlag = a % 2;
        for (int f = 0; f < frames; ++f) {
            const SamplePicture picture = DrawSampleFrame(options, a, f);
            std::vector<Pixel555> pixels;
            std::vector<std::uint8_t> alpha, mask;
            for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
                pixels.push_back(ToPixel555(picture.pixels[i]));
                alpha.push_back(QuantiseAlpha(AlphaOf(picture.pixels[i])));
                mask.push_back(IsUnitMaskSelected(picture.mask[i]) ? 1 : 0);
            }
            RegisteredFrame frame;
            frame.width = size;
            frame.height = size;
            frame.pixelStream = EncodeFramePixels(pixels, size, size);
            frame.alphaStream = EncodeFrameAlpha(alpha, size, size);
            if (animation.maskFlag != 0) {
                frame.maskStream = EncodeFrameAlpha(mask, size, size);
            }
            animation.frames.push_back(std::move(frame));
        }
    }
    return unit;
}

} // namespace fenwold::bench
