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
// Every pixel is written, transparent black ones too, so the picture needs no clearing first.
// Blocks may overrun a stretch only inside its row, where later pixels overwrite them; a stretch
// of a block or more that ends too near the end of its row ends with a block stored back over
// its own pixels, which get the same values again. `Conversion` is one of the block conversions.
template <typename Conversion>
class WorkingFormSink {
public:
    explicit WorkingFormSink(Picture555& picture)
        : width_(static_cast<std::size_t>(picture.width)), pixels_(picture.pixels.data()),
          alpha_(picture.alpha.data()),
          row_(static_cast<std::size_t>(picture.height > 0 ? picture.height - 1 : 0) * width_) {}

    void Run(std::size_t count, TgaColor colour) {
        const Pixel555 pixel = ToPixel555(Restored(colour));
        const std::uint8_t a = QuantiseAlpha(AlphaOf(colour));
        while (count > 0) {
            const std::size_t part = std::min(count, width_ - x_);
            Pixel555* pixels = pixels_ + row_ + x_;
            std::uint8_t* alpha = alpha_ + row_ + x_;
            const std::size_t room = width_ - x_;
            std::size_t b = 0;
            for (; b < part && b + kBlock <= room; b += kBlock) {
                Conversion::Fill(pixels + b, pixel, alpha + b, a);
            }
            if (b < part && part >= kBlock) {
                Conversion::Fill(pixels + part - kBlock, pixel, alpha + part - kBlock, a);
            } else {
                std::fill(pixels + b, pixels + std::max(b, part), pixel);
                std::fill(alpha + b, alpha + std::max(b, part), a);
            }
            Advance(part);
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
                ConvertBlock(bgra + b * 4, pixels + b, alpha + b, (1u << valid) - 1);
            }
            if (b < part && part >= kBlock) {
                const std::size_t last = part - kBlock;
                ConvertBlock(bgra + last * 4, pixels + last, alpha + last, 0xFFFF);
            } else {
                for (; b < part; ++b) {
                    const TgaColor colour = tga::detail::LoadPixel<4>(bgra + b * 4);
                    pixels[b] = ToPixel555(Restored(colour));
                    alpha[b] = QuantiseAlpha(AlphaOf(colour));
                }
            }
            bgra += part * 4;
            readable -= part * 4;
            Advance(part);
            count -= part;
        }
    }

private:
    // Converts a block, then restores the translucent pixels among those in `valid`.
    static void ConvertBlock(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha,
                             unsigned valid) {
        unsigned translucent = Conversion::Convert(bgra, pixels, alpha) & valid;
        for (; translucent != 0; translucent &= translucent - 1) {
            const auto k = static_cast<std::size_t>(std::countr_zero(translucent));
            pixels[k] = ToPixel555(Restored(tga::detail::LoadPixel<4>(bgra + k * 4)));
        }
    }

    void Advance(std::size_t count) {
        x_ += count;
        if (x_ == width_) {
            x_ = 0;
            row_ -= width_; // wraps after the top row, when no pixel is left
        }
    }

    std::size_t width_;
    Pixel555* pixels_;
    std::uint8_t* alpha_;
    std::size_t row_;
    std::size_t x_ = 0;
};

template <typename Conversion>
void DecodeWorkingForm(const tga::Layout& layout, Picture555& picture) {
    WorkingFormSink<Conversion> sink(picture);
    tga::DecodePixels(layout, sink);
}

#if defined(FENWOLD_X86_BLOCKS)
// The whole decoding is compiled for the wider instruction sets (flatten inlines all of it), so
// that the conversions inline into the loops that call them.
__attribute__((target("avx2"), flatten)) void DecodeWorkingFormAvx2(const tga::Layout& layout,
                                                                    Picture555& picture) {
    DecodeWorkingForm<blocks::Avx2Conversion>(layout, picture);
}
__attribute__((target("avx512bw"), flatten)) void DecodeWorkingFormAvx512(const tga::Layout& layout,
                                                                          Picture555& picture) {
    DecodeWorkingForm<blocks::Avx512Conversion>(layout, picture);
}
#endif

void DecodeWorkingForm(const tga::Layout& layout, Picture555& picture,
                       blocks::ConversionIsa widest) {
    using blocks::ConversionIsa;
    switch (std::min(widest, blocks::FastestConversion())) {
#if defined(FENWOLD_X86_BLOCKS)
    case ConversionIsa::Avx512:
        return DecodeWorkingFormAvx512(layout, picture);
    case ConversionIsa::Avx2:
        return DecodeWorkingFormAvx2(layout, picture);
    case ConversionIsa::Sse2:
        return DecodeWorkingForm<blocks::Sse2Conversion>(layout, picture);
#endif
    default:
        return DecodeWorkingForm<blocks::PlainConversion>(layout, picture);
    }
}

} // namespace

std::uint32_t ReadPicture555(std::span<const std::uint8_t> file, Picture555& picture) {
    return ReadPicture555(file, picture, blocks::ConversionIsa::Avx512);
}

std::uint32_t ReadPicture555(std::span<const std::uint8_t> file, Picture555& picture,
                             blocks::ConversionIsa widest) {
    tga::Layout layout;
    const std::uint32_t error = tga::ParseHeader(file, layout);
    if (error != tga::kNoError) {
        return error;
    }
    try {
        // Sized without clearing: the sink writes every pixel.
        picture.pixels.clear();
        picture.pixels.resize(layout.PixelCount());
        picture.alpha.clear();
        picture.alpha.resize(layout.PixelCount());
    } catch (const std::bad_alloc&) {
        picture = {};
        return tga::kOutOfMemory;
    }
    picture.width = layout.width;
    picture.height = layout.height;
    DecodeWorkingForm(layout, picture, widest);
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
