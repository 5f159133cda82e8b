#include "image/TgaReader.h"

#include "image/PixelBlocks.h"
#include "platform/FileError.h"

#include <new>
#include <vector>

namespace fenwold {
namespace {

using tga::kBlock;

// Keeps the pixels as the file has them. Both buffers have kBlock spare entries after the
// picture, so that runs and raw stretches are stored in whole blocks.
class FileOrderSink {
public:
    FileOrderSink(TgaColor* pixels, std::uint8_t* alpha) : pixels_(pixels), alpha_(alpha) {}

    void Run(std::size_t count, TgaColor colour) {
        const std::uint8_t a = AlphaOf(colour);
        for (std::size_t b = 0; b < count; b += kBlock) {
            blocks::Fill(pixels_ + b, colour);
            blocks::Fill(alpha_ + b, a);
        }
        Advance(count);
    }

    void Raw(std::size_t count, const std::uint8_t* bgra, std::size_t readable) {
        const std::size_t wholeBlocks = (count + kBlock - 1) / kBlock;
        std::size_t done = 0;
        if (wholeBlocks * kBlock * 4 <= readable) {
            for (; done < count; done += kBlock) {
                blocks::CopyWithAlpha(bgra + done * 4, pixels_ + done, alpha_ + done);
            }
        } else {
            for (; done < count; ++done) {
                const TgaColor colour = tga::detail::LoadPixel<4>(bgra + done * 4);
                pixels_[done] = colour;
                alpha_[done] = AlphaOf(colour);
            }
        }
        Advance(count);
    }

private:
    void Advance(std::size_t count) {
        pixels_ += count;
        alpha_ += count;
    }

    TgaColor* pixels_;
    std::uint8_t* alpha_;
};

} // namespace

CTgaReader::CTgaReader(const std::filesystem::path& file) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = tga::ReadFile(file);
    } catch (const FileError& error) {
        error_ = tga::kCannotOpen;
        failure_ = error.reason();
        return;
    } catch (const std::bad_alloc&) {
        error_ = tga::kOutOfMemory;
        failure_ = "out of memory";
        return;
    }
    Read(bytes);
}

CTgaReader::CTgaReader(std::span<const std::uint8_t> file) {
    Read(file);
}

void CTgaReader::Read(std::span<const std::uint8_t> file) {
    if (file.size() >= kHeaderSize) {
        std::copy_n(file.begin(), kHeaderSize, header_.begin());
    }
    tga::Layout layout;
    error_ = tga::ParseHeader(file, layout);
    if (error_ != tga::kNoError) {
        failure_ = tga::DescribeError(error_, file);
        return;
    }
    const std::size_t n = layout.PixelCount();
    try {
        pixels_ = std::make_unique_for_overwrite<TgaColor[]>(n + kBlock);
        alpha_ = std::make_unique_for_overwrite<std::uint8_t[]>(n + kBlock);
    } catch (const std::bad_alloc&) {
        pixels_.reset();
        error_ = tga::kOutOfMemory;
        failure_ = tga::DescribeError(error_, file);
        return;
    }
    FileOrderSink sink(pixels_.get(), alpha_.get());
    missingPixels_ = tga::DecodePixels(layout, sink);
    width_ = layout.width;
    height_ = layout.height;
    loaded_ = true;
}

} // namespace fenwold
