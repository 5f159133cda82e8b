#include "image/TgaWriter.h"

#include "platform/BinaryWriter.h"

#include <stdexcept>

namespace fenwold {
namespace {

void PutPixel(BinaryWriter& out, TgaColor colour) {
    out.u32(colour); // B, G, R, A
}

} // namespace

std::vector<std::uint8_t> EncodeTga32(std::span<const TgaColor> pixels, int width, int height) {
    if (width < 0 || height < 0 || width > 0xFFFF || height > 0xFFFF ||
        pixels.size() < static_cast<std::size_t>(width) * height) {
        throw std::invalid_argument("picture size does not fit a Targa file");
    }
    BinaryWriter out;
    out.u8(0);  // no image ID
    out.u8(0);  // no colour map
    out.u8(10); // true colour, run-length coded
    out.zeros(5 + 4);
    out.u16(static_cast<std::uint16_t>(width));
    out.u16(static_cast<std::uint16_t>(height));
    out.u8(32);
    out.u8(8); // eight alpha bits, bottom row first
    for (int row = height - 1; row >= 0; --row) {
        const TgaColor* line = pixels.data() + static_cast<std::size_t>(row) * width;
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 128 && line[x + run] == line[x]) {
                ++run;
            }
            if (run > 1) {
                out.u8(static_cast<std::uint8_t>(0x80 | (run - 1)));
                PutPixel(out, line[x]);
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < width && raw < 128 &&
                   !(x + raw + 1 < width && line[x + raw] == line[x + raw + 1])) {
                ++raw;
            }
            out.u8(static_cast<std::uint8_t>(raw - 1));
            for (int i = 0; i < raw; ++i) {
                PutPixel(out, line[x + i]);
            }
            x += raw;
        }
    }
    return out.take();
}

void WriteTga32(const std::filesystem::path& path, std::span<const TgaColor> pixels, int width,
                int height) {
    BinaryWriter out;
    out.bytes(EncodeTga32(pixels, width, height));
    out.SaveAtomically(path);
}

} // namespace fenwold
