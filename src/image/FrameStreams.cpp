#include "image/FrameStreams.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

namespace fenwold {
namespace {

constexpr int kMaxTokenCount = 126;
constexpr unsigned kFrameRunFlag = 0x80;
constexpr std::uint16_t kPixelRowEnd = 0x00FF;
constexpr std::uint8_t kAlphaRowEnd = 0xFF;
constexpr std::uint16_t kKeyedRowEnd = 0xFFFF;
constexpr unsigned kKeyedRunFlag = 0x8000;
// Length, gap or second length byte, terminator: the smallest frame stream row.
constexpr std::size_t kEmptyFrameRow = 3;

std::size_t PlaneSize(int width, int height) {
    return width > 0 && height > 0 ? static_cast<std::size_t>(width) * height : 0;
}

void RequireFramable(int width) {
    if (width > kMaxStreamWidth) {
        throw std::length_error("a row of " + std::to_string(width) +
                                " pixels is too wide for a run-length stream");
    }
}

// --- Frame streams --------------------------------------------------------------------------

bool StartsThreeEqual(const auto* row, int x, int width) {
    return x + 2 < width && row[x] == row[x + 1] && row[x] == row[x + 2];
}

// Tokens of one row (the 7-bit scheme): a run wherever three equal values begin, otherwise a
// literal that stops before the next such place. Returns the end of what it wrote.
template <typename T>
T* WriteFrameTokens(const T* row, int width, T* out) {
    int x = 0;
    while (x < width) {
        if (StartsThreeEqual(row, x, width)) {
            int count = 3;
            while (count < kMaxTokenCount && x + count < width && row[x + count] == row[x]) {
                ++count;
            }
            *out++ = static_cast<T>(kFrameRunFlag | count);
            *out++ = row[x];
            x += count;
            continue;
        }
        const int limit = std::min(width, x + kMaxTokenCount);
        int end = x + 1;
        while (end < limit && !StartsThreeEqual(row, end, width)) {
            ++end;
        }
        *out++ = static_cast<T>(end - x);
        out = std::copy(row + x, row + end, out);
        x = end;
    }
    return out;
}

// Frames the tokens: pixel rows begin with the length slot and a gap slot, alpha rows with a
// two-byte length; `row` holds the row from its first slot or byte.
void FrameRow(std::uint16_t* row, std::uint16_t*& end) {
    *end++ = kPixelRowEnd;
    row[0] = static_cast<std::uint16_t>(end - row);
    row[1] = 0;
}
void FrameRow(std::uint8_t* row, std::uint8_t*& end) {
    *end++ = kAlphaRowEnd;
    const auto length = static_cast<std::size_t>(end - row);
    row[0] = static_cast<std::uint8_t>(length);
    row[1] = static_cast<std::uint8_t>(length >> 8);
}

template <typename T>
std::vector<T> EncodeFrame(std::span<const T> values, int width, int height) {
    const std::size_t size = PlaneSize(width, height);
    if (height <= 0 || width < 0 || values.size() < size) {
        return {};
    }
    RequireFramable(width);
    // Room for the longest rows (all literals: a header per 126 values, and the framing); the
    // stream is then copied out at its real length.
    const std::size_t longestRow = static_cast<std::size_t>(width) + width / kMaxTokenCount + 4;
    const auto scratch = std::make_unique_for_overwrite<T[]>(longestRow * height);
    T* end = scratch.get();
    for (int y = 0; y < height; ++y) {
        T* row = end;
        end = WriteFrameTokens(values.data() + static_cast<std::size_t>(y) * width, width, row + 2);
        FrameRow(row, end);
    }
    return std::vector<T>(scratch.get(), end);
}

std::size_t FrameRowLength(std::span<const std::uint16_t> stream, std::size_t at) {
    return stream[at];
}
std::size_t FrameRowLength(std::span<const std::uint8_t> stream, std::size_t at) {
    return stream[at] | static_cast<std::size_t>(stream[at + 1]) << 8;
}

// Walks the rows of a frame stream. `visit(y, tokensBegin, tokensEnd)` gets each row's token
// range (the terminator excluded) and returns false to stop. Returns false when a row's length
// does not fit the stream, so that the rows after it cannot be found.
template <typename T, typename Visit>
bool ForEachFrameRow(std::span<const T> stream, int height, std::size_t& end, Visit visit) {
    std::size_t at = 0;
    for (int y = 0; y < height; ++y) {
        if (stream.size() - at < 2) {
            return false;
        }
        const std::size_t length = FrameRowLength(stream, at);
        if (length < kEmptyFrameRow || length > stream.size() - at) {
            return false;
        }
        if (!visit(y, at + 2, at + length - 1)) {
            return false;
        }
        at += length;
    }
    end = at;
    return true;
}

template <typename T>
std::vector<T> DecodeFrame(std::span<const T> stream, int width, int height) {
    std::vector<T> out(PlaneSize(width, height));
    if (out.empty()) {
        return out;
    }
    std::size_t end = 0;
    ForEachFrameRow(stream, height, end, [&](int y, std::size_t at, std::size_t rowEnd) {
        T* row = out.data() + static_cast<std::size_t>(y) * width;
        int x = 0;
        while (at < rowEnd) {
            const unsigned header = stream[at++];
            const int count = static_cast<int>(header & 0x7F);
            if (header & kFrameRunFlag) {
                if (at == rowEnd) {
                    break;
                }
                const T value = stream[at++];
                const int fill = std::min(count, width - x);
                std::fill_n(row + x, fill, value);
                x += fill;
            } else {
                const int given = static_cast<int>(std::min<std::size_t>(count, rowEnd - at));
                const int copy = std::min(given, width - x);
                std::copy_n(stream.data() + at, copy, row + x);
                x += copy;
                at += static_cast<std::size_t>(given);
            }
        }
        return true;
    });
    return out;
}

template <typename T>
bool FrameFits(std::span<const T> stream, int width, int height, T rowEnd) {
    if (width < 0 || height < 0) {
        return false;
    }
    std::size_t end = 0;
    const bool rowsFit =
        ForEachFrameRow(stream, height, end, [&](int, std::size_t at, std::size_t tokensEnd) {
            if (stream[tokensEnd] != rowEnd) {
                return false;
            }
            int x = 0;
            while (at < tokensEnd) {
                const unsigned header = stream[at++];
                const int count = static_cast<int>(header & 0x7F);
                if (header > 0xFF || count == 0 || count > kMaxTokenCount || count > width - x) {
                    return false;
                }
                const std::size_t values = (header & kFrameRunFlag) ? 1 : count;
                if (values > tokensEnd - at) {
                    return false;
                }
                at += values;
                x += count;
            }
            return x == width;
        });
    return rowsFit && end == stream.size();
}

// --- Alpha-keyed streams --------------------------------------------------------------------

// Writes the 16-bit variant: a token is one slot (alpha low, run flag and count high) and
// values are pixels.
struct KeyedWriter16 {
    std::vector<std::uint16_t> out;

    std::size_t BeginRow() {
        out.push_back(0);
        return out.size() - 1;
    }
    void EndRow(std::size_t start) {
        out.push_back(kKeyedRowEnd);
        out[start] = static_cast<std::uint16_t>(out.size() - start);
    }
    std::size_t ReserveHeader() {
        out.push_back(0);
        return out.size() - 1;
    }
    void SetHeader(std::size_t at, int alpha, bool run, int count) {
        out[at] = static_cast<std::uint16_t>((run ? kKeyedRunFlag : 0) | count << 8 | alpha);
    }
    void Value(std::uint16_t value) { out.push_back(value); }
};

// The 8-bit variant: a two-byte length, tokens of two bytes (alpha, then run flag and count)
// and byte values.
struct KeyedWriter8 {
    std::vector<std::uint8_t> out;

    std::size_t BeginRow() {
        out.push_back(0);
        out.push_back(0);
        return out.size() - 2;
    }
    void EndRow(std::size_t start) {
        out.push_back(0xFF);
        out.push_back(0xFF);
        const std::size_t length = out.size() - start;
        out[start] = static_cast<std::uint8_t>(length);
        out[start + 1] = static_cast<std::uint8_t>(length >> 8);
    }
    std::size_t ReserveHeader() {
        out.push_back(0);
        out.push_back(0);
        return out.size() - 2;
    }
    void SetHeader(std::size_t at, int alpha, bool run, int count) {
        out[at] = static_cast<std::uint8_t>(alpha);
        out[at + 1] = static_cast<std::uint8_t>((run ? kFrameRunFlag : 0) | count);
    }
    void Value(std::uint8_t value) { out.push_back(value); }
};

// One span of equal, non-zero alpha (at most 126 pixels, so no literal can outgrow its count):
// runs of equal neighbours and literals between them.
template <typename Writer, typename T>
void AppendKeyedSpan(Writer& writer, const T* values, int count, int alpha) {
    std::size_t header = writer.ReserveHeader();
    int run = 0;
    int literal = 0;
    for (int i = 0; i + 1 < count; ++i) {
        if (values[i] == values[i + 1]) {
            if (literal > 0) {
                writer.SetHeader(header, alpha, false, literal);
                header = writer.ReserveHeader();
                literal = 0;
            }
            ++run;
        } else if (run > 0) {
            writer.Value(values[i]);
            writer.SetHeader(header, alpha, true, run + 1);
            header = writer.ReserveHeader();
            run = 0;
        } else {
            writer.Value(values[i]);
            ++literal;
        }
    }
    writer.Value(values[count - 1]);
    if (run > 0) {
        writer.SetHeader(header, alpha, true, run + 1);
    } else {
        writer.SetHeader(header, alpha, false, literal + 1);
    }
}

template <typename Writer, typename T>
void EncodeKeyed(Writer& writer, const T* values, const std::uint8_t* alpha, int width, int height,
                 std::ptrdiff_t valueStride, std::ptrdiff_t alphaStride) {
    if (values == nullptr || alpha == nullptr || height <= 0 || width < 0) {
        return;
    }
    RequireFramable(width);
    for (int y = 0; y < height; ++y) {
        const T* valueRow = values + y * valueStride;
        const std::uint8_t* alphaRow = alpha + y * alphaStride;
        const std::size_t start = writer.BeginRow();
        int x = 0;
        while (x < width) {
            const int a = alphaRow[x];
            int end = x + 1;
            while (end < width && end - x < kMaxTokenCount && alphaRow[end] == a) {
                ++end;
            }
            if (a == 0) {
                writer.SetHeader(writer.ReserveHeader(), 0, true, end - x);
                writer.Value(0);
            } else {
                AppendKeyedSpan(writer, valueRow + x, end - x, a);
            }
            x = end;
        }
        writer.EndRow(start);
    }
}

struct KeyedReader16 {
    std::span<const std::uint16_t> stream;
    static constexpr std::size_t kLengthSize = 1;
    static constexpr std::size_t kTokenSize = 1;

    std::size_t Length(std::size_t at) const { return stream[at]; }
    unsigned Token(std::size_t at) const { return stream[at]; }
};

struct KeyedReader8 {
    std::span<const std::uint8_t> stream;
    static constexpr std::size_t kLengthSize = 2;
    static constexpr std::size_t kTokenSize = 2;

    std::size_t Length(std::size_t at) const {
        return stream[at] | static_cast<std::size_t>(stream[at + 1]) << 8;
    }
    unsigned Token(std::size_t at) const { return stream[at] | stream[at + 1] << 8u; }
};

template <typename Reader, typename T>
bool DecodeKeyed(const Reader& reader, T* valuesOut, std::uint8_t* alphaOut, int width, int height,
                 std::ptrdiff_t valueStride, std::ptrdiff_t alphaStride) {
    if (height > 0 && (width < 0 || valuesOut == nullptr)) {
        return false;
    }
    const auto& stream = reader.stream;
    std::size_t at = 0;
    for (int y = 0; y < height; ++y) {
        if (stream.size() - at < Reader::kLengthSize) {
            return false;
        }
        const std::size_t length = reader.Length(at);
        if (length < Reader::kLengthSize + Reader::kTokenSize || length > stream.size() - at) {
            return false;
        }
        const std::size_t rowEnd = at + length;
        std::size_t p = at + Reader::kLengthSize;
        T* valueRow = valuesOut + y * valueStride;
        std::uint8_t* alphaRow = alphaOut != nullptr ? alphaOut + y * alphaStride : nullptr;
        int x = 0;
        while (true) {
            if (rowEnd - p < Reader::kTokenSize) {
                return false; // no terminator inside the row
            }
            const unsigned token = reader.Token(p);
            p += Reader::kTokenSize;
            if (token == kKeyedRowEnd) {
                break;
            }
            const int alpha = static_cast<int>(token & 0xFF);
            const int count = static_cast<int>((token >> 8) & 0x7F);
            const bool run = (token & kKeyedRunFlag) != 0;
            const std::size_t given = run ? 1 : static_cast<std::size_t>(count);
            if (count > width - x || given > rowEnd - p) {
                return false;
            }
            for (int i = 0; i < count; ++i) {
                const T value = stream[p + (run ? 0 : i)];
                valueRow[x + i] = alpha == 0 ? T{0} : value;
                if (alphaRow != nullptr) {
                    alphaRow[x + i] = static_cast<std::uint8_t>(alpha);
                }
            }
            p += given;
            x += count;
        }
        if (p != rowEnd) {
            return false; // the terminator is not where the row's length says
        }
        std::fill(valueRow + x, valueRow + width, T{0});
        if (alphaRow != nullptr) {
            std::fill(alphaRow + x, alphaRow + width, std::uint8_t{0});
        }
        at = rowEnd;
    }
    return true;
}

} // namespace

std::vector<std::uint16_t> EncodeFramePixels(std::span<const Pixel555> pixels, int width,
                                             int height) {
    return EncodeFrame(pixels, width, height);
}

std::vector<std::uint8_t> EncodeFrameAlpha(std::span<const std::uint8_t> alpha, int width,
                                           int height) {
    return EncodeFrame(alpha, width, height);
}

std::vector<Pixel555> DecodeFramePixels(std::span<const std::uint16_t> stream, int width,
                                        int height) {
    return DecodeFrame(stream, width, height);
}

std::vector<std::uint8_t> DecodeFrameAlpha(std::span<const std::uint8_t> stream, int width,
                                           int height) {
    return DecodeFrame(stream, width, height);
}

bool FramePixelStreamFits(std::span<const std::uint16_t> stream, int width, int height) {
    return FrameFits(stream, width, height, kPixelRowEnd);
}

bool FrameAlphaStreamFits(std::span<const std::uint8_t> stream, int width, int height) {
    return FrameFits(stream, width, height, kAlphaRowEnd);
}

std::vector<std::uint16_t> EncodeAlphaKeyed16(const Pixel555* pixels, const std::uint8_t* alpha,
                                              int width, int height, std::ptrdiff_t pixelStride,
                                              std::ptrdiff_t alphaStride) {
    KeyedWriter16 writer;
    EncodeKeyed(writer, pixels, alpha, width, height, pixelStride, alphaStride);
    return std::move(writer.out);
}

std::vector<std::uint8_t> EncodeAlphaKeyed8(const std::uint8_t* values, const std::uint8_t* alpha,
                                            int width, int height, std::ptrdiff_t valueStride,
                                            std::ptrdiff_t alphaStride) {
    KeyedWriter8 writer;
    EncodeKeyed(writer, values, alpha, width, height, valueStride, alphaStride);
    return std::move(writer.out);
}

bool DecodeAlphaKeyed16(std::span<const std::uint16_t> stream, Pixel555* pixelsOut,
                        std::uint8_t* alphaOut, int width, int height, std::ptrdiff_t pixelStride,
                        std::ptrdiff_t alphaStride) {
    return DecodeKeyed(KeyedReader16{stream}, pixelsOut, alphaOut, width, height, pixelStride,
                       alphaStride);
}

bool DecodeAlphaKeyed8(std::span<const std::uint8_t> stream, std::uint8_t* valuesOut,
                       std::uint8_t* alphaOut, int width, int height, std::ptrdiff_t valueStride,
                       std::ptrdiff_t alphaStride) {
    return DecodeKeyed(KeyedReader8{stream}, valuesOut, alphaOut, width, height, valueStride,
                       alphaStride);
}

} // namespace fenwold
