#pragma once

#include "image/Pixel.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace fenwold {

inline constexpr int kMaxSequenceLength = 200; // entries of a play sequence
inline constexpr int kPointCount = 10;         // numbered points 0-9
inline constexpr int kTempBufferSize = 10;

// One loaded picture of a registered animation, held as run-length frame streams.
struct RegisteredFrame {
    std::int32_t reserved0 = 0; // two values the loaders never set
    std::int32_t reserved1 = 0;
    std::int32_t cropLeft = 0; // the frame's origin in its source picture
    std::int32_t cropTop = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t maskPictureWidth = 0;
    std::int32_t maskPictureHeight = 0;
    std::vector<std::uint8_t> alphaStream;  // 8-bit frame stream; its size is the stream length
    std::vector<std::uint16_t> pixelStream; // 16-bit frame stream, in slots
    std::vector<std::uint8_t> maskStream;   // empty while no masks are loaded
    // The picture the frame was read from, for measuring what reading it lost; never stored,
    // empty when unknown (frames of a run-length file).
    std::filesystem::path source;
    // The size of the picture the frame was cut from, which its mask picture must have; 0 for a
    // frame read from a run-length file, which does not store it.
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
};

// Everything of a registered animation but its frames: the part the compression result copies
// into the unit's animation record.
struct RegisteredAnimationFields {
    std::int32_t positionX = 0; // top-left of the crop box in the source pictures
    std::int32_t positionY = 0;
    std::int32_t extra0 = 0; // two further values, stored with the position
    std::int32_t extra1 = 0;
    std::int32_t index = 0;
    std::int32_t groupNumber = -1;
    std::int32_t frameCounter = 0; // the loader's running frame counter at the last frame
    std::int32_t maskFlag = 0;     // 1 once mask pictures were added
    std::int32_t frameCount = 0;
    std::int32_t sequenceLength = 0;
    std::array<std::uint16_t, kMaxSequenceLength> attribute{};
    std::array<std::uint16_t, kMaxSequenceLength> frameNumber{};
    std::array<std::uint16_t, kMaxSequenceLength> delay = Filled<std::uint16_t>(4);
    std::array<std::uint8_t, kMaxSequenceLength> alphaValue = Filled<std::uint8_t>(255);
    std::array<std::int16_t, kPointCount> pointX{};
    std::array<std::int16_t, kPointCount> pointY{};
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t checkBoxX = 0;
    std::uint16_t checkBoxY = 0;
    std::uint16_t checkBoxWidth = 1;
    std::uint16_t checkBoxHeight = 1;
    std::array<std::int32_t, kTempBufferSize> tempBuffer{};

private:
    template <typename T>
    static constexpr std::array<T, kMaxSequenceLength> Filled(T value) {
        std::array<T, kMaxSequenceLength> result{};
        result.fill(value);
        return result;
    }
};

// A registered, not yet compressed animation. Every frame has the animation's width and height.
struct RegisteredAnimation : RegisteredAnimationFields {
    std::vector<RegisteredFrame> frames;
};

} // namespace fenwold
