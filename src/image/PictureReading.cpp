#include "image/PictureReading.h"

#include "image/Hsv.h"
#include "image/PixelBlocks.h"
#include "image/TgaDecoding.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"

#include <array>
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

// The working pixel of a translucent colour. Restoring takes two divisions and two colour
// conversions, and translucent colours repeat (a shadow is one colour at a few alphas), so the
// last results are kept, 256 of them by a hash of the colour and its alpha.
Pixel555 RestoredPixel(TgaColor translucent) {
    struct Kept {
        TgaColor colour = 0; // never translucent, so never found
        Pixel555 pixel = 0;
    };
    thread_local std::array<Kept, 256> kept{};
    Kept& entry = kept[(translucent * 0x9E3779B1u) >> 24];
    if (entry.colour != translucent) {
        entry = {translucent, ToPixel555(RestoredColour(translucent, AlphaOf(translucent)))};
    }
    return entry.pixel;
}

// Stores stretches of pixels within one row in the working form, in whole blocks wherever the
// row has room: `room` (at least `count`) pixels from the stretch's start may be written, and a
// block stored past the stretch is overwritten by the later pixels of the row. A last block that
// would pass `room` is stored back over pixels of the stretch, which get the same values again.
// `Conversion` is one of the block conversions.
template <typename Conversion>
struct RowStretches {
    static void Fill(Pixel555* pixels, std::uint8_t* alpha, std::size_t count, std::size_t room,
                     Pixel555 pixel, std::uint8_t a) {
        if constexpr (kHasWide) {
            if (room >= kWide) {
                std::size_t b = 0;
                for (; count - b > kWide; b += kWide) {
                    Conversion::FillWide(pixels + b, pixel, alpha + b, a);
                }
                const std::size_t last = std::min(b, room - kWide);
                Conversion::FillWide(pixels + last, pixel, alpha + last, a);
                return;
            }
        }
        if (room < kBlock) {
            std::fill(pixels, pixels + count, pixel);
            std::fill(alpha, alpha + count, a);
            return;
        }
        std::size_t b = 0;
        for (; count - b > kBlock; b += kBlock) {
            Conversion::Fill(pixels + b, pixel, alpha + b, a);
        }
        const std::size_t last = std::min(b, room - kBlock);
        Conversion::Fill(pixels + last, pixel, alpha + last, a);
    }

    // `room` here also counts only pixels whose four bytes may be read from `bgra`.
    static void Convert(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha,
                        std::size_t count, std::size_t room) {
        if constexpr (kHasWide) {
            if (room >= kWide) {
                std::size_t b = 0;
                for (; count - b > kWide; b += kWide) {
                    Restore(bgra + b * 4, pixels + b,
                            Conversion::ConvertWide(bgra + b * 4, pixels + b, alpha + b));
                }
                const std::size_t last = std::min(b, room - kWide);
                const auto stretch =
                    static_cast<std::uint32_t>((std::uint64_t{1} << (count - last)) - 1);
                Restore(bgra + last * 4, pixels + last,
                        Conversion::ConvertWide(bgra + last * 4, pixels + last, alpha + last) &
                            stretch);
                return;
            }
        }
        if (room < kBlock) {
            for (std::size_t k = 0; k < count; ++k) {
                const TgaColor colour = tga::detail::LoadPixel<4>(bgra + k * 4);
                pixels[k] = ToPixel555(Restored(colour));
                alpha[k] = QuantiseAlpha(AlphaOf(colour));
            }
            return;
        }
        std::size_t b = 0;
        for (; count - b > kBlock; b += kBlock) {
            ConvertBlock(bgra + b * 4, pixels + b, alpha + b, 0xFFFF);
        }
        // A block stored back converts again pixels already restored: all of the stretch's
        // pixels in it are restored, those past the stretch need not be.
        const std::size_t last = std::min(b, room - kBlock);
        ConvertBlock(bgra + last * 4, pixels + last, alpha + last, LowBits(count - last));
    }

private:
    // Conversions that also store two blocks at once use them for stretches of 32 pixels or more.
    static constexpr bool kHasWide = requires { Conversion::kWideSize; };
    static constexpr std::size_t kWide = [] {
        if constexpr (kHasWide) {
            return Conversion::kWideSize;
        } else {
            return kBlock;
        }
    }();

    static unsigned LowBits(std::size_t count) { return (1u << count) - 1; }

    // Converts a block, then restores the translucent pixels among those in `restore`.
    static void ConvertBlock(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha,
                             unsigned restore) {
        Restore(bgra, pixels, Conversion::Convert(bgra, pixels, alpha) & restore);
    }

    // Restores the colours of the pixels in `translucent`, pixel k in bit k.
    static void Restore(const std::uint8_t* bgra, Pixel555* pixels, std::uint32_t translucent) {
        for (; translucent != 0; translucent &= translucent - 1) {
            const auto k = static_cast<std::size_t>(std::countr_zero(translucent));
            pixels[k] = RestoredPixel(tga::detail::LoadPixel<4>(bgra + k * 4));
        }
    }
};

// Where the next pixel of a picture goes in planes written top row first, as pixels come in file
// order (bottom row first): file row j is plane row height - 1 - j.
class TurnedOverRows {
public:
    TurnedOverRows(int width, int height)
        : width_(static_cast<std::size_t>(width)),
          row_(static_cast<std::size_t>(height > 0 ? height - 1 : 0) * width_) {}

    // The plane index of the next pixel, and how many pixels its row has left.
    std::size_t At() const { return row_ + x_; }
    std::size_t Room() const { return width_ - x_; }

    // Moves on by `count` pixels, at most Room().
    void Advance(std::size_t count) {
        x_ += count;
        if (x_ == width_) {
            x_ = 0;
            row_ -= width_; // wraps after the top row, when no pixel is left
        }
    }

private:
    std::size_t width_;
    std::size_t row_;
    std::size_t x_ = 0;
};

// Writes the working form, turning the picture over: file row j is picture row height - 1 - j.
// Every pixel is written, transparent black ones too, so the picture needs no clearing first.
template <typename Conversion>
class WorkingFormSink {
public:
    explicit WorkingFormSink(Picture555& picture)
        : rows_(picture.width, picture.height), pixels_(picture.pixels.data()),
          alpha_(picture.alpha.data()) {}

    void Run(std::size_t count, TgaColor colour) {
        const Pixel555 pixel = ToPixel555(Restored(colour));
        const std::uint8_t a = QuantiseAlpha(AlphaOf(colour));
        while (count > 0) {
            const std::size_t room = rows_.Room();
            const std::size_t part = std::min(count, room);
            Stretches::Fill(pixels_ + rows_.At(), alpha_ + rows_.At(), part, room, pixel, a);
            rows_.Advance(part);
            count -= part;
        }
    }

    void Raw(std::size_t count, const std::uint8_t* bgra, std::size_t readable) {
        while (count > 0) {
            const std::size_t room = rows_.Room();
            const std::size_t part = std::min(count, room);
            Stretches::Convert(bgra, pixels_ + rows_.At(), alpha_ + rows_.At(), part,
                               std::min(room, readable / 4));
            bgra += part * 4;
            readable -= part * 4;
            rows_.Advance(part);
            count -= part;
        }
    }

private:
    using Stretches = RowStretches<Conversion>;

    TurnedOverRows rows_;
    Pixel555* pixels_;
    std::uint8_t* alpha_;
};

// Run-length 32-bit pictures, the kind the tool writes, decoded as tga::DecodePixels would with
// the row position kept in locals rather than in a sink, so that the loop over packets holds it
// in registers. Packets that run past the end of their row are split there.
// Returns the number of pixels the file ended before.
template <typename Conversion>
std::size_t DecodeRunLength32(std::span<const std::uint8_t> data, Picture555& picture) {
    using Stretches = RowStretches<Conversion>;
    const auto width = static_cast<std::size_t>(picture.width);
    auto rowsLeft = static_cast<std::size_t>(picture.height);
    if (width == 0 || rowsLeft == 0) {
        return 0;
    }
    // The current row, filled from the left; file rows go from the bottom of the picture up.
    Pixel555* pixels = picture.pixels.data() + (rowsLeft - 1) * width;
    std::uint8_t* alpha = picture.alpha.data() + (rowsLeft - 1) * width;
    std::size_t x = 0;
    const std::uint8_t* at = data.data();
    const std::uint8_t* const end = at + data.size();
    // Moves to the next row up; false when the picture is complete.
    const auto nextRow = [&] {
        x = 0;
        pixels -= width;
        alpha -= width;
        return --rowsLeft != 0;
    };
    while (at != end) {
        const unsigned header = *at++;
        std::size_t count = (header & 0x7F) + 1;
        if (header & 0x80) {
            if (end - at < 4) {
                break;
            }
            const TgaColor colour = tga::detail::LoadPixel<4>(at);
            at += 4;
            const Pixel555 pixel = ToPixel555(Restored(colour));
            const std::uint8_t a = QuantiseAlpha(AlphaOf(colour));
            while (count >= width - x) {
                const std::size_t part = width - x;
                Stretches::Fill(pixels + x, alpha + x, part, part, pixel, a);
                count -= part;
                if (!nextRow()) {
                    return 0;
                }
            }
            if (count > 0) {
                Stretches::Fill(pixels + x, alpha + x, count, width - x, pixel, a);
                x += count;
            }
            continue;
        }
        const auto whole = std::min(count, static_cast<std::size_t>(end - at) / 4);
        for (std::size_t left = whole; left > 0;) {
            const std::size_t room = width - x;
            const std::size_t part = std::min(left, room);
            Stretches::Convert(at, pixels + x, alpha + x, part,
                               std::min(room, static_cast<std::size_t>(end - at) / 4));
            at += part * 4;
            left -= part;
            x += part;
            if (x == width && !nextRow()) {
                return 0;
            }
        }
        if (whole < count) {
            break;
        }
    }
    // The file ended early: the rest of the picture is transparent black, this row from x on
    // and every row above it, which lie before it in the planes.
    Stretches::Fill(pixels + x, alpha + x, width - x, width - x, 0, 0);
    const auto above = static_cast<std::size_t>(pixels - picture.pixels.data());
    std::fill_n(picture.pixels.data(), above, Pixel555{0});
    std::fill_n(picture.alpha.data(), above, std::uint8_t{0});
    return above + width - x;
}

template <typename Conversion>
std::size_t DecodeWorkingForm(const tga::Layout& layout, Picture555& picture) {
    if (layout.kind == tga::Kind::RunLength32) {
        return DecodeRunLength32<Conversion>(layout.data, picture);
    }
    WorkingFormSink<Conversion> sink(picture);
    return tga::DecodePixels(layout, sink);
}

#if defined(FENWOLD_X86_BLOCKS)
// The whole decoding is compiled for the wider instruction sets (flatten inlines all of it), so
// that the conversions inline into the loops that call them.
__attribute__((target("avx2"), flatten)) std::size_t
DecodeWorkingFormAvx2(const tga::Layout& layout, Picture555& picture) {
    return DecodeWorkingForm<blocks::Avx2Conversion>(layout, picture);
}
__attribute__((target("avx512bw"), flatten)) std::size_t
DecodeWorkingFormAvx512(const tga::Layout& layout, Picture555& picture) {
    return DecodeWorkingForm<blocks::Avx512Conversion>(layout, picture);
}
#endif

std::size_t DecodeWorkingForm(const tga::Layout& layout, Picture555& picture,
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

// Writes the 0/1 mask form, turning the picture over like WorkingFormSink; `Selected` decides
// each pixel by its colour.
template <bool (*Selected)(TgaColor)>
class MaskSink {
public:
    explicit MaskSink(MaskPicture& mask)
        : rows_(mask.width, mask.height), plane_(mask.plane.data()) {}

    void Run(std::size_t count, TgaColor colour) {
        const std::uint8_t value = Selected(colour) ? 1 : 0;
        while (count > 0) {
            const std::size_t part = std::min(count, rows_.Room());
            std::fill_n(plane_ + rows_.At(), part, value);
            rows_.Advance(part);
            count -= part;
        }
    }

    void Raw(std::size_t count, const std::uint8_t* bgra, std::size_t) {
        while (count > 0) {
            const std::size_t part = std::min(count, rows_.Room());
            std::uint8_t* to = plane_ + rows_.At();
            for (std::size_t k = 0; k < part; ++k) {
                to[k] = Selected(tga::detail::LoadPixel<4>(bgra + k * 4)) ? 1 : 0;
            }
            bgra += part * 4;
            rows_.Advance(part);
            count -= part;
        }
    }

private:
    TurnedOverRows rows_;
    std::uint8_t* plane_;
};

// Finds the box of the visible pixels, in file order: rows are counted from the bottom of the
// picture.
class VisibleBoxSink {
public:
    explicit VisibleBoxSink(int width) : width_(static_cast<std::size_t>(width)) {}

    void Run(std::size_t count, TgaColor colour) {
        if (QuantiseAlpha(AlphaOf(colour)) == 0) {
            Advance(count);
            return;
        }
        while (count > 0) {
            const std::size_t part = std::min(count, width_ - x_);
            Mark(x_, x_ + part - 1);
            Advance(part);
            count -= part;
        }
    }

    void Raw(std::size_t count, const std::uint8_t* bgra, std::size_t) {
        const auto visible = [&](std::size_t k) { return QuantiseAlpha(bgra[4 * k + 3]) != 0; };
        while (count > 0) {
            const std::size_t part = std::min(count, width_ - x_);
            std::size_t first = 0;
            while (first < part && !visible(first)) {
                ++first;
            }
            if (first < part) {
                std::size_t last = part - 1;
                while (!visible(last)) {
                    --last;
                }
                Mark(x_ + first, x_ + last);
            }
            bgra += 4 * part;
            Advance(part);
            count -= part;
        }
    }

    // The box top row first, in a picture of `height` rows.
    std::optional<PictureBox> Box(int height) const {
        if (!found_) {
            return std::nullopt;
        }
        return PictureBox{static_cast<int>(left_), height - 1 - static_cast<int>(highestRow_),
                          static_cast<int>(right_), height - 1 - static_cast<int>(lowestRow_)};
    }

private:
    void Mark(std::size_t from, std::size_t to) {
        if (!found_) {
            found_ = true;
            left_ = from;
            right_ = to;
            lowestRow_ = row_;
        }
        left_ = std::min(left_, from);
        right_ = std::max(right_, to);
        highestRow_ = row_;
    }
    void Advance(std::size_t count) {
        x_ += count;
        row_ += x_ / width_;
        x_ %= width_;
    }

    std::size_t width_;
    std::size_t x_ = 0;
    std::size_t row_ = 0;
    bool found_ = false;
    std::size_t left_ = 0;
    std::size_t right_ = 0;
    std::size_t lowestRow_ = 0;
    std::size_t highestRow_ = 0;
};

// Reads a file into `fileBuffer` and decodes it with `decode`, giving the reason of a failure
// in words.
template <typename Decode>
std::uint32_t ReadFromFile(const std::filesystem::path& file, ByteBuffer& fileBuffer,
                           std::string* failure, Decode decode) {
    std::uint32_t error = tga::kNoError;
    std::string reason;
    try {
        tga::ReadFile(file, fileBuffer);
        error = decode(std::span<const std::uint8_t>(fileBuffer));
        if (error != tga::kNoError) {
            reason = tga::DescribeError(error, fileBuffer);
        }
    } catch (const FileError& open) {
        error = tga::kCannotOpen;
        reason = open.reason();
    } catch (const std::bad_alloc&) {
        error = tga::kOutOfMemory;
        reason = "out of memory";
    }
    if (failure != nullptr) {
        *failure = std::move(reason);
    }
    return error;
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
    picture.missingPixels = DecodeWorkingForm(layout, picture, widest);
    return tga::kNoError;
}

std::uint32_t ReadPicture555(const std::filesystem::path& file, Picture555& picture,
                             std::string* failure) {
    ByteBuffer bytes;
    return ReadPicture555(file, picture, bytes, failure);
}

std::uint32_t ReadPicture555(const std::filesystem::path& file, Picture555& picture,
                             ByteBuffer& fileBuffer, std::string* failure) {
    return ReadFromFile(file, fileBuffer, failure, [&](std::span<const std::uint8_t> bytes) {
        return ReadPicture555(bytes, picture);
    });
}

std::uint32_t ReadPictureOutline(std::span<const std::uint8_t> file, PictureOutline& outline) {
    tga::Layout layout;
    const std::uint32_t error = tga::ParseHeader(file, layout);
    if (error != tga::kNoError) {
        return error;
    }
    outline.width = layout.width;
    outline.height = layout.height;
    outline.visible.reset();
    outline.missingPixels = 0;
    if (layout.PixelCount() > 0) {
        VisibleBoxSink sink(layout.width);
        outline.missingPixels = tga::DecodePixels(layout, sink);
        outline.visible = sink.Box(layout.height);
    }
    return tga::kNoError;
}

std::uint32_t ReadPictureOutline(const std::filesystem::path& file, PictureOutline& outline,
                                 ByteBuffer& fileBuffer, std::string* failure) {
    return ReadFromFile(file, fileBuffer, failure, [&](std::span<const std::uint8_t> bytes) {
        return ReadPictureOutline(bytes, outline);
    });
}

std::uint32_t ReadMaskPicture(std::span<const std::uint8_t> file, MaskKind kind,
                              MaskPicture& mask) {
    tga::Layout layout;
    const std::uint32_t error = tga::ParseHeader(file, layout);
    if (error != tga::kNoError) {
        return error;
    }
    try {
        mask.plane.clear();
        mask.plane.resize(layout.PixelCount()); // the sink writes every value
    } catch (const std::bad_alloc&) {
        mask = {};
        return tga::kOutOfMemory;
    }
    mask.width = layout.width;
    mask.height = layout.height;
    if (kind == MaskKind::Unit) {
        MaskSink<IsUnitMaskSelected> sink(mask);
        mask.missingPixels = tga::DecodePixels(layout, sink);
    } else {
        MaskSink<IsBuildingMaskSelected> sink(mask);
        mask.missingPixels = tga::DecodePixels(layout, sink);
    }
    return tga::kNoError;
}

std::uint32_t ReadMaskPicture(const std::filesystem::path& file, MaskKind kind, MaskPicture& mask,
                              ByteBuffer& fileBuffer, std::string* failure) {
    return ReadFromFile(file, fileBuffer, failure, [&](std::span<const std::uint8_t> bytes) {
        return ReadMaskPicture(bytes, kind, mask);
    });
}

} // namespace fenwold
