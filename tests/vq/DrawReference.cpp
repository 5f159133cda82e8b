#include "vq/DrawReference.h"

#include <algorithm>
#include <cstring>

namespace fenwold::test {

namespace {

constexpr int kBlendBlock = 16;
constexpr int kMaxSegment = 256; // tokens cover at most 252 pixels

// floor(x * w / 32) as the high half of the 16-bit product x * (w << 11), which vector units do
// in one instruction. Needs w <= 31, which every blend below has (weight 32 is a copy).
inline std::uint16_t Scaled(std::uint16_t x, std::uint16_t w11) {
    return static_cast<std::uint16_t>((std::uint32_t{x} * std::uint32_t{w11}) >> 16);
}

inline std::uint16_t BlendLane(std::uint16_t s, std::uint16_t d, std::uint16_t w11) {
    const auto rb = [w11](std::uint16_t p) {
        return static_cast<std::uint16_t>(Scaled(p & 0x7C1F, w11) & 0x7C1F);
    };
    const auto g = [w11](std::uint16_t p) {
        return static_cast<std::uint16_t>(Scaled(p & 0x03E0, w11) & 0x03E0);
    };
    return static_cast<std::uint16_t>(d + rb(s) - rb(d) + g(s) - g(d));
}

void BlendUniform(const Pixel555* __restrict src, Pixel555* __restrict dst, int n, int w) {
    const auto w11 = static_cast<std::uint16_t>(w << 11);
    int k = 0;
    for (; k + kBlendBlock <= n; k += kBlendBlock) {
        for (int i = 0; i < kBlendBlock; ++i) {
            dst[k + i] = BlendLane(src[k + i], dst[k + i], w11);
        }
    }
    for (; k < n; ++k) {
        dst[k] = BlendLane(src[k], dst[k], w11);
    }
}

// Weight ((v >> 3) * G >> 5) + 1 per pixel from its alpha value v.
void BlendLiteral(const Pixel555* __restrict src, Pixel555* __restrict dst,
                  const std::uint8_t* __restrict alpha, int n, int level) {
    // Small operand types let the weights be worked out in 16-bit lanes too.
    const auto g = static_cast<std::uint8_t>(level);
    const auto w11 = [g](std::uint8_t v) {
        return static_cast<std::uint16_t>(((((v >> 3) * g) >> 5) + 1) << 11);
    };
    int k = 0;
    for (; k + kBlendBlock <= n; k += kBlendBlock) {
        for (int i = 0; i < kBlendBlock; ++i) {
            dst[k + i] = BlendLane(src[k + i], dst[k + i], w11(alpha[k + i]));
        }
    }
    for (; k < n; ++k) {
        dst[k] = BlendLane(src[k], dst[k], w11(alpha[k]));
    }
}

// The index token stream of a row. Tokens start at even columns and each index value covers a
// pair of pixels; `pair` (runs) or `values` (literals) is at the pair of the next pixel.
template <int Stride> // pixels per codebook entry
struct IndexStream {
    const std::uint8_t* p;
    const std::uint8_t* end;
    const Pixel555* entries; // codebook plus the offset of this frame and pixel row
    int left = 0;            // pixels left in the current token
    bool run = false;
    const Pixel555* pair = nullptr;
    const std::uint8_t* values = nullptr;

    const Pixel555* PairOf(const std::uint8_t* value) const {
        return entries + (value[0] | value[1] << 8) * Stride;
    }

    void Next() {
        const std::uint8_t header = *p++;
        left = 2 * (header & 0x7F);
        run = (header & 0x80) != 0;
        if (run) {
            pair = PairOf(p);
            p += 2;
        } else {
            values = p;
            p += left;
        }
    }

    void Skip(int column, int n) {
        if (!run) {
            values += 2 * (((column + n) >> 1) - (column >> 1));
        }
        left -= n;
    }

    // Passes over n pixels from `column` on, across tokens; false when the row ends first.
    bool Advance(int column, int n) {
        while (n > 0) {
            if (left == 0) {
                if (p >= end) {
                    return false;
                }
                Next();
                continue;
            }
            const int m = std::min(n, left);
            Skip(column, m);
            column += m;
            n -= m;
        }
        return true;
    }

    // The source pixels of columns column .. column + n - 1, all within the current token.
    void Take(int column, int n, Pixel555* out) {
        int k = 0;
        if (run) {
            if ((column & 1) != 0) {
                out[k++] = pair[1];
            }
            std::uint32_t two;
            std::memcpy(&two, pair, 4);
            for (; k + 2 <= n; k += 2) {
                std::memcpy(out + k, &two, 4);
            }
            if (k < n) {
                out[k] = pair[0];
            }
        } else {
            if ((column & 1) != 0) {
                out[k++] = PairOf(values)[1];
                values += 2;
            }
            for (; k + 2 <= n; k += 2) {
                std::memcpy(out + k, PairOf(values), 4);
                values += 2;
            }
            if (k < n) {
                out[k] = PairOf(values)[0];
            }
        }
        left -= n;
    }
};

enum class Kind { Transparent, Copy, Blend, Literal, TeamCopy, TeamBlend };

// The alpha token stream of a row, as kinds of segments.
template <bool TeamColoured>
struct AlphaStream {
    const std::uint8_t* p;
    const std::uint8_t* end;
    int level; // G
    int left = 0;
    Kind kind = Kind::Transparent;
    int weight = 0;                       // Blend, TeamBlend
    const std::uint8_t* values = nullptr; // Literal

    void Next() {
        const std::uint8_t header = *p++;
        if constexpr (TeamColoured) {
            left = header & 0x3F;
            switch (header >> 6) {
            case 2:
                kind = Kind::Transparent;
                break;
            case 1:
                kind = level == 31 ? Kind::TeamCopy : Kind::TeamBlend;
                break;
            case 0:
                kind = level == 31 ? Kind::Copy : Kind::Blend;
                break;
            default:
                break; // never written: the previous kind goes on
            }
            weight = level + 1;
            return;
        }
        left = header & 0x7F;
        if ((header & 0x80) == 0) {
            kind = Kind::Literal;
            values = p;
            p += left;
            return;
        }
        const std::uint8_t value = *p++;
        if (value == 0) {
            kind = Kind::Transparent;
        } else if (value == 255) {
            kind = level == 31 ? Kind::Copy : Kind::Blend;
            weight = level + 1;
        } else {
            kind = Kind::Blend;
            weight = (((value >> 3) * level) >> 5) + 1;
        }
    }

    void Skip(int n) {
        if (kind == Kind::Literal) {
            values += n;
        }
        left -= n;
    }
};

void ToTeamColours(Pixel555* pixels, int n, const Pixel555* team) {
    if (team != nullptr) {
        for (int k = 0; k < n; ++k) {
            pixels[k] = team[pixels[k] & 31];
        }
    }
}

// Draws frame columns skip .. width - 1 of one row to dst (which is at column skip).
template <int Stride, bool TeamColoured>
void DrawRow(IndexStream<Stride> index, AlphaStream<TeamColoured> alpha, int skip, int width,
             Pixel555* dst, const Pixel555* team) {
    Pixel555 source[kMaxSegment];
    dst -= skip;
    int column = 0;
    while (column < width) {
        if (alpha.left == 0) {
            if (alpha.p >= alpha.end) {
                return;
            }
            alpha.Next();
            continue;
        }
        if (column < skip || alpha.kind == Kind::Transparent) {
            if (column >= skip && alpha.p >= alpha.end) {
                return; // a transparent run ends the row: nothing more to draw
            }
            // Passed over whole, across index tokens.
            const int n = std::min(alpha.left, (column < skip ? skip : width) - column);
            if (!index.Advance(column, n)) {
                return;
            }
            alpha.Skip(n);
            column += n;
            continue;
        }
        if (index.left == 0) {
            if (index.p >= index.end) {
                return;
            }
            index.Next();
        }
        const int n = std::min({index.left, alpha.left, width - column});
        Pixel555* out = dst + column;
        switch (alpha.kind) {
        case Kind::Copy:
            index.Take(column, n, out);
            break;
        case Kind::Blend:
            index.Take(column, n, source);
            BlendUniform(source, out, n, alpha.weight);
            break;
        case Kind::Literal:
            index.Take(column, n, source);
            BlendLiteral(source, out, alpha.values, n, alpha.level);
            break;
        case Kind::TeamCopy:
            index.Take(column, n, source);
            ToTeamColours(source, n, team);
            std::memcpy(out, source, static_cast<std::size_t>(n) * sizeof(Pixel555));
            break;
        case Kind::TeamBlend:
            index.Take(column, n, source);
            ToTeamColours(source, n, team);
            BlendUniform(source, out, n, alpha.weight);
            break;
        case Kind::Transparent:
            break;
        }
        alpha.Skip(n);
        column += n;
    }
}

// Moves past one framed row and returns where its tokens are.
const std::uint8_t* NextRow(const std::uint8_t*& at, const std::uint8_t*& tokenEnd) {
    std::size_t length = 0;
    while (*at == 0xFF) {
        length += 255;
        ++at;
    }
    length += *at++;
    const std::uint8_t* tokens = at;
    at += length;
    tokenEnd = at;
    return tokens;
}

// The visible rows, with the index row and alpha row of the first one at indexAt and alphaAt.
template <int Stride, bool TeamColoured>
void DrawRows(const std::uint8_t* indexAt, const std::uint8_t* alphaAt, const Pixel555* entries,
              int f, int sx, int sy, int w, int h, int level, const Pixel555* teamColours,
              Pixel555* dst, int bufferWidth) {
    constexpr bool sixteen = Stride == 16;
    int parity = sy % 2;
    const std::uint8_t* indexTokens = nullptr;
    const std::uint8_t* indexEnd = nullptr;
    for (int row = sy; row < h; ++row) {
        if (!sixteen || row == sy || parity == 0) {
            indexTokens = NextRow(indexAt, indexEnd);
        }
        const std::uint8_t* alphaEnd = nullptr;
        const std::uint8_t* alphaTokens = NextRow(alphaAt, alphaEnd);
        const int offset = sixteen ? f * 4 + parity * 2 : f * 2;
        DrawRow(IndexStream<Stride>{indexTokens, indexEnd, entries + offset},
                AlphaStream<TeamColoured>{alphaTokens, alphaEnd, level}, sx, w, dst, teamColours);
        if (sixteen) {
            parity ^= 1;
        }
        dst += bufferWidth;
    }
}

} // namespace

void ReferenceDrawFrameTables(int bufferWidth, int bufferHeight, int x, int y, int maskFlag,
                              int blockFlag, const FrameTables& frame, const Pixel555* codebook8,
                              const Pixel555* codebook16, const Pixel555* teamColours,
                              Pixel555* buffer, int alphaValue) {
    int w = frame.width;
    int h = frame.height;
    if (x > bufferWidth || y > bufferHeight || x + w < 0 || y + h < 0) {
        return;
    }
    const int sx = x < 0 ? -x : 0;
    const int sy = y < 0 ? -y : 0;
    w = std::min(w, bufferWidth - x);
    h = std::min(h, bufferHeight - y);
    if (sx >= w || sy >= h) {
        return;
    }
    const int f = frame.index % 4;
    const bool sixteen = blockFlag == 1;
    if ((sixteen ? codebook16 : codebook8) == nullptr) {
        return; // an empty codebook: tables that fit it name no entry, so nothing shows
    }

    const std::uint8_t* indexAt = frame.indexTable.data();
    const std::uint8_t* alphaAt = frame.alphaTable.data();
    const std::uint8_t* end = nullptr;
    // Rows above the buffer are passed by their length prefixes alone.
    for (int r = 0; r < (sixteen ? sy / 2 : sy); ++r) {
        NextRow(indexAt, end);
    }
    for (int r = 0; r < sy; ++r) {
        NextRow(alphaAt, end);
    }
    Pixel555* dst =
        buffer + static_cast<std::ptrdiff_t>(std::max(y, 0)) * bufferWidth + std::max(x, 0);
    const int level = alphaValue >> 3;
    const bool team = maskFlag != 0;
    if (sixteen) {
        (team ? DrawRows<16, true> : DrawRows<16, false>)(indexAt, alphaAt, codebook16, f, sx, sy,
                                                          w, h, level, teamColours, dst,
                                                          bufferWidth);
    } else {
        (team ? DrawRows<8, true> : DrawRows<8, false>)(indexAt, alphaAt, codebook8, f, sx, sy, w,
                                                        h, level, teamColours, dst, bufferWidth);
    }
}

} // namespace fenwold::test
