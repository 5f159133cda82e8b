#include "unit/UnitRecordIo.h"

#include "vq/TableValidation.h"

#include <span>
#include <string>

namespace fenwold {
namespace {

template <typename Node>
void WriteBlock(BinaryWriter& out, const std::vector<Node>& nodes) {
    out.u32(BlockTotal(nodes));
    std::uint32_t offset = 0;
    for (const auto& node : nodes) {
        out.u32(offset);
        offset += static_cast<std::uint32_t>(node.bytes.size());
    }
    for (const auto& node : nodes) {
        out.bytes(node.bytes);
    }
}

// The pieces of one block, as views into the reader's bytes. Offsets must start at 0, never go
// back and stay inside the data.
std::vector<std::span<const std::uint8_t>> ReadBlock(BinaryReader& in, std::int32_t pieceCount,
                                                     std::string_view what) {
    const std::string name(what);
    const std::uint32_t total = in.u32();
    in.requireAvailable(pieceCount, 4, name + " offsets");
    std::vector<std::uint32_t> offsets(static_cast<std::size_t>(pieceCount));
    for (auto& offset : offsets) {
        offset = in.u32();
    }
    in.requireAvailable(total, 1, name + " data");
    if (offsets.empty() && total != 0) {
        in.fail(name + " holds " + std::to_string(total) + " bytes but no pieces");
    }
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if ((i == 0 && offsets[i] != 0) || offsets[i] < previous || offsets[i] > total) {
            in.fail(name + " offset " + std::to_string(i) + " (" + std::to_string(offsets[i]) +
                    ") is out of order or outside the " + std::to_string(total) + " data bytes");
        }
        previous = offsets[i];
    }
    const auto data = in.view(total);
    std::vector<std::span<const std::uint8_t>> pieces;
    pieces.reserve(offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const std::uint32_t end = i + 1 < offsets.size() ? offsets[i + 1] : total;
        pieces.push_back(data.subspan(offsets[i], end - offsets[i]));
    }
    return pieces;
}

} // namespace

std::int32_t PeekUnitFileVersion(BinaryReader& reader) {
    const std::size_t start = reader.position();
    reader.skip(BinaryReader::kMagicSize);
    const std::int32_t version = reader.i32();
    reader.seek(start);
    return version;
}

void CheckCount(BinaryReader& reader, std::int64_t value, std::int64_t limit,
                std::string_view what) {
    if (value < 0 || value > limit) {
        reader.fail("the " + std::string(what) + " " + std::to_string(value) + " is outside 0 to " +
                    std::to_string(limit));
    }
}

std::int32_t ReadBlockFlag(BinaryReader& reader) {
    const std::int32_t flag = reader.i32();
    CheckCount(reader, flag, 1, "codebook block flag");
    return flag;
}

void CheckStorable(const UnitAnimation& animation, std::int32_t position,
                   const std::filesystem::path& path) {
    const auto refuse = [&](std::string what, std::int64_t value, std::int64_t limit) {
        throw FileError(path.string(), "animation " + std::to_string(position) + ": its " + what +
                                           " " + std::to_string(value) +
                                           " is outside what the file can hold (0 to " +
                                           std::to_string(limit) + ")");
    };
    if (animation.sequenceLength < 0 || animation.sequenceLength > kMaxSequenceLength) {
        refuse("sequence length", animation.sequenceLength, kMaxSequenceLength);
    }
    if (animation.FrameCount() > kMaxBlockPieces) {
        refuse("frame count", animation.FrameCount(), kMaxBlockPieces);
    }
    if (animation.IndexTableCount() > kMaxBlockPieces) {
        refuse("index table count", animation.IndexTableCount(), kMaxBlockPieces);
    }
}

void CheckEncodedTables(const UnitData& data, const std::string& name) {
    int position = 0;
    for (const auto& animation : data.animations) {
        if (!AnimationTablesFit(animation, data.codebook.Size())) {
            throw FileError(name, "animation " + std::to_string(position) +
                                      ": its encoded tables do not fit its frames or the codebook");
        }
        ++position;
    }
}

void WriteRecordHead(BinaryWriter& out, const UnitAnimation& animation) {
    out.i32(animation.FrameCount());
    out.i32(animation.sequenceLength);
    out.i32(animation.IndexTableCount());
    out.i32(animation.maskFlag);
    out.u16(animation.width);
    out.u16(animation.height);
    out.u16(animation.checkBoxX);
    out.u16(animation.checkBoxY);
    out.u16(animation.checkBoxWidth);
    out.u16(animation.checkBoxHeight);
}

BlockCounts ReadRecordHead(BinaryReader& in, UnitAnimation& animation) {
    BlockCounts counts;
    counts.frames = in.i32();
    CheckCount(in, counts.frames, kMaxBlockPieces, "frame count");
    animation.sequenceLength = in.i32();
    CheckCount(in, animation.sequenceLength, kMaxSequenceLength, "sequence length");
    counts.indexTables = in.i32();
    CheckCount(in, counts.indexTables, kMaxBlockPieces, "index table count");
    animation.maskFlag = in.i32();
    animation.width = in.u16();
    animation.height = in.u16();
    animation.checkBoxX = in.u16();
    animation.checkBoxY = in.u16();
    animation.checkBoxWidth = in.u16();
    animation.checkBoxHeight = in.u16();
    return counts;
}

void WriteSequence(BinaryWriter& out, const UnitAnimation& animation,
                   const std::array<std::uint16_t, kMaxSequenceLength>& table) {
    out.write(std::span(table).first(static_cast<std::size_t>(animation.sequenceLength)));
}

void ReadSequence(BinaryReader& in, const UnitAnimation& animation,
                  std::array<std::uint16_t, kMaxSequenceLength>& table) {
    in.read(std::span(table).first(static_cast<std::size_t>(animation.sequenceLength)));
}

void WriteGameRecordTail(BinaryWriter& out, const UnitAnimation& animation) {
    WriteSequence(out, animation, animation.attribute);
    WriteSequence(out, animation, animation.delay);
    out.bytes(std::span(animation.alphaValue).first(animation.sequenceLength));
    WriteSequence(out, animation, animation.frameNumber);
    out.write(animation.tempBuffer);
    WriteEncodedBlocks(out, animation);
}

void ReadGameRecordTail(BinaryReader& in, BlockCounts counts, UnitAnimation& animation) {
    ReadSequence(in, animation, animation.attribute);
    ReadSequence(in, animation, animation.delay);
    in.read(std::span(animation.alphaValue).first(animation.sequenceLength));
    ReadSequence(in, animation, animation.frameNumber);
    in.read(animation.tempBuffer);
    ReadEncodedBlocks(in, counts, animation);
}

void WriteEncodedBlocks(BinaryWriter& out, const UnitAnimation& animation) {
    WriteBlock(out, animation.indexTables);
    WriteBlock(out, animation.alphaTables);
}

void ReadEncodedBlocks(BinaryReader& in, BlockCounts counts, UnitAnimation& animation) {
    for (const auto piece : ReadBlock(in, counts.indexTables, "index block")) {
        animation.indexTables.emplace_back().bytes.assign(piece.begin(), piece.end());
    }
    for (const auto piece : ReadBlock(in, counts.frames, "alpha block")) {
        animation.alphaTables.emplace_back().bytes.assign(piece.begin(), piece.end());
    }
}

void WriteColourTables(BinaryWriter& out, const TeamColours& colours, bool as565) {
    for (const auto& table : colours.tables) {
        for (const Pixel555 entry : table) {
            out.u16(as565 ? ToPixel565(entry) : entry);
        }
    }
}

void ReadColourTables(BinaryReader& in, TeamColours& colours) {
    for (auto& table : colours.tables) {
        in.read(std::span<std::uint16_t>(table));
    }
}

void WriteCodebook(BinaryWriter& out, const Codebook& codebook) {
    const auto& entries = codebook.InUse();
    out.write(std::span<const std::uint16_t>(entries));
    for (const Pixel555 pixel : entries) {
        out.u16(ToPixel565(pixel));
    }
}

Codebook ReadCodebook(BinaryReader& in, std::int32_t size, std::int32_t blockFlag) {
    Codebook codebook;
    codebook.blockFlag = blockFlag;
    const auto pixels = static_cast<std::size_t>(size) * codebook.PixelsPerEntry();
    in.requireAvailable(pixels, 2 * 2, "the codebook with its Pixel565 copy");
    auto& entries = codebook.InUse();
    entries.resize(pixels);
    in.read(std::span<std::uint16_t>(entries));
    in.skip(pixels * 2);
    return codebook;
}

} // namespace fenwold
