#include "unit/RunLengthUnitFile.h"

#include "image/FrameStreams.h"
#include "image/UninitialisedAllocator.h"
#include "platform/BinaryReader.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <limits>
#include <optional>
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

// One animation's frames as alpha-keyed colour streams, back to back, with each one's length
// in bytes.
struct EncodedFrames {
    ByteBuffer streams;
    std::vector<std::uint32_t> lengths;

    // The total T of the frame block (the sum of the lengths; the file keeps it in 32 bits).
    std::uint32_t Total() const { return static_cast<std::uint32_t>(streams.size()); }
    // The block: T, the offsets and the data area, where each stream is followed by as many
    // zero bytes as it has.
    std::size_t BlockSize() const { return 4 + 4 * lengths.size() + 2 * streams.size(); }
};

// The planes a frame is decoded into, kept from frame to frame.
struct FramePlanes {
    UninitialisedVector<Pixel555> pixels;
    UninitialisedVector<std::uint8_t> alpha;
};

// The streams of an animation's frames, with every pixel converted to Pixel565 when `as565`.
// `highBit` is set when a Pixel555 frame holds a pixel with bit 15 set (only a file from
// elsewhere can bring one in).
EncodedFrames EncodeFrames(const RegisteredAnimation& animation, bool as565, FramePlanes& planes,
                           bool& highBit) {
    const int width = animation.width;
    const int height = animation.height;
    planes.pixels.resize(PixelCount(animation));
    planes.alpha.resize(PixelCount(animation));
    const std::size_t bound = AlphaKeyed16Bound(width, height);
    EncodedFrames encoded;
    encoded.lengths.reserve(animation.frames.size());
    for (const auto& frame : animation.frames) {
        DecodeFramePixels(frame.pixelStream, width, height, planes.pixels.data());
        DecodeFrameAlpha(frame.alphaStream, width, height, planes.alpha.data());
        if (as565) {
            for (auto& pixel : planes.pixels) {
                pixel = ToPixel565(pixel);
            }
        } else {
            highBit = highBit || std::any_of(planes.pixels.begin(), planes.pixels.end(),
                                             [](Pixel555 pixel) { return pixel & 0x8000; });
        }
        const std::size_t at = encoded.streams.size();
        if (encoded.streams.capacity() < at + bound) {
            encoded.streams.reserve(std::max(2 * encoded.streams.capacity(), at + bound));
        }
        encoded.streams.resize(at + bound);
        const std::size_t length =
            EncodeAlphaKeyed16(planes.pixels.data(), planes.alpha.data(), width, height, width,
                               width, encoded.streams.data() + at);
        encoded.streams.resize(at + length);
        encoded.lengths.push_back(static_cast<std::uint32_t>(length));
        if (encoded.streams.size() > std::numeric_limits<std::uint32_t>::max()) {
            throw std::length_error("the frames of animation " + std::to_string(animation.index) +
                                    " take more than a frame block can hold (4 GB)");
        }
    }
    return encoded;
}

std::uint16_t Load16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

void Store16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Store32(std::uint8_t* at, std::uint32_t value) {
    Store16(at, static_cast<std::uint16_t>(value));
    Store16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

// Converts the colours of an alpha-keyed stream to Pixel565 in place: the values of every token
// that is not transparent. Encoding the converted pixels gives the same tokens, because the
// conversion keeps pixels that differ different (bit 15 aside).
void ConvertStreamTo565(std::uint8_t* stream, std::size_t length) {
    constexpr std::uint16_t kRowEnd = 0xFFFF;
    std::uint8_t* const end = stream + length;
    while (stream != end) {
        std::uint8_t* at = stream + 2; // after the row's length
        for (std::uint16_t token = Load16(at); token != kRowEnd; token = Load16(at)) {
            at += 2;
            const int count = (token >> 8) & 0x7F;
            const int values = (token & 0x8000) != 0 ? 1 : count;
            if ((token & 0xFF) != 0) {
                for (int i = 0; i < values; ++i) {
                    Store16(at + 2 * i, ToPixel565(Load16(at + 2 * i)));
                }
            }
            at += 2 * values;
        }
        stream = at + 2; // after the terminator
    }
}

// The file as the pieces it is made of, pointing into the buffers kept here: the records, then
// each frame block's total and offsets followed by its streams, each stream with as many zero
// bytes after it as it has. Neither the file nor its zero bytes are ever held in one buffer.
class FilePieces {
public:
    explicit FilePieces(const std::list<RegisteredAnimation>& animations) {
        head_.magic(kRunLengthUnitMagic);
        head_.i32(kVersion);
        head_.i32(static_cast<std::int32_t>(animations.size()));
        for (const auto& animation : animations) {
            WriteRecord(head_, animation);
        }
        FramePlanes planes;
        bool highBit = false;
        for (const auto& animation : animations) {
            frames555_.push_back(EncodeFrames(animation, false, planes, highBit));
        }
        // The Pixel565 streams are the Pixel555 ones with their colours converted, unless a
        // pixel with bit 15 set could make two different colours equal: then they are encoded
        // anew.
        auto frames = frames555_.begin();
        for (const auto& animation : animations) {
            frames565_.push_back(highBit ? EncodeFrames(animation, true, planes, highBit)
                                         : ConvertedTo565(*frames++));
        }
        std::uint32_t sizeWord = 0;
        for (const auto& frames : frames555_) {
            const auto count = static_cast<std::uint32_t>(frames.lengths.size());
            sizeWord += 2 * (frames.Total() + 2 * count + 2);
        }
        head_.u32(sizeWord);
        pieces_.push_back({head_.buffer()});
        blockHeads_.reserve(frames555_.size() + frames565_.size());
        for (const auto& frames : frames555_) {
            AddFrameBlock(frames);
        }
        for (const auto& frames : frames565_) {
            AddFrameBlock(frames);
        }
    }
    FilePieces(const FilePieces&) = delete;
    FilePieces& operator=(const FilePieces&) = delete;

    const std::vector<FilePiece>& pieces() const { return pieces_; }

private:
    static EncodedFrames ConvertedTo565(const EncodedFrames& frames) {
        EncodedFrames converted = frames;
        std::uint8_t* stream = converted.streams.data();
        for (const auto length : converted.lengths) {
            ConvertStreamTo565(stream, length);
            stream += length;
        }
        return converted;
    }

    // The block's total T and offsets, then each stream followed by its zero bytes.
    void AddFrameBlock(const EncodedFrames& frames) {
        ByteBuffer& head = blockHeads_.emplace_back(4 + 4 * frames.lengths.size());
        std::uint8_t* out = head.data();
        Store32(out, frames.Total());
        std::uint32_t offset = 0;
        for (const auto length : frames.lengths) {
            out += 4;
            Store32(out, offset);
            offset += length;
        }
        pieces_.push_back({head});
        const std::uint8_t* stream = frames.streams.data();
        for (const auto length : frames.lengths) {
            pieces_.push_back({{stream, length}, length});
            stream += length;
        }
    }

    BinaryWriter head_; // the records and the size word
    std::vector<EncodedFrames> frames555_;
    std::vector<EncodedFrames> frames565_;
    std::vector<ByteBuffer> blockHeads_; // reserved, so that pieces pointing into them stay put
    std::vector<FilePiece> pieces_;
};

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
    const FilePieces pieces(animations);
    std::vector<std::uint8_t> file;
    for (const auto& piece : pieces.pieces()) {
        file.insert(file.end(), piece.bytes.begin(), piece.bytes.end());
        file.resize(file.size() + piece.zerosAfter);
    }
    return file;
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
    std::optional<FilePieces> file;
    try {
        file.emplace(animations);
    } catch (const std::length_error& tooLarge) {
        throw FileError(path.string(), tooLarge.what());
    }
    WriteFileAtomically(path, file->pieces());
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
