#include "cli/PngFile.h"

#include "cli/OutputFiles.h"
#include "platform/FileError.h"

#include <png.h>
#include <vector>

namespace fenwold::cli {
namespace {

std::uint8_t Spread(int channel) {
    return static_cast<std::uint8_t>(channel << 3 | channel >> 2);
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

// Runs the encoding steps; libpng reports a failure by jumping back here. The steps keep their
// state in the caller's frame, which the jump does not touch.
template <typename Steps>
bool RunEncoder(png_structp png, Steps&& steps) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    steps();
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodePng(const std::filesystem::path& path,
                                    std::span<const Pixel555> pixels,
                                    std::span<const std::uint8_t> alpha, int width, int height,
                                    int scale) {
    const bool withAlpha = !alpha.empty();
    const int channels = withAlpha ? 4 : 3;
    const int outWidth = width * scale;
    const int outHeight = height * scale;
    std::vector<std::uint8_t> encoded;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(outWidth) * channels);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        throw FileError(path.string(), "cannot start the PNG encoder");
    }
    const bool written = RunEncoder(png, [&] {
        png_set_write_fn(png, &encoded, AppendBytes, Flush);
        png_set_IHDR(png, info, static_cast<png_uint_32>(outWidth),
                     static_cast<png_uint_32>(outHeight), 8,
                     withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < outHeight; ++y) {
            const std::size_t source = static_cast<std::size_t>(y / scale) * width;
            for (int x = 0; x < outWidth; ++x) {
                const Pixel555 p = pixels[source + x / scale];
                std::uint8_t* out = &row[static_cast<std::size_t>(x) * channels];
                out[0] = Spread(Red5(p));
                out[1] = Spread(Green5(p));
                out[2] = Spread(Blue5(p));
                if (withAlpha) {
                    out[3] = alpha[source + x / scale];
                }
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    });
    png_destroy_write_struct(&png, &info);
    if (!written) {
        throw FileError(path.string(), "the PNG encoder failed");
    }
    return encoded;
}

void WritePng(const std::filesystem::path& path, std::span<const Pixel555> pixels, int width,
              int height, int scale) {
    WriteOutput(path, EncodePng(path, pixels, {}, width, height, scale));
}

} // namespace fenwold::cli
