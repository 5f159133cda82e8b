#include "vq/ReviewPictures.h"

#include "vq/CodebookUsage.h"
#include "vq/RowEncoding.h"
#include "vq/StraightAlpha.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace fenwold {

namespace {

ReviewPicture Blank(int width, int height) {
    return {width, height,
            std::vector<Pixel555>(static_cast<std::size_t>(width) * height, Pixel555{0})};
}

void FillRect(ReviewPicture& picture, int x, int y, int width, int height, Pixel555 colour) {
    for (int row = y; row < y + height; ++row) {
        std::fill_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(row) * picture.width + x,
                    width, colour);
    }
}

constexpr Pixel555 Colour(int red, int green, int blue) {
    return static_cast<Pixel555>(red << 10 | green << 5 | blue);
}

} // namespace

void Paste(const ReviewPicture& picture, ReviewPicture& target, int x, int y) {
    for (int row = 0; row < picture.height; ++row) {
        std::copy_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(row) * picture.width,
                    picture.width,
                    target.pixels.begin() + static_cast<std::ptrdiff_t>(y + row) * target.width +
                        x);
    }
}

ReviewPicture DifferencePicture(const FrameComparison& comparison, int gain) {
    ReviewPicture picture = Blank(comparison.width, comparison.height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        if (comparison.visible[i] == 0) {
            continue;
        }
        const Pixel555 a = comparison.registered[i];
        const Pixel555 b = comparison.compressed[i];
        const auto amplified = [gain](int x, int y) {
            return std::min(31, (x > y ? x - y : y - x) * gain);
        };
        picture.pixels[i] = Colour(amplified(Red5(a), Red5(b)), amplified(Green5(a), Green5(b)),
                                   amplified(Blue5(a), Blue5(b)));
    }
    return picture;
}

ReviewPicture DifferenceStrip(const FrameComparison& comparison, int gain) {
    const int w = comparison.width;
    ReviewPicture strip = Blank(3 * w + 2 * kReviewGap, comparison.height);
    Paste({w, comparison.height, comparison.registered}, strip, 0, 0);
    Paste({w, comparison.height, comparison.compressed}, strip, w + kReviewGap, 0);
    Paste(DifferencePicture(comparison, gain), strip, 2 * (w + kReviewGap), 0);
    return strip;
}

Pixel555 UseColour(std::uint32_t count) {
    if (count == 0) {
        return Colour(10, 10, 10);
    }
    if (count == 1) {
        return Colour(31, 0, 0);
    }
    if (count < 4) {
        return Colour(31, 16, 0);
    }
    if (count < 16) {
        return Colour(31, 31, 0);
    }
    if (count < 64) {
        return Colour(0, 24, 0);
    }
    return Colour(4, 12, 31);
}

ReviewPicture EntriesByUse(std::span<const Pixel555> codebook, int blockFlag,
                           std::span<const std::uint32_t> counts) {
    const int rows = blockFlag == 1 ? 2 : 1;
    const int perEntry = 4 * 2 * rows;
    const int entries = static_cast<int>(std::min(codebook.size() / perEntry, counts.size()));
    std::vector<int> order(static_cast<std::size_t>(entries));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return counts[static_cast<std::size_t>(a)] > counts[static_cast<std::size_t>(b)];
    });
    constexpr int kBarHeight = 3;
    // Four frames of two pixels, a pixel apart, enlarged.
    const int contentWidth = (4 * 2 + 3) * kEntryZoom;
    const int cellWidth = contentWidth + kReviewGap;
    const int cellHeight = rows * kEntryZoom + 1 + kBarHeight + kReviewGap;
    const int columns = std::min(kEntriesPerRow, std::max(entries, 1));
    const int lines = (entries + kEntriesPerRow - 1) / kEntriesPerRow;
    ReviewPicture picture =
        Blank(columns * cellWidth + kReviewGap, lines * cellHeight + kReviewGap);
    for (int n = 0; n < entries; ++n) {
        const int entry = order[static_cast<std::size_t>(n)];
        const int left = kReviewGap + (n % kEntriesPerRow) * cellWidth;
        const int top = kReviewGap + (n / kEntriesPerRow) * cellHeight;
        const Pixel555* pixels = codebook.data() + static_cast<std::size_t>(entry) * perEntry;
        for (int f = 0; f < 4; ++f) {
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < 2; ++c) {
                    FillRect(picture, left + (f * 3 + c) * kEntryZoom, top + r * kEntryZoom,
                             kEntryZoom, kEntryZoom, pixels[f * 2 * rows + r * 2 + c] & 0x7FFF);
                }
            }
        }
        FillRect(picture, left, top + rows * kEntryZoom + 1, contentWidth, kBarHeight,
                 UseColour(counts[static_cast<std::size_t>(entry)]));
    }
    return picture;
}

ReviewPicture RarityMap(const CompressedAnimationView& animation, int frame,
                        std::span<const std::uint32_t> counts) {
    const FrameTables& tables = animation.frames[static_cast<std::size_t>(frame)];
    ReviewPicture picture = Blank(tables.width, tables.height);
    const std::vector<GroupBlocks> groups = ReadGroupBlocks(animation);
    const GroupBlocks& group = groups[static_cast<std::size_t>(tables.index / 4)];
    const std::vector<std::uint8_t> alpha =
        animation.maskFlag != 0
            ? DecodeMaskedAlphaTable(tables.alphaTable, tables.width, tables.height)
            : DecodeAlphaTable(tables.alphaTable, tables.width, tables.height);
    for (int y = 0; y < tables.height; ++y) {
        for (int x = 0; x < 2 * group.blocksPerRow; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * tables.width + x;
            if (alpha[at] == 0) {
                continue;
            }
            const std::uint16_t entry =
                group.entries[static_cast<std::size_t>(y / group.pixelRowsPerBlock) *
                                  group.blocksPerRow +
                              x / 2];
            picture.pixels[at] = UseColour(entry < counts.size() ? counts[entry] : 0);
        }
    }
    return picture;
}

PictureRgba DrawFrameRgba(const CompressedAnimationView& animation, int frame,
                          std::span<const Pixel555> codebook, int blockFlag,
                          const Pixel555* teamColours, int alphaValue) {
    const FrameTables& tables = animation.frames[static_cast<std::size_t>(frame)];
    const StraightAlphaFrame drawn = DrawStraightAlpha(
        {&tables, animation.maskFlag, blockFlag, {codebook.data(), codebook.data(), teamColours}},
        alphaValue);
    PictureRgba picture{tables.width, tables.height,
                        std::vector<std::uint8_t>(drawn.colours.size() * 4, 0)};
    for (std::size_t i = 0; i < drawn.colours.size(); ++i) {
        std::uint8_t* out = picture.bytes.data() + 4 * i;
        out[0] = Spread5To8(Red5(drawn.colours[i]));
        out[1] = Spread5To8(Green5(drawn.colours[i]));
        out[2] = Spread5To8(Blue5(drawn.colours[i]));
        out[3] = drawn.alpha[i];
    }
    return picture;
}

} // namespace fenwold
