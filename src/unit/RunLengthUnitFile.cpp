#include "unit/RunLengthUnitFile.h"

#include "image/FrameStreams.h"
#include "platform/BinaryReader.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <string>

namespace fenwold {
namespace {

constexpr std::int32_t kVersion = 1;
constexpr std::int32_t kMaxFrames = 200;
// Every token of an alpha-keyed row takes at least two slots and covers at most 126 pixels, so a
// stream of s slots can describe at most 63 * s pixels.
constexpr std::uint64_t kPixelsPerSlot = 63;

std::size_t PixelCount(const RegisteredAnimationFields& animation) {
    return static_cast<std::size_t>(animation.width) * animation.height;
}

void WriteRecord(BinaryWriter& out, const RegisteredAnimation& animation) {
    const std::int32_t n = animation.sequenceLength;
    out.i32(static_cast<std::int32_t>(animation.frames.size()));
    out.i32(n);
    out.u16(animation.width);
    out.u16(animation.height);
    out.u16(animation.checkBoxX);
    out.u16(animation.checkBoxY);
    out.u16(animation.checkBoxWidth);
    out.u16(animation.checkBoxHeight);
    out.write(animation.pointX);
    out.write(animation.pointY);
    out.write(std::span(animation.attribute).first(n));
    out.write(std::span(animation.delay).first(n));
    out.bytes(std::span(animation.alphaValue).first(n));
    out.write(std::span(animation.frameNumber).first(n));
    out.write(animation.tempBuffer);
}

// One animation's frames, each an alpha-keyed colour stream; the data area puts frame i at byte
// 2 * O_i, where O_i counts the bytes of the frames before it.
struct FrameBlock {
    std::uint32_t total = 0;
    std::vector<std::uint32_t> offsets;
    std::vector<std::uint8_t> data;
};

FrameBlock EncodeFrameBlock(const RegisteredAnimation& animation, bool as565) {
    const int width = animation.width;
    const int height = animation.height;
    std::vector<std::vector<std::uint16_t>> streams;
    for (const auto& frame : animation.frames) {
        auto pixels = DecodeFramePixels(frame.pixelStream, width, height);
        const auto alpha = DecodeFrameAlpha(frame.alphaStream, width, height);
        if (as565) {
            for (auto& pixel : pixels) {
                pixel = ToPixel565(pixel);
            }
        }
        streams.push_back(
            EncodeAlphaKeyed16(pixels.data(), alpha.data(), width, height, width, width));
    }
    FrameBlock block;
    for (const auto& stream : streams) {
        block.offsets.push_back(block.total);
        block.total += static_cast<std::uint32_t>(stream.size() * 2);
    }
    block.data.assign(static_cast<std::size_t>(block.total) * 2, 0);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        std::uint8_t* target = block.data.data() + 2 * static_cast<std::size_t>(block.offsets[i]);
        for (const std::uint16_t slot : streams[i]) {
            *target++ = static_cast<std::uint8_t>(slot);
            *target++ = static_cast<std::uint8_t>(slot >> 8);
        }
    }
    return block;
}

void WriteFrameBlock(BinaryWriter& out, const FrameBlock& block) {
    out.u32(block.total);
    for (const auto offset : block.offsets) {
        out.u32(offset);
    }
    out.bytes(block.data);
}

RegisteredAnimation ReadRecord(BinaryReader& in, std::int32_t index, std::int32_t& frameCount) {
    RegisteredAnimation animation;
    animation.index = index;
    frameCount = in.i32();
    const std::int32_t n = in.i32();
    if (frameCount < 0 || frameCount > kMaxFrames) {
        in.fail("animation " + std::to_string(index) + " has " + std::to_string(frameCount) +
                " frames; the file holds at most 200");
    }
    if (n < 0 || n > kMaxSequenceLength) {
        in.fail("animation " + std::to_string(index) + " has a sequence of " + std::to_string(n) +
                " entries; at most 200 are possible");
    }
    animation.frameCount = frameCount;
    animation.sequenceLength = n;
    animation.width = in.u16();
    animation.height = in.u16();
    animation.checkBoxX = in.u16();
    animation.checkBoxY = in.u16();
    animation.checkBoxWidth = in.u16();
    animation.checkBoxHeight = in.u16();
    in.read(animation.pointX);
    in.read(animation.pointY);
    in.read(std::span(animation.attribute).first(n));
    in.read(std::span(animation.delay).first(n));
    in.read(std::span(animation.alphaValue).first(n));
    in.read(std::span(animation.frameNumber).first(n));
    in.read(animation.tempBuffer);
    return animation;
}

void ReadFrameBlock(BinaryReader& in, RegisteredAnimation& animation, std::int32_t frameCount) {
    const std::string which = "animation " + std::to_string(animation.index);
    const std::uint32_t total = in.u32();
    std::vector<std::uint32_t> offsets(static_cast<std::size_t>(frameCount));
    for (auto& offset : offsets) {
        offset = in.u32();
    }
    in.requireAvailable(total, 2, which + " frame data");
    const auto data = in.view(static_cast<std::size_t>(total) * 2);
    std::vector<std::uint16_t> slots(data.size() / 2);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        slots[i] = static_cast<std::uint16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    const int width = animation.width;
    const int height = animation.height;
    if (frameCount > 0 && height > 0 && width > kMaxStreamWidth) {
        in.fail(which + " is " + std::to_string(width) + " pixels wide; a frame holds rows of at " +
                "most " + std::to_string(kMaxStreamWidth));
    }
    for (std::int32_t i = 0; i < frameCount; ++i) {
        const std::string frameName = which + " frame " + std::to_string(i);
        // A stream begins at byte 2 * offset, that is at slot `offset`.
        if (offsets[i] >= slots.size() && !(width == 0 || height == 0)) {
            in.fail(frameName + " begins outside the frame data");
        }
        const auto stream = std::span<const std::uint16_t>(slots).subspan(
            std::min<std::size_t>(offsets[i], slots.size()));
        if (PixelCount(animation) > kPixelsPerSlot * stream.size()) {
            in.fail(frameName + " is " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels, more than its data can describe");
        }
        std::vector<Pixel555> pixels(PixelCount(animation), 0);
        std::vector<std::uint8_t> alpha(PixelCount(animation), 0);
        if (!DecodeAlphaKeyed16(stream, pixels.data(), alpha.data(), width, height, width, width)) {
            in.fail(frameName + " has a broken pixel stream");
        }
        RegisteredFrame frame;
        frame.width = width;
        frame.height = height;
        frame.pixelStream = EncodeFramePixels(pixels, width, height);
        frame.alphaStream = EncodeFrameAlpha(alpha, width, height);
        animation.frames.push_back(std::move(frame));
    }
}

void SkipFrameBlock(BinaryReader& in, const RegisteredAnimation& animation,
                    std::int32_t frameCount) {
    const std::string which = "animation " + std::to_string(animation.index) + " (Pixel565 part)";
    const std::uint32_t total = in.u32();
    in.requireAvailable(static_cast<std::uint64_t>(frameCount), 4, which + " frame offsets");
    in.skip(static_cast<std::size_t>(frameCount) * 4);
    in.requireAvailable(total, 2, which + " frame data");
    in.skip(static_cast<std::size_t>(total) * 2);
}

} // namespace

std::vector<std::uint8_t>
EncodeRunLengthUnitFile(const std::list<RegisteredAnimation>& animations) {
    BinaryWriter out;
    out.magic(kRunLengthUnitMagic);
    out.i32(kVersion);
    out.i32(static_cast<std::int32_t>(animations.size()));
    for (const auto& animation : animations) {
        WriteRecord(out, animation);
    }
    std::vector<FrameBlock> blocks555;
    std::uint32_t sizeWord = 0;
    for (const auto& animation : animations) {
        blocks555.push_back(EncodeFrameBlock(animation, false));
        const auto frames = static_cast<std::uint32_t>(animation.frames.size());
        sizeWord += 2 * (blocks555.back().total + 2 * frames + 2);
    }
    out.u32(sizeWord);
    for (const auto& block : blocks555) {
        WriteFrameBlock(out, block);
    }
    for (const auto& animation : animations) {
        WriteFrameBlock(out, EncodeFrameBlock(animation, true));
    }
    return out.take();
}

void WriteRunLengthUnitFile(const std::filesystem::path& path,
                            const std::list<RegisteredAnimation>& animations) {
    for (const auto& animation : animations) {
        if (animation.frames.size() > static_cast<std::size_t>(kMaxFrames) ||
            animation.sequenceLength > kMaxSequenceLength) {
            throw FileError(path.string(), "animation " + std::to_string(animation.index) +
                                               " has more frames or sequence entries than the "
                                               "file can hold (200)");
        }
    }
    WriteFileAtomically(path, EncodeRunLengthUnitFile(animations));
}

std::list<RegisteredAnimation> ReadRunLengthUnitFile(const std::string& name,
                                                     std::span<const std::uint8_t> bytes) {
    BinaryReader in(name, bytes);
    return ReadRunLengthUnitFile(in);
}

std::list<RegisteredAnimation> ReadRunLengthUnitFile(BinaryReader& in) {
    in.expectMagic(kRunLengthUnitMagic);
    in.i32(); // version
    const std::int32_t count = in.i32();
    // Each record takes at least 100 bytes, so the count cannot claim more than the file holds.
    if (count < 0) {
        in.fail("the animation count is negative");
    }
    in.requireAvailable(static_cast<std::uint64_t>(count), 100, "the animation records");
    std::list<RegisteredAnimation> animations;
    std::vector<std::int32_t> frameCounts;
    for (std::int32_t k = 0; k < count; ++k) {
        std::int32_t frames = 0;
        animations.push_back(ReadRecord(in, k, frames));
        frameCounts.push_back(frames);
    }
    in.u32(); // size word
    std::size_t k = 0;
    for (auto& animation : animations) {
        ReadFrameBlock(in, animation, frameCounts[k++]);
    }
    // The Pixel565 part is not used, but a file cut inside it is damaged all the same.
    k = 0;
    for (const auto& animation : animations) {
        SkipFrameBlock(in, animation, frameCounts[k++]);
    }
    return animations;
}

std::list<RegisteredAnimation> ReadRunLengthUnitFile(const std::filesystem::path& path) {
    // The magic is checked before the rest of the file is read.
    BinaryReader::FromFileHead(path, BinaryReader::kMagicSize).expectMagic(kRunLengthUnitMagic);
    BinaryReader in = BinaryReader::FromFile(path);
    return ReadRunLengthUnitFile(in);
}

} // namespace fenwold
