#include "cli/SpriteSheet.h"

#include "image/PreviewDrawing.h"
#include "vq/DrawCompressedFrame.h"
#include "vq/RowEncoding.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace fenwold::cli {
namespace {

constexpr Pixel555 kWhite555 = 0x7FFF;

std::vector<Pixel555> DrawOver(Pixel555 background, const UnitData& data,
                               const UnitAnimation& animation, int maskFlag,
                               const FrameTables& tables, const TeamColourTable* teamTable) {
    std::vector<Pixel555> buffer(static_cast<std::size_t>(tables.width) * tables.height,
                                 background);
    DrawFrameTables({buffer.data(), tables.width, tables.height}, 0, 0, maskFlag,
                    animation.blockFlag, tables,
                    data.codebook.Drawing(teamTable ? teamTable->data() : nullptr), 255);
    return buffer;
}

// The frame's alpha table with every visible pixel made a run of full opacity, in the run-only
// scheme of team-coloured frames: drawn with it, every visible pixel is a copy of its source.
std::vector<std::uint8_t> OpaqueAlphaTable(std::span<const std::uint8_t> table, int width,
                                           int height) {
    std::vector<std::uint8_t> plane = DecodeAlphaTable(table, width, height);
    std::vector<std::uint8_t> opaque;
    for (int y = 0; y < height; ++y) {
        const auto row = std::span(plane).subspan(static_cast<std::size_t>(y) * width, width);
        for (auto& value : row) {
            value = value != 0 ? 255 : 0;
        }
        AppendMaskedAlphaRow(row, opaque);
    }
    return opaque;
}

} // namespace

SheetPicture DrawFramePicture(const UnitData& data, const UnitAnimation& animation,
                              const AlphaTableNode& frame, const TeamColourTable* teamTable) {
    const auto& indexTable = animation.indexTables[static_cast<std::size_t>(frame.index / 4)];
    const FrameTables tables{frame.width, frame.height, frame.index, indexTable.bytes, frame.bytes};
    // Over black and over white the drawing gives d + floor(s w / 32) - floor(d w / 32) per
    // channel: the difference of the two is 32 - w, the same in every channel.
    const auto overBlack = DrawOver(0, data, animation, animation.maskFlag, tables, teamTable);
    const auto overWhite =
        DrawOver(kWhite555, data, animation, animation.maskFlag, tables, teamTable);
    // Team-coloured frames are copies wherever they are visible; plain frames may blend, so
    // their undimmed colours come from drawing them once more at full opacity.
    std::vector<Pixel555> colours;
    if (animation.maskFlag == 0) {
        const auto opaque = OpaqueAlphaTable(frame.bytes, frame.width, frame.height);
        FrameTables opaqueTables = tables;
        opaqueTables.alphaTable = opaque;
        colours = DrawOver(0, data, animation, 1, opaqueTables, nullptr);
    }
    SheetPicture picture;
    picture.width = frame.width;
    picture.height = frame.height;
    picture.pixels.assign(overBlack.size(), 0);
    picture.alpha.assign(overBlack.size(), 0);
    for (std::size_t i = 0; i < overBlack.size(); ++i) {
        const int weight = 32 - (Red5(overWhite[i]) - Red5(overBlack[i]));
        if (weight <= 1) {
            continue;
        }
        picture.alpha[i] = static_cast<std::uint8_t>((weight * 255 + 16) / 32);
        picture.pixels[i] = colours.empty() ? overBlack[i] : colours[i];
    }
    picture.keptWidth = picture.width;
    picture.keptHeight = picture.height;
    return picture;
}

SheetPicture BuildingPicture(const BuildingRecord& record, const TeamColourTable* teamTable) {
    SheetPicture picture;
    picture.width = record.width;
    picture.height = record.height;
    picture.pixels = record.picture;
    // The plane keeps 32 levels (multiples of 8); the top one is opaque.
    picture.alpha.resize(record.alpha.size());
    std::transform(record.alpha.begin(), record.alpha.end(), picture.alpha.begin(),
                   [](std::uint8_t a) { return static_cast<std::uint8_t>((a >> 3) * 255 / 31); });
    if (teamTable != nullptr && record.HasTeamPlanes()) {
        DrawIndexedImage(record.width, record.height, 0, 0, record.width, record.height,
                         picture.pixels, record.teamIndex, record.teamMask, *teamTable);
    }
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        if (picture.alpha[i] == 0) {
            picture.pixels[i] = 0;
        }
    }
    picture.keptWidth = picture.width;
    picture.keptHeight = picture.height;
    return picture;
}

void TrimPicture(SheetPicture& picture) {
    int left = picture.width, top = picture.height, right = -1, bottom = -1;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.alpha[static_cast<std::size_t>(y) * picture.width + x] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        picture.keptX = picture.keptY = 0;
        picture.keptWidth = std::min(picture.width, 1);
        picture.keptHeight = std::min(picture.height, 1);
        return;
    }
    picture.keptX = left;
    picture.keptY = top;
    picture.keptWidth = right - left + 1;
    picture.keptHeight = bottom - top + 1;
}

SheetSize PackPictures(std::vector<SheetPicture>& pictures, int spacing) {
    std::vector<std::size_t> order(pictures.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return pictures[a].keptHeight > pictures[b].keptHeight;
    });
    std::uint64_t area = 0;
    int widest = 0;
    for (const auto& picture : pictures) {
        area += static_cast<std::uint64_t>(picture.keptWidth + spacing) *
                static_cast<std::uint64_t>(picture.keptHeight + spacing);
        widest = std::max(widest, picture.keptWidth);
    }
    // Shelves about as wide as the sheet will be tall.
    auto side = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(area)));
    while (side * side < area) {
        ++side;
    }
    const auto shelfWidth = std::max<std::uint64_t>(side, static_cast<std::uint64_t>(widest));
    SheetSize size;
    int x = 0, y = 0, shelfHeight = 0;
    for (const std::size_t index : order) {
        SheetPicture& picture = pictures[index];
        if (x > 0 && static_cast<std::uint64_t>(x) + picture.keptWidth > shelfWidth) {
            y += shelfHeight + spacing;
            x = 0;
            shelfHeight = 0;
        }
        picture.sheetX = x;
        picture.sheetY = y;
        size.width = std::max(size.width, x + picture.keptWidth);
        size.height = std::max(size.height, y + picture.keptHeight);
        x += picture.keptWidth + spacing;
        shelfHeight = std::max(shelfHeight, picture.keptHeight);
    }
    return size;
}

void ComposeSheet(const std::vector<SheetPicture>& pictures, SheetSize size,
                  std::vector<Pixel555>& pixels, std::vector<std::uint8_t>& alpha) {
    const auto count = static_cast<std::size_t>(size.width) * size.height;
    pixels.assign(count, 0);
    alpha.assign(count, 0);
    for (const auto& picture : pictures) {
        for (int row = 0; row < picture.keptHeight; ++row) {
            const std::size_t from =
                static_cast<std::size_t>(picture.keptY + row) * picture.width + picture.keptX;
            const std::size_t to =
                static_cast<std::size_t>(picture.sheetY + row) * size.width + picture.sheetX;
            std::copy_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(from),
                        picture.keptWidth, pixels.begin() + static_cast<std::ptrdiff_t>(to));
            std::copy_n(picture.alpha.begin() + static_cast<std::ptrdiff_t>(from),
                        picture.keptWidth, alpha.begin() + static_cast<std::ptrdiff_t>(to));
        }
    }
}

} // namespace fenwold::cli
