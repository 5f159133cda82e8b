#include "vq/DrawReference.h"

#include <algorithm>
#include <vector>

namespace fenwold::test {
namespace {

// d + (s - d) * w / 32 channel by channel, each product floored as the high half of the 16-bit
// product x * (w << 11).
Pixel555 Blend(Pixel555 s, Pixel555 d, int w) {
    const auto scaled = [w](unsigned p, unsigned mask) {
        return ((p & mask) * static_cast<unsigned>(w << 11) >> 16) & mask;
    };
    return static_cast<Pixel555>(d + scaled(s, 0x7C1F) - scaled(d, 0x7C1F) + scaled(s, 0x03E0) -
                                 scaled(d, 0x03E0));
}

// Moves past one framed row and returns its tokens.
std::span<const std::uint8_t> NextRow(const std::uint8_t*& at) {
    std::size_t length = 0;
    for (; *at == 0xFF; ++at) {
        length += 255;
    }
    length += *at++;
    const std::uint8_t* tokens = at;
    at += length;
    return {tokens, length};
}

// The codebook pixel of each column of an index row, or -1 past the row's tokens. Tokens start
// at even columns; a value covers a pair of pixels.
std::vector<int> Sources(std::span<const std::uint8_t> row, const Pixel555* entries, int stride,
                         int width) {
    std::vector<int> pixels(static_cast<std::size_t>(width), -1);
    int column = 0;
    for (std::size_t p = 0; p < row.size();) {
        const std::uint8_t header = row[p++];
        const bool run = (header & 0x80) != 0;
        const int n = 2 * (header & 0x7F);
        for (int k = 0; k < n; ++k, ++column) {
            const std::size_t at = run ? p : p + 2 * static_cast<std::size_t>(k / 2);
            if (column < width) {
                pixels[column] = entries[(row[at] | row[at + 1] << 8) * stride + (column & 1)];
            }
        }
        p += run ? 2 : static_cast<std::size_t>(n);
    }
    return pixels;
}

// How each column of an alpha row is drawn: weight 0 not at all, 32 copied, else blended in
// thirty-seconds; team pixels through the team colours.
struct Shade {
    int weight = 0;
    bool team = false;
};

std::vector<Shade> Shades(std::span<const std::uint8_t> row, bool teamColoured, int level,
                          int width) {
    std::vector<Shade> shades(static_cast<std::size_t>(width));
    const auto weigh = [level](int value) { return ((value >> 3) * level >> 5) + 1; };
    Shade shade; // a team token of kind 3 keeps the one before
    int column = 0;
    for (std::size_t p = 0; p < row.size();) {
        const std::uint8_t header = row[p++];
        const std::uint8_t* literal = nullptr;
        int n = header & 0x7F;
        if (teamColoured) {
            n = header & 0x3F;
            if (header >> 6 != 3) {
                shade = {header >> 6 == 2 ? 0 : level + 1, header >> 6 == 1};
            }
        } else if ((header & 0x80) != 0) {
            const int value = row[p++];
            shade = {value == 0 ? 0 : value == 255 ? level + 1 : weigh(value), false};
        } else {
            literal = row.data() + p;
            p += static_cast<std::size_t>(n);
        }
        for (int k = 0; k < n; ++k, ++column) {
            if (column < width) {
                shades[column] = literal != nullptr ? Shade{weigh(literal[k]), false} : shade;
            }
        }
    }
    return shades;
}

} // namespace

void ReferenceDrawFrameTables(int bufferWidth, int bufferHeight, int x, int y, int maskFlag,
                              int blockFlag, const FrameTables& frame, const Pixel555* codebook8,
                              const Pixel555* codebook16, const Pixel555* teamColours,
                              Pixel555* buffer, int alphaValue) {
    if (x > bufferWidth || y > bufferHeight || x + frame.width < 0 || y + frame.height < 0) {
        return;
    }
    const int sx = std::max(-x, 0);
    const int sy = std::max(-y, 0);
    const int w = std::min(frame.width, bufferWidth - x);
    const int h = std::min(frame.height, bufferHeight - y);
    const bool sixteen = blockFlag == 1;
    const Pixel555* codebook = sixteen ? codebook16 : codebook8;
    if (sx >= w || sy >= h || codebook == nullptr) {
        return; // an empty codebook: tables that fit it name no entry, so nothing shows
    }
    const std::uint8_t* indexAt = frame.indexTable.data();
    const std::uint8_t* alphaAt = frame.alphaTable.data();
    std::span<const std::uint8_t> indexRow;
    for (int row = 0; row < h; ++row) {
        if (!sixteen || row % 2 == 0) {
            indexRow = NextRow(indexAt); // a 16-pixel entry serves two rows
        }
        const auto alphaRow = NextRow(alphaAt);
        if (row < sy) {
            continue;
        }
        const int offset = frame.index % 4 * (sixteen ? 4 : 2) + (sixteen ? row % 2 * 2 : 0);
        const auto sources = Sources(indexRow, codebook + offset, sixteen ? 16 : 8, w);
        const auto shades = Shades(alphaRow, maskFlag != 0, alphaValue >> 3, w);
        for (int column = sx; column < w; ++column) {
            const Shade shade = shades[column];
            if (shade.weight == 0 || sources[column] < 0) {
                continue;
            }
            auto source = static_cast<Pixel555>(sources[column]);
            if (shade.team && teamColours != nullptr) {
                source = teamColours[source & 31];
            }
            Pixel555& out = buffer[static_cast<std::ptrdiff_t>(y + row) * bufferWidth + x + column];
            out = shade.weight == 32 ? source : Blend(source, out, shade.weight);
        }
    }
}

} // namespace fenwold::test
