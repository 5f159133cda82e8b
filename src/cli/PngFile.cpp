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

} // namespace

void WritePng(const std::filesystem::path& path, std::span<const Pixel555> pixels, int width,
              int height, int scale) {
    const int outWidth = width * scale;
    const int outHeight = height * scale;
    std::vector<std::uint8_t> encoded;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        throw FileError(path.string(), "cannot start the PNG encoder");
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(outWidth) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw FileError(path.string(), "the PNG encoder failed");
    }
    png_set_write_fn(png, &encoded, AppendBytes, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(outWidth), static_cast<png_uint_32>(outHeight),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < outHeight; ++y) {
        const Pixel555* source = pixels.data() + static_cast<std::size_t>(y / scale) * width;
        for (int x = 0; x < outWidth; ++x) {
            const Pixel555 p = source[x / scale];
            row[3 * x] = Spread(Red5(p));
            row[3 * x + 1] = Spread(Green5(p));
            row[3 * x + 2] = Spread(Blue5(p));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    WriteOutput(path, encoded);
}

} // namespace fenwold::cli
