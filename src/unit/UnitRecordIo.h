#pragma once

#include "platform/BinaryReader.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "teamcolour/TeamColour.h"
#include "unit/Codebook.h"
#include "unit/UnitData.h"
#include "unit/UnitRecords.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fenwold {

// Pieces the tool data file and the game file share: both begin with this magic and a version
// word, store an animation record's counts, size and check box the same way, end a record with
// its index block and alpha block, and end with a Pixel555 and a Pixel565 copy of the codebook.

inline constexpr std::string_view kUnitAnimationMagic = "Unit Animation File";
// A block's offset table holds at most this many pieces.
inline constexpr std::int32_t kMaxBlockPieces = 200;

// The version word after the magic field; the reader is left where it was.
std::int32_t PeekUnitFileVersion(BinaryReader& reader);

// Refuses the file unless 0 <= value <= limit.
void CheckCount(BinaryReader& reader, std::int64_t value, std::int64_t limit,
                std::string_view what);
std::int32_t ReadBlockFlag(BinaryReader& reader);

// Runs `read`; a FileError it raises gets `context` ("animation 3") before its reason.
template <typename Read>
void WithContext(const std::string& context, Read&& read) {
    try {
        read();
    } catch (const FileError& error) {
        throw FileError(error.path(), context + ": " + error.reason());
    }
}

// Raises FileError naming `path` when animation `position` holds more than a file can: a
// sequence beyond 200 entries, more than 200 frames or index tables.
void CheckStorable(const UnitAnimation& animation, std::int32_t position,
                   const std::filesystem::path& path);

// Refuses (FileError naming `name` and the animation) a unit whose encoded tables do not fit its
// frames and its codebook, so that drawing any frame stays inside them. The frames must have been
// renumbered.
void CheckEncodedTables(const UnitData& data, const std::string& name);

// The byte count of a block's data: the node byte strings back to back.
template <typename Node>
std::uint32_t BlockTotal(const std::vector<Node>& nodes) {
    std::uint32_t total = 0;
    for (const auto& node : nodes) {
        total += static_cast<std::uint32_t>(node.bytes.size());
    }
    return total;
}

// Frame count, sequence length, index table count, mask flag, width, height and check box.
void WriteRecordHead(BinaryWriter& out, const UnitAnimation& animation);
// Reads the same fields, checking the counts; returns the frame and index table counts that the
// record's blocks must hold.
struct BlockCounts {
    std::int32_t frames = 0;
    std::int32_t indexTables = 0;
};
BlockCounts ReadRecordHead(BinaryReader& in, UnitAnimation& animation);

// The first sequence-length entries of a sequence table.
void WriteSequence(BinaryWriter& out, const UnitAnimation& animation,
                   const std::array<std::uint16_t, kMaxSequenceLength>& table);
void ReadSequence(BinaryReader& in, const UnitAnimation& animation,
                  std::array<std::uint16_t, kMaxSequenceLength>& table);

// What follows the point tables in a game file record and a building's animation block: the
// sequence (attribute, delay, one alpha byte an entry, frame number), the temp buffer, then the
// index block and the alpha block.
void WriteGameRecordTail(BinaryWriter& out, const UnitAnimation& animation);
void ReadGameRecordTail(BinaryReader& in, BlockCounts counts, UnitAnimation& animation);

// The index block, then the alpha block: each a total size, the offset of every piece within the
// data, and the pieces back to back.
void WriteEncodedBlocks(BinaryWriter& out, const UnitAnimation& animation);
void ReadEncodedBlocks(BinaryReader& in, BlockCounts counts, UnitAnimation& animation);

void WriteColourTables(BinaryWriter& out, const TeamColours& colours, bool as565);
void ReadColourTables(BinaryReader& in, TeamColours& colours);

// The codebook of the block flag's entry size, then the same entries converted to Pixel565.
void WriteCodebook(BinaryWriter& out, const Codebook& codebook);
// Reads the Pixel555 entries and steps over the Pixel565 copy, which must be present too.
Codebook ReadCodebook(BinaryReader& in, std::int32_t size, std::int32_t blockFlag);

} // namespace fenwold
