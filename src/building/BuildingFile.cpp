#include "building/BuildingFile.h"

#include "image/FrameStreams.h"
#include "platform/BinaryWriter.h"
#include "unit/UnitRecordIo.h"

#include <algorithm>
#include <string>

namespace fenwold {
namespace {

constexpr int kTilePixels = kTileSize * kTileSize;

// The 32 x 32 tile at (column, row) of a plane `width` values wide.
template <typename T>
std::vector<T> CutTile(const std::vector<T>& plane, int width, int column, int row) {
    std::vector<T> tile(kTilePixels);
    for (int y = 0; y < kTileSize; ++y) {
        const auto* source = plane.data() + static_cast<std::size_t>(row * kTileSize + y) * width +
                             column * kTileSize;
        std::copy(source, source + kTileSize, tile.begin() + y * kTileSize);
    }
    return tile;
}

template <typename T>
void PasteTile(std::vector<T>& plane, int width, int column, int row, const std::vector<T>& tile) {
    for (int y = 0; y < kTileSize; ++y) {
        std::copy(tile.begin() + y * kTileSize, tile.begin() + (y + 1) * kTileSize,
                  plane.begin() + static_cast<std::ptrdiff_t>(row * kTileSize + y) * width +
                      column * kTileSize);
    }
}

// The file is written and read in the same steps, in this order: the header, the record's
// fields, the team tiles, the team colour tables, the picture tiles, the animations and the
// codebook.

struct Header {
    std::uint32_t version = kBuildingFileVersion;
    std::uint32_t variant = 0;
    std::int32_t animationCount = 0;
    std::int32_t codebookSize = 0;
    std::int32_t blockFlag = 0;
};

void WriteHeader(BinaryWriter& out, const UnitData& animations, ColourVariant variant,
                 std::uint32_t gameDataSize) {
    out.magic(kBuildingMagic);
    out.u32(kBuildingFileVersion);
    out.u32(static_cast<std::uint32_t>(variant));
    out.i32(animations.AnimationCount());
    out.i32(animations.codebook.Size());
    out.i32(animations.codebook.blockFlag);
    out.u32(gameDataSize);
}

Header ReadHeader(BinaryReader& in) {
    Header header;
    in.skip(BinaryReader::kMagicSize); // the magic is not compared, as the game does not
    header.version = in.u32();
    if (header.version != 7 && header.version != 8) {
        in.fail("version " + std::to_string(header.version) + " cannot be read");
    }
    header.variant = in.u32();
    if (header.variant > 1) {
        in.fail("unknown colour variant " + std::to_string(header.variant));
    }
    header.animationCount = in.i32();
    header.codebookSize = in.i32();
    header.blockFlag = header.version == 8 ? ReadBlockFlag(in) : 0;
    in.u32(); // game data size
    CheckCount(in, header.animationCount, kMaxBuildingAnimations, "the animation count");
    return header;
}

// Tiles, area, root of float, points, clash grid, animation positions and fire points.
void WriteRecordFields(BinaryWriter& out, const BuildingRecord& record, int animationCount) {
    out.i32(record.tileCount);
    out.i32(record.tileColumns);
    out.i32(record.tileRows);
    out.write(record.area);
    out.i32(record.rootOfFloat);
    out.write(record.pointX);
    out.write(record.pointY);
    for (int row = 0; row < 2 * record.tileRows; ++row) {
        out.bytes(std::span(record.clash[row]).first(2 * record.tileColumns));
    }
    for (int n = 0; n < animationCount; ++n) {
        out.i32(record.animationPositions[n][0]);
        out.i32(record.animationPositions[n][1]);
    }
    out.i32(record.firePointCount);
    for (int slot = 0; slot < record.firePointCount; ++slot) {
        out.u16(record.fireX[slot]);
        out.u16(record.fireY[slot]);
        out.i32(record.fireAnimation[slot]);
        out.u8(record.fireFlag[slot]);
    }
}

void ReadRecordFields(BinaryReader& in, BuildingRecord& record, int animationCount) {
    record.tileCount = in.i32();
    record.tileColumns = in.i32();
    record.tileRows = in.i32();
    CheckCount(in, record.tileColumns, kMaxTileColumns, "the tile columns");
    CheckCount(in, record.tileRows, kMaxTileRows, "the tile rows");
    if (record.tileColumns == 0 || record.tileRows == 0 ||
        record.tileCount != record.tileColumns * record.tileRows) {
        in.fail("the tile count " + std::to_string(record.tileCount) + " does not match " +
                std::to_string(record.tileColumns) + " x " + std::to_string(record.tileRows) +
                " tiles");
    }
    in.read(record.area);
    // The views and the export scale the area and the root of float to pixels: they stay within
    // the tiles, as the building window keeps them.
    const auto [left, top, right, bottom] = record.area;
    if (left < 0 || top < 0 || left > right || top > bottom || right > record.tileColumns ||
        bottom > record.tileRows) {
        in.fail("the area (" + std::to_string(left) + ", " + std::to_string(top) + ", " +
                std::to_string(right) + ", " + std::to_string(bottom) + ") is not within the " +
                std::to_string(record.tileColumns) + " x " + std::to_string(record.tileRows) +
                " tiles");
    }
    record.width = kTileSize * record.tileColumns;
    record.height = kTileSize * record.tileRows;
    record.rootOfFloat = in.i32();
    CheckCount(in, record.rootOfFloat, record.tileRows, "the root of float");
    in.read(record.pointX);
    in.read(record.pointY);
    for (int row = 0; row < 2 * record.tileRows; ++row) {
        in.read(std::span(record.clash[row]).first(2 * record.tileColumns));
    }
    for (int n = 0; n < animationCount; ++n) {
        record.animationPositions[n][0] = in.i32();
        record.animationPositions[n][1] = in.i32();
    }
    const std::int32_t fireCount = in.i32();
    CheckCount(in, fireCount, kFirePointSlots, "the fire point count");
    for (int slot = 0; slot < fireCount; ++slot) {
        record.fireX[slot] = in.u16();
        record.fireY[slot] = in.u16();
        record.fireAnimation[slot] = in.i32();
        record.fireFlag[slot] = in.u8();
    }
    record.firePointCount = kFirePointsUsed;
}

std::string TileName(const char* kind, int column, int row) {
    return std::string(kind) + " tile (" + std::to_string(column) + ", " + std::to_string(row) +
           ")";
}

// Each tile of the team planes as an alpha-keyed 8-bit stream with its byte length.
void WriteTeamTiles(BinaryWriter& out, const BuildingRecord& record) {
    for (int row = 0; row < record.tileRows; ++row) {
        for (int column = 0; column < record.tileColumns; ++column) {
            const auto values = CutTile(record.teamIndex, record.width, column, row);
            const auto mask = CutTile(record.teamMask, record.width, column, row);
            const auto stream = EncodeAlphaKeyed8(values.data(), mask.data(), kTileSize, kTileSize,
                                                  kTileSize, kTileSize);
            out.u32(static_cast<std::uint32_t>(stream.size()));
            out.bytes(stream);
        }
    }
}

void ReadTeamTiles(BinaryReader& in, BuildingRecord& record) {
    const std::size_t pixels = record.PixelCount();
    record.teamIndex.assign(pixels, 0);
    record.teamMask.assign(pixels, 0);
    std::vector<std::uint8_t> values(kTilePixels);
    std::vector<std::uint8_t> mask(kTilePixels);
    for (int row = 0; row < record.tileRows; ++row) {
        for (int column = 0; column < record.tileColumns; ++column) {
            const std::uint32_t length = in.u32();
            const auto stream = in.view(length);
            std::fill(values.begin(), values.end(), 0);
            std::fill(mask.begin(), mask.end(), 0);
            if (!DecodeAlphaKeyed8(stream, values.data(), mask.data(), kTileSize, kTileSize,
                                   kTileSize, kTileSize)) {
                in.fail(TileName("team", column, row) + " is not a 32 x 32 tile");
            }
            PasteTile(record.teamIndex, record.width, column, row, values);
            PasteTile(record.teamMask, record.width, column, row, mask);
        }
    }
}

// The ten team colour tables, in the variant's colours.
void ReadTeamColourTables(BinaryReader& in, TeamColours& colours, std::uint32_t variant) {
    ReadColourTables(in, colours);
    if (variant == 1) {
        for (auto& table : colours.tables) {
            std::transform(table.begin(), table.end(), table.begin(), FromPixel565);
        }
    }
}

// Each tile of the picture, in the variant's colours, as an alpha-keyed 16-bit stream with its
// byte length.
void WritePictureTiles(BinaryWriter& out, const BuildingRecord& record, bool as565) {
    std::vector<Pixel555> picture = record.picture;
    if (as565) {
        std::transform(picture.begin(), picture.end(), picture.begin(), ToPixel565);
    }
    for (int row = 0; row < record.tileRows; ++row) {
        for (int column = 0; column < record.tileColumns; ++column) {
            const auto pixels = CutTile(picture, record.width, column, row);
            const auto alpha = CutTile(record.alpha, record.width, column, row);
            const auto stream = EncodeAlphaKeyed16(pixels.data(), alpha.data(), kTileSize,
                                                   kTileSize, kTileSize, kTileSize);
            out.u32(static_cast<std::uint32_t>(stream.size() * 2));
            out.write(stream);
        }
    }
}

void ReadPictureTiles(BinaryReader& in, BuildingRecord& record, std::uint32_t variant) {
    const std::size_t pixels = record.PixelCount();
    record.picture.assign(pixels, 0);
    record.alpha.assign(pixels, 0);
    std::vector<std::uint16_t> slots;
    std::vector<Pixel555> tilePixels(kTilePixels);
    std::vector<std::uint8_t> tileAlpha(kTilePixels);
    for (int row = 0; row < record.tileRows; ++row) {
        for (int column = 0; column < record.tileColumns; ++column) {
            const std::uint32_t length = in.u32();
            if (length % 2 != 0) {
                in.fail(TileName("picture", column, row) + " has an odd length");
            }
            in.requireAvailable(length, 1, "a picture tile");
            slots.resize(length / 2);
            for (auto& slot : slots) {
                slot = in.u16();
            }
            std::fill(tilePixels.begin(), tilePixels.end(), 0);
            std::fill(tileAlpha.begin(), tileAlpha.end(), 0);
            if (!DecodeAlphaKeyed16(slots, tilePixels.data(), tileAlpha.data(), kTileSize,
                                    kTileSize, kTileSize, kTileSize)) {
                in.fail(TileName("picture", column, row) + " is not a 32 x 32 tile");
            }
            PasteTile(record.picture, record.width, column, row, tilePixels);
            PasteTile(record.alpha, record.width, column, row, tileAlpha);
        }
    }
    if (variant == 1) {
        std::transform(record.picture.begin(), record.picture.end(), record.picture.begin(),
                       FromPixel565);
    }
}

// Each animation's record with its points and encoded tables.
void WriteAnimations(BinaryWriter& out, const UnitData& animations) {
    for (const auto& animation : animations.animations) {
        WriteRecordHead(out, animation);
        out.write(animation.pointX);
        out.write(animation.pointY);
        WriteGameRecordTail(out, animation);
    }
}

void ReadAnimations(BinaryReader& in, const Header& header, UnitData& data) {
    for (std::int32_t n = 0; n < header.animationCount; ++n) {
        UnitAnimation& animation = data.AddAnimation({});
        animation.loadIndex = n;
        animation.groupIndex = -1;
        WithContext("animation " + std::to_string(n), [&] {
            const BlockCounts counts = ReadRecordHead(in, animation);
            in.read(animation.pointX);
            in.read(animation.pointY);
            ReadGameRecordTail(in, counts, animation);
        });
        animation.blockFlag = header.blockFlag;
    }
}

} // namespace

std::vector<std::uint8_t> EncodeBuildingFile(const BuildingRecord& record,
                                             const UnitData& animations, ColourVariant variant,
                                             std::uint32_t gameDataSize) {
    const bool as565 = variant == ColourVariant::Pixel565;
    BinaryWriter out;
    WriteHeader(out, animations, variant, gameDataSize);
    WriteRecordFields(out, record, animations.AnimationCount());
    WriteTeamTiles(out, record);
    WriteColourTables(out, animations.teamColours, as565);
    WritePictureTiles(out, record, as565);
    WriteAnimations(out, animations);
    WriteCodebook(out, animations.codebook);
    return out.take();
}

std::uint32_t PeekBuildingFileVersion(BinaryReader& in) {
    const std::size_t start = in.position();
    in.skip(BinaryReader::kMagicSize);
    const std::uint32_t version = in.u32();
    in.seek(start);
    return version;
}

BuildingFileContent ReadBuildingFile(BinaryReader& in) {
    BuildingFileContent content;
    const Header header = ReadHeader(in);
    ReadRecordFields(in, content.record, header.animationCount);
    ReadTeamTiles(in, content.record);
    ReadTeamColourTables(in, content.animations.teamColours, header.variant);
    ReadPictureTiles(in, content.record, header.variant);
    ReadAnimations(in, header, content.animations);
    content.animations.codebook = ReadCodebook(in, header.codebookSize, header.blockFlag);
    return content;
}

} // namespace fenwold
