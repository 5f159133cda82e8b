#include "image/PictureReading.h"

#include "image/Hsv.h"
#include "image/PixelBlocks.h"
#include "image/TgaDecoding.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"

#include <bit>
#include <new>

namespace fenwold {
namespace {

using tga::kBlock;

using blocks::IsTranslucent;

TgaColor Restored(TgaColor colour) {
    const std::uint8_t alpha = AlphaOf(colour);
    return IsTranslucent(alpha) ? RestoredColour(colour, alpha) : colour;
}

// Writes the working form, turning the picture over: file row j is picture row height - 1 - j.
// Blocks may overrun a stretch only inside its row, where later pixels overwrite them. The
// picture starts out zero, so transparent black runs (most of a sprite's background) are only
// skipped, after clearing whatever an earlier block overran into them.
class WorkingFormSink {
public:
    explicit WorkingFormSink(Picture555& picture)
        : width_(static_cast<std::size_t>(picture.width)), pixels_(picture.pixels.data()),
          alpha_(picture.alpha.data()),
          row_(static_cast<std::size_t>(picture.height > 0 ? picture.height - 1 : 0) * width_) {}

    void Run(std::size_t count, TgaColor colour) {
        if (colour == 0) {
            Skip(count);
            return;
        }
        const Pixel555 pixel = ToPixel555(Restored(colour));
        const std::uint8_t a = QuantiseAlpha(AlphaOf(colour));
        while (count > 0) {
            const std::size_t part = std::min(count, width_ - x_);
            Pixel555* pixels = pixels_ + row_ + x_;
            std::uint8_t* alpha = alpha_ + row_ + x_;
            const std::size_t room = width_ - x_;
            std::size_t b = 0;
            for (; b < part && b + kBlock <= room; b += kBlock) {
                blocks::Fill(pixels + b, pixel);
                blocks::Fill(alpha + b, a);
            }
            std::fill(pixels + b, pixels + std::max(b, part), pixel);
            std::fill(alpha + b, alpha + std::max(b, part), a);
            Advance(part, b);
            count -= part;
        }
    }

    void Raw(std::size_t count, const std::uint8_t* bgra, std::size_t readable) {
        while (count > 0) {
            const std::size_t part = std::min(count, width_ - x_);
            Pixel555* pixels = pixels_ + row_ + x_;
            std::uint8_t* alpha = alpha_ + row_ + x_;
            const std::size_t room = std::min(width_ - x_, readable / 4);
            std::size_t b = 0;
            for (; b < part && b + kBlock <= room; b += kBlock) {
                // Only the pixels of this stretch count; the rest of the block is overrun.
                const std::size_t valid = std::min(kBlock, part - b);
                const unsigned translucent =
                    blocks::Convert(bgra + b * 4, pixels + b, alpha + b) & ((1u << valid) - 1);
                if (translucent != 0) {
                    RestoreMarked(bgra + b * 4, translucent, pixels + b);
                }
            }
            const std::size_t written = b;
            for (; b < part; ++b) {
                const TgaColor colour = tga::detail::LoadPixel<4>(bgra + b * 4);
                pixels[b] = ToPixel555(Restored(colour));
                alpha[b] = QuantiseAlpha(AlphaOf(colour));
            }
            bgra += part * 4;
            readable -= part * 4;
            Advance(part, written);
            count -= part;
        }
    }

private:
    // Pixels whose bit is set in `marked` get their restored colour.
    static void RestoreMarked(const std::uint8_t* bgra, unsigned marked, Pixel555* pixels) {
        for (; marked != 0; marked &= marked - 1) {
            const auto k = static_cast<std::size_t>(std::countr_zero(marked));
            pixels[k] = ToPixel555(Restored(tga::detail::LoadPixel<4>(bgra + k * 4)));
        }
    }

    // Transparent black pixels: the zeros are already there but where blocks overran.
    void Skip(std::size_t count) {
        const std::size_t overrun = std::min(count, std::max(dirtyEnd_, x_) - x_);
        std::fill_n(pixels_ + row_ + x_, overrun, Pixel555{0});
        std::fill_n(alpha_ + row_ + x_, overrun, std::uint8_t{0});
        x_ += count;
        while (x_ >= width_ && width_ > 0) {
            x_ -= width_;
            row_ -= width_; // wraps after the top row, when no pixel is left
            dirtyEnd_ = 0;
        }
    }

    // Past `count` pixels; whole blocks were stored over the first `stored` of the row from
    // here, which may reach beyond `count`.
    void Advance(std::size_t count, std::size_t stored) {
        dirtyEnd_ = std::max(dirtyEnd_, x_ + stored);
        x_ += count;
        if (x_ == width_) {
            x_ = 0;
            row_ -= width_;
            dirtyEnd_ = 0;
        }
    }

    std::size_t width_;
    Pixel555* pixels_;
    std::uint8_t* alpha_;
    std::size_t row_;
    std::size_t x_ = 0;
    std::size_t dirtyEnd_ = 0; // blocks of this row were stored up to this column
};

} // namespace

std::uint32_t ReadPicture555(std::span<const std::uint8_t> file, Picture555& picture) {
    tga::Layout layout;
    const std::uint32_t error = tga::ParseHeader(file, layout);
    if (error != tga::kNoError) {
        return error;
    }
    try {
        picture.pixels.assign(layout.PixelCount(), 0);
        picture.alpha.assign(layout.PixelCount(), 0);
    } catch (const std::bad_alloc&) {
        picture = {};
        return tga::kOutOfMemory;
    }
    picture.width = layout.width;
    picture.height = layout.height;
    WorkingFormSink sink(picture);
    tga::DecodePixels(layout, sink);
    return tga::kNoError;
}

std::uint32_t ReadPicture555(const std::filesystem::path& file, Picture555& picture) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(file);
    } catch (const FileError&) {
        return tga::kCannotOpen;
    } catch (const std::bad_alloc&) {
        return tga::kOutOfMemory;
    }
    return ReadPicture555(bytes, picture);
}

std::vector<std::uint8_t> ReadMaskPlane(const CTgaReader& reader, MaskKind kind) {
    const std::size_t width = static_cast<std::size_t>(reader.width());
    const int height = reader.height();
    std::vector<std::uint8_t> plane(reader.pixels().size());
    for (int y = 0; y < height; ++y) {
        const TgaColor* from =
            reader.pixels().data() + static_cast<std::size_t>(height - 1 - y) * width;
        std::uint8_t* to = plane.data() + static_cast<std::size_t>(y) * width;
        for (std::size_t x = 0; x < width; ++x) {
            const bool selected = kind == MaskKind::Unit ? IsUnitMaskSelected(from[x])
                                                         : IsBuildingMaskSelected(from[x]);
            to[x] = selected ? 1 : 0;
        }
    }
    return plane;
}

} // namespace fenwold
