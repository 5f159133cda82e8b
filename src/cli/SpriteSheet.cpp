#include "cli/SpriteSheet.h"

#include "image/PreviewDrawing.h"
#include "vq/StraightAlpha.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace fenwold::cli {

SheetPicture DrawFramePicture(const UnitData& data, const UnitAnimation& animation,
                              const AlphaTableNode& frame, const TeamColourTable* teamTable) {
    const auto& indexTable = animation.indexTables[static_cast<std::size_t>(frame.index / 4)];
    const FrameTables tables{frame.width, frame.height, frame.index, indexTable.bytes, frame.bytes};
    StraightAlphaFrame drawn =
        DrawStraightAlpha({&tables, animation.maskFlag, animation.blockFlag,
                           data.codebook.Drawing(teamTable ? teamTable->data() : nullptr)},
                          255);
    SheetPicture picture;
    picture.width = frame.width;
    picture.height = frame.height;
    picture.pixels = std::move(drawn.colours);
    picture.alpha = std::move(drawn.alpha);
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
