#include "unit/RunLengthUnitFile.h"

#include "image/FrameStreams.h"
#include "image/UninitialisedAllocator.h"
#include "platform/BinaryReader.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>
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

void Store32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// ToPixel565 four pixels at a time: bit 15 is masked off first, so that no lane's shift reaches
// the next lane.
void ConvertTo565(std::span<Pixel555> pixels) {
    constexpr std::uint64_t kShifted = 0x7FE07FE07FE07FE0;
    constexpr std::uint64_t kKept = 0x001F001F001F001F;
    std::size_t i = 0;
    for (; i + 4 <= pixels.size(); i += 4) {
        std::uint64_t four = 0;
        std::memcpy(&four, &pixels[i], sizeof four);
        four = ((four & kShifted) << 1) | (four & kKept);
        std::memcpy(&pixels[i], &four, sizeof four);
    }
    for (; i < pixels.size(); ++i) {
        pixels[i] = ToPixel565(pixels[i]);
    }
}

// The planes a frame is decoded into and the stream it is encoded into, kept from frame to
// frame, so that the file is written without holding more than one frame's stream.
struct FrameScratch {
    UninitialisedVector<Pixel555> pixels;
    UninitialisedVector<std::uint8_t> alpha;
    ByteBuffer stream;
    PixelSlots pixelSlots;
};

// A frame's alpha-keyed colour stream, its pixels converted to Pixel565 when `as565`; with
// `markPixels` the slots that hold pixels are marked in the scratch's pixel slots.
std::span<const std::uint8_t> EncodeFrame(const RegisteredAnimation& animation,
                                          const RegisteredFrame& frame, bool as565,
                                          FrameScratch& scratch, bool markPixels = false) {
    const int width = animation.width;
    const int height = animation.height;
    scratch.pixels.resize(PixelCount(animation));
    scratch.alpha.resize(PixelCount(animation));
    scratch.stream.resize(AlphaKeyed16Bound(width, height));
    DecodeFramePixels(frame.pixelStream, width, height, scratch.pixels.data());
    DecodeFrameAlpha(frame.alphaStream, width, height, scratch.alpha.data());
    if (as565) {
        ConvertTo565(scratch.pixels);
    }
    const std::size_t length =
        markPixels ? EncodeAlphaKeyed16(scratch.pixels.data(), scratch.alpha.data(), width, height,
                                        width, width, scratch.stream.data(), scratch.pixelSlots)
                   : EncodeAlphaKeyed16(scratch.pixels.data(), scratch.alpha.data(), width, height,
                                        width, width, scratch.stream.data());
    return {scratch.stream.data(), length};
}

// Writes a frame block for every animation: its total T and offsets (filled in once its frames
// are written), then each frame's alpha-keyed colour stream, as `streamOf(animation, frame)`
// gives it, followed by as many zero bytes as it has. Returns the sum over the blocks of
// 2 (T + 2 n + 2), n the block's frame count.
template <typename StreamOf>
std::uint32_t WriteFrameBlocks(FileSink& sink, const std::list<RegisteredAnimation>& animations,
                               StreamOf streamOf) {
    std::uint32_t sizeWord = 0;
    for (const auto& animation : animations) {
        const std::size_t count = animation.frames.size();
        std::vector<std::uint8_t> head(4 + 4 * count);
        const std::uint64_t headAt = sink.size();
        sink.Append(head);
        std::uint64_t total = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::span<const std::uint8_t> stream = streamOf(animation, animation.frames[i]);
            Store32(head.data() + 4 + 4 * i, static_cast<std::uint32_t>(total));
            total += stream.size();
            if (total > std::numeric_limits<std::uint32_t>::max()) {
                throw std::length_error("the frames of animation " +
                                        std::to_string(animation.index) +
                                        " take more than a frame block can hold (4 GB)");
            }
            sink.Append(stream, stream.size());
        }
        const auto blockTotal = static_cast<std::uint32_t>(total);
        Store32(head.data(), blockTotal);
        sink.Overwrite(headAt, head);
        sizeWord += 2 * (blockTotal + 2 * static_cast<std::uint32_t>(count) + 2);
    }
    return sizeWord;
}

// The records and the size word, then the Pixel555 frame blocks and the Pixel565 ones. A frame's
// Pixel565 stream is its Pixel555 stream read back and its pixel slots converted, which takes a
// fraction of encoding it again; only a colour with bit 15 makes it encoded again.
void WriteUnitFile(FileSink& sink, const std::list<RegisteredAnimation>& animations) {
    BinaryWriter head;
    head.magic(kRunLengthUnitMagic);
    head.i32(kVersion);
    head.i32(static_cast<std::int32_t>(animations.size()));
    for (const auto& animation : animations) {
        WriteRecord(head, animation);
    }
    head.u32(0); // the size word, known once the Pixel555 blocks are written
    sink.Append(head.buffer());
    const std::uint64_t sizeWordAt = sink.size() - 4;
    FrameScratch scratch;
    struct WrittenStream {
        std::uint64_t at;
        std::size_t length;
        PixelSlots pixelSlots; // one bit for every two bytes of the stream
    };
    std::vector<WrittenStream> written;
    std::array<std::uint8_t, 4> sizeWord{};
    Store32(sizeWord.data(),
            WriteFrameBlocks(sink, animations, [&](const auto& animation, const auto& frame) {
                const auto stream = EncodeFrame(animation, frame, false, scratch, true);
                // Kept at their size: the scratch's marks have room for the longest stream.
                written.push_back({sink.size(),
                                   stream.size(),
                                   {scratch.pixelSlots.begin(), scratch.pixelSlots.end()}});
                return stream;
            }));
    sink.Overwrite(sizeWordAt, sizeWord);
    auto next = written.begin();
    WriteFrameBlocks(sink, animations, [&](const auto& animation, const auto& frame) {
        const WrittenStream& place = *next++;
        scratch.stream.resize(place.length);
        sink.Read(place.at, scratch.stream);
        if (ConvertAlphaKeyed16To565(scratch.stream, place.pixelSlots)) {
            return std::span<const std::uint8_t>(scratch.stream);
        }
        return EncodeFrame(animation, frame, true, scratch);
    });
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
    ByteSink file;
    WriteUnitFile(file, animations);
    return std::move(file.bytes());
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
    try {
        WriteFileAtomically(path,
                            [&animations](FileSink& sink) { WriteUnitFile(sink, animations); });
    } catch (const std::length_error& tooLarge) {
        throw FileError(path.string(), tooLarge.what());
    }
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
