#include "image/FrameStreams.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace fenwold {
namespace {

static_assert(std::endian::native == std::endian::little,
              "16-bit streams are stored as little-endian slots");

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

// Scans over 8- or 16-bit values a 64-bit word at a time: runs and literals are measured this
// way, since most of a sprite's rows are long stretches of either.
template <typename T>
struct Lanes {
    static constexpr int kCount = 8 / sizeof(T);
    static constexpr int kBits = 8 * sizeof(T);
    static constexpr std::uint64_t kOnes = ~std::uint64_t{0} / ((std::uint64_t{1} << kBits) - 1);
    static constexpr std::uint64_t kBelowTop = ~(kOnes << (kBits - 1));

    static std::uint64_t Load(const T* at) {
        std::uint64_t word = 0;
        std::memcpy(&word, at, sizeof word);
        return word;
    }
    // The top bit of every lane that is zero, and no other bit.
    static std::uint64_t ZeroLanes(std::uint64_t word) {
        return ~(((word & kBelowTop) + kBelowTop) | word | kBelowTop);
    }
    // The first lane in memory order with a bit set.
    static int FirstLane(std::uint64_t word) { return std::countr_zero(word) / kBits; }
};

// Where the values equal to values[from] that follow it end, at most at `limit`.
template <typename T>
int EqualRunEnd(const T* values, int from, int limit) {
    using L = Lanes<T>;
    const std::uint64_t repeated = L::kOnes * values[from];
    int x = from + 1;
    for (; x + L::kCount <= limit; x += L::kCount) {
        if (const std::uint64_t differing = L::Load(values + x) ^ repeated; differing != 0) {
            return x + L::FirstLane(differing);
        }
    }
    while (x < limit && values[x] == values[from]) {
        ++x;
    }
    return x;
}

// The first k in [from, last) where `Count` equal values begin (two or three), otherwise `last`
// (or `from` when that is beyond it); reads values[last + Count - 2].
template <int Count, typename T>
int FirstEqualValues(const T* values, int from, int last) {
    using L = Lanes<T>;
    int k = from;
    for (; k + L::kCount <= last; k += L::kCount) {
        std::uint64_t found = ~std::uint64_t{0};
        std::uint64_t previous = L::Load(values + k);
        for (int i = 1; i < Count; ++i) {
            const std::uint64_t next = L::Load(values + k + i);
            found &= L::ZeroLanes(previous ^ next);
            previous = next;
        }
        if (found != 0) {
            return k + L::FirstLane(found);
        }
    }
    const auto begins = [values](int at) {
        return std::all_of(values + at + 1, values + at + Count,
                           [first = values[at]](T value) { return value == first; });
    };
    while (k < last && !begins(k)) {
        ++k;
    }
    return k;
}

// Tokens of one row (the 7-bit scheme): a run wherever three equal values begin, otherwise a
// literal that stops before the next such place. Returns the end of what it wrote.
template <typename T>
T* WriteFrameTokens(const T* row, int width, T* out) {
    // Three equal values can begin only before this.
    const int lastTriple = std::max(width - 2, 0);
    int x = 0;
    while (x < width) {
        const int limit = std::min(width, x + kMaxTokenCount);
        if (x < lastTriple && row[x] == row[x + 1] && row[x] == row[x + 2]) {
            const int end = EqualRunEnd(row, x, limit);
            *out++ = static_cast<T>(kFrameRunFlag | (end - x));
            *out++ = row[x];
            x = end;
            continue;
        }
        int end = FirstEqualValues<3>(row, x + 1, std::min(limit, lastTriple));
        if (end >= std::min(limit, lastTriple)) {
            end = limit;
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

// Most tokens are short, so they are written a word at a time rather than by a library call
// each. A word may run past the token's values, as far as `room` (the values writable from
// `out`) allows: the rest of the row is written after them.
template <typename T>
void FillShort(T* out, int count, int room, T value) {
    using L = Lanes<T>;
    const std::uint64_t repeated = L::kOnes * value;
    int done = 0;
    for (; done < count && room - done >= L::kCount; done += L::kCount) {
        std::memcpy(out + done, &repeated, sizeof repeated);
    }
    for (; done < count; ++done) {
        out[done] = value;
    }
}

// The same for `count` values copied from `from`, of which `available` may be read.
template <typename T>
void CopyShort(const T* from, int available, int count, T* out, int room) {
    using L = Lanes<T>;
    int done = 0;
    for (; done < count && room - done >= L::kCount && available - done >= L::kCount;
         done += L::kCount) {
        std::memcpy(out + done, from + done, 8);
    }
    for (; done < count; ++done) {
        out[done] = from[done];
    }
}

// Fills all width * height values of `out`; what the stream does not supply is 0.
template <typename T>
void DecodeFrame(std::span<const T> stream, int width, int height, T* out) {
    const std::size_t size = PlaneSize(width, height);
    if (size == 0) {
        return;
    }
    int rowsDone = 0;
    std::size_t end = 0;
    ForEachFrameRow(stream, height, end, [&](int y, std::size_t at, std::size_t rowEnd) {
        T* row = out + static_cast<std::size_t>(y) * width;
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
                FillShort(row + x, fill, width - x, value);
                x += fill;
            } else {
                const int given = static_cast<int>(std::min<std::size_t>(count, rowEnd - at));
                const int copy = std::min(given, width - x);
                CopyShort(stream.data() + at,
                          static_cast<int>(std::min<std::size_t>(stream.size() - at, width)), copy,
                          row + x, width - x);
                x += copy;
                at += static_cast<std::size_t>(given);
            }
        }
        std::fill(row + x, row + width, T{0});
        rowsDone = y + 1;
        return true;
    });
    std::fill(out + static_cast<std::size_t>(rowsDone) * width, out + size, T{0});
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

void StoreLittle16(std::uint8_t* at, unsigned value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

// Writes the 16-bit variant into memory with room for the longest stream: a token is one slot
// (alpha low, run flag and count high), values are pixels, slots are little-endian.
struct KeyedWriter16 {
    std::uint8_t* out;

    std::uint8_t* BeginRow() { return ReserveHeader(); }
    void EndRow(std::uint8_t* start) {
        Value(kKeyedRowEnd);
        StoreLittle16(start, static_cast<unsigned>(out - start) / 2);
    }
    std::uint8_t* ReserveHeader() {
        std::uint8_t* at = out;
        out += 2;
        return at;
    }
    void SetHeader(std::uint8_t* at, int alpha, bool run, int count) {
        StoreLittle16(at, (run ? kKeyedRunFlag : 0) | static_cast<unsigned>(count) << 8 |
                              static_cast<unsigned>(alpha));
    }
    void Value(std::uint16_t value) {
        StoreLittle16(out, value);
        out += 2;
    }
    void Values(const std::uint16_t* values, int count) {
        const auto bytes = static_cast<std::size_t>(count) * 2;
        std::memcpy(out, values, bytes); // slots are little-endian, as the machine is
        out += bytes;
    }
};

// KeyedWriter16 that also marks the slots it writes anything but pixels into: each row's length,
// tokens and terminator, fewer than the pixels.
struct MarkingKeyedWriter16 : KeyedWriter16 {
    const std::uint8_t* start;
    std::uint64_t* marks;

    std::uint8_t* BeginRow() { return ReserveHeader(); }
    void EndRow(std::uint8_t* rowStart) {
        Mark(out);
        KeyedWriter16::EndRow(rowStart);
    }
    std::uint8_t* ReserveHeader() {
        Mark(out);
        return KeyedWriter16::ReserveHeader();
    }
    void Mark(const std::uint8_t* at) {
        const auto slot = static_cast<std::size_t>(at - start) / 2;
        marks[slot / 64] |= std::uint64_t{1} << (slot % 64);
    }
};

// The 8-bit variant: a two-byte length, tokens of two bytes (alpha, then run flag and count)
// and byte values.
struct KeyedWriter8 {
    std::uint8_t* out;

    std::uint8_t* BeginRow() { return ReserveHeader(); }
    void EndRow(std::uint8_t* start) {
        *out++ = 0xFF;
        *out++ = 0xFF;
        StoreLittle16(start, static_cast<unsigned>(out - start));
    }
    std::uint8_t* ReserveHeader() {
        std::uint8_t* at = out;
        out += 2;
        return at;
    }
    void SetHeader(std::uint8_t* at, int alpha, bool run, int count) {
        at[0] = static_cast<std::uint8_t>(alpha);
        at[1] = static_cast<std::uint8_t>((run ? kFrameRunFlag : 0) | count);
    }
    void Value(std::uint8_t value) { *out++ = value; }
    void Values(const std::uint8_t* values, int count) {
        std::memcpy(out, values, static_cast<std::size_t>(count));
        out += count;
    }
};

// The most bytes a row can take: a token and a value for each pixel (spans of one pixel), the
// length and the terminator.
constexpr std::size_t KeyedRowBound(std::size_t width, std::size_t valueSize) {
    return (2 + valueSize) * width + 4;
}

// One span of equal, non-zero alpha (at most 126 pixels, so no literal can outgrow its count):
// a run wherever two equal neighbours begin, a literal up to the next such place.
template <typename Writer, typename T>
void AppendKeyedSpan(Writer& writer, const T* values, int count, int alpha) {
    int i = 0;
    while (i < count) {
        if (i + 1 < count && values[i] == values[i + 1]) {
            const int end = EqualRunEnd(values, i, count);
            writer.SetHeader(writer.ReserveHeader(), alpha, true, end - i);
            writer.Value(values[i]);
            i = end;
            continue;
        }
        int end = FirstEqualValues<2>(values, i + 1, count - 1);
        if (end >= count - 1) {
            end = count;
        }
        writer.SetHeader(writer.ReserveHeader(), alpha, false, end - i);
        writer.Values(values + i, end - i);
        i = end;
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
        auto* const start = writer.BeginRow();
        int x = 0;
        while (x < width) {
            const int a = alphaRow[x];
            const int end = EqualRunEnd(alphaRow, x, std::min(width, x + kMaxTokenCount));
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

// Slots of a stream in memory; they are little-endian, as the machine is.
std::uint16_t LoadSlot(const std::uint8_t* at) {
    std::uint16_t slot = 0;
    std::memcpy(&slot, at, sizeof slot);
    return slot;
}
void StoreSlot(std::uint8_t* at, std::uint16_t slot) {
    std::memcpy(at, &slot, sizeof slot);
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

template <typename T>
std::vector<T> EncodeFrame(std::span<const T> values, int width, int height) {
    if (height <= 0 || width < 0 || values.size() < PlaneSize(width, height)) {
        return {};
    }
    FrameStreamEncoder encoder(width, height);
    if constexpr (sizeof(T) == 2) {
        return encoder.Pixels(values, width, height, 0, 0);
    } else {
        return encoder.Alpha(values, width, height, 0, 0);
    }
}

} // namespace

FrameStreamEncoder::FrameStreamEncoder(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
    RequireFramable(width_);
}

std::vector<std::uint16_t> FrameStreamEncoder::Pixels(std::span<const Pixel555> plane,
                                                      int planeWidth, int planeHeight, int left,
                                                      int top) {
    return Encode(pixels_, plane, planeWidth, planeHeight, left, top);
}

std::vector<std::uint8_t> FrameStreamEncoder::Alpha(std::span<const std::uint8_t> plane,
                                                    int planeWidth, int planeHeight, int left,
                                                    int top) {
    return Encode(alpha_, plane, planeWidth, planeHeight, left, top);
}

template <typename T>
std::vector<T> FrameStreamEncoder::Encode(Scratch<T>& scratch, std::span<const T> plane,
                                          int planeWidth, int planeHeight, int left, int top) {
    if (height_ == 0) {
        return {};
    }
    const auto width = static_cast<std::size_t>(width_);
    if (!scratch.stream) {
        // Room for the longest rows (all literals: a header per 126 values, and the framing);
        // each stream is then copied out at its real length.
        const std::size_t longestRow = width + width / kMaxTokenCount + 4;
        scratch.stream = std::make_unique_for_overwrite<T[]>(longestRow * height_);
        scratch.row = std::make_unique_for_overwrite<T[]>(width);
    }
    // The columns of the box that lie inside the plane.
    const int fromX = std::clamp(-left, 0, width_);
    const int toX = std::clamp(planeWidth - left, fromX, width_);
    T* end = scratch.stream.get();
    for (int y = 0; y < height_; ++y) {
        const int sourceY = top + y;
        const bool inside = sourceY >= 0 && sourceY < planeHeight && fromX < toX;
        const T* values = scratch.row.get();
        const std::size_t rowStart = static_cast<std::size_t>(sourceY) * planeWidth;
        if (inside && fromX == 0 && toX == width_) {
            values = plane.data() + rowStart + left;
        } else {
            T* row = scratch.row.get();
            std::fill(row, row + width, T{0});
            if (inside) {
                std::copy(plane.data() + rowStart + left + fromX,
                          plane.data() + rowStart + left + toX, row + fromX);
            }
        }
        T* row = end;
        end = WriteFrameTokens(values, width_, row + 2);
        FrameRow(row, end);
    }
    return std::vector<T>(scratch.stream.get(), end);
}

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
    std::vector<Pixel555> out(PlaneSize(width, height));
    DecodeFrame(stream, width, height, out.data());
    return out;
}

std::vector<std::uint8_t> DecodeFrameAlpha(std::span<const std::uint8_t> stream, int width,
                                           int height) {
    std::vector<std::uint8_t> out(PlaneSize(width, height));
    DecodeFrame(stream, width, height, out.data());
    return out;
}

void DecodeFramePixels(std::span<const std::uint16_t> stream, int width, int height,
                       Pixel555* out) {
    DecodeFrame(stream, width, height, out);
}

void DecodeFrameAlpha(std::span<const std::uint8_t> stream, int width, int height,
                      std::uint8_t* out) {
    DecodeFrame(stream, width, height, out);
}

bool FramePixelStreamFits(std::span<const std::uint16_t> stream, int width, int height) {
    return FrameFits(stream, width, height, kPixelRowEnd);
}

bool FrameAlphaStreamFits(std::span<const std::uint8_t> stream, int width, int height) {
    return FrameFits(stream, width, height, kAlphaRowEnd);
}

std::size_t AlphaKeyed16Bound(int width, int height) {
    return height > 0 && width >= 0 ? KeyedRowBound(static_cast<std::size_t>(width), 2) * height
                                    : 0;
}

std::size_t EncodeAlphaKeyed16(const Pixel555* pixels, const std::uint8_t* alpha, int width,
                               int height, std::ptrdiff_t pixelStride, std::ptrdiff_t alphaStride,
                               std::uint8_t* out) {
    KeyedWriter16 writer{out};
    EncodeKeyed(writer, pixels, alpha, width, height, pixelStride, alphaStride);
    return static_cast<std::size_t>(writer.out - out);
}

std::size_t EncodeAlphaKeyed16(const Pixel555* pixels, const std::uint8_t* alpha, int width,
                               int height, std::ptrdiff_t pixelStride, std::ptrdiff_t alphaStride,
                               std::uint8_t* out, PixelSlots& pixelSlots) {
    pixelSlots.assign((AlphaKeyed16Bound(width, height) / 2 + 63) / 64, 0);
    MarkingKeyedWriter16 writer{{out}, out, pixelSlots.data()};
    EncodeKeyed(writer, pixels, alpha, width, height, pixelStride, alphaStride);
    const auto slots = static_cast<std::size_t>(writer.out - out) / 2;
    pixelSlots.resize((slots + 63) / 64);
    for (std::uint64_t& word : pixelSlots) {
        word = ~word;
    }
    if (slots % 64 != 0) {
        pixelSlots.back() &= (std::uint64_t{1} << (slots % 64)) - 1;
    }
    return slots * 2;
}

std::vector<std::uint16_t> EncodeAlphaKeyed16(const Pixel555* pixels, const std::uint8_t* alpha,
                                              int width, int height, std::ptrdiff_t pixelStride,
                                              std::ptrdiff_t alphaStride) {
    RequireFramable(width);
    std::vector<std::uint16_t> stream(AlphaKeyed16Bound(width, height) / 2);
    const std::size_t bytes =
        EncodeAlphaKeyed16(pixels, alpha, width, height, pixelStride, alphaStride,
                           reinterpret_cast<std::uint8_t*>(stream.data()));
    stream.resize(bytes / 2);
    return stream;
}

std::vector<std::uint8_t> EncodeAlphaKeyed8(const std::uint8_t* values, const std::uint8_t* alpha,
                                            int width, int height, std::ptrdiff_t valueStride,
                                            std::ptrdiff_t alphaStride) {
    RequireFramable(width);
    std::vector<std::uint8_t> stream(
        height > 0 && width >= 0 ? KeyedRowBound(static_cast<std::size_t>(width), 1) * height : 0);
    KeyedWriter8 writer{stream.data()};
    EncodeKeyed(writer, values, alpha, width, height, valueStride, alphaStride);
    stream.resize(static_cast<std::size_t>(writer.out - stream.data()));
    return stream;
}

bool DecodeAlphaKeyed16(std::span<const std::uint16_t> stream, Pixel555* pixelsOut,
                        std::uint8_t* alphaOut, int width, int height, std::ptrdiff_t pixelStride,
                        std::ptrdiff_t alphaStride) {
    return DecodeKeyed(KeyedReader16{stream}, pixelsOut, alphaOut, width, height, pixelStride,
                       alphaStride);
}

bool ConvertAlphaKeyed16To565(std::span<std::uint8_t> stream, const PixelSlots& pixelSlots) {
    const std::size_t slots = stream.size() / 2;
    if (pixelSlots.size() < (slots + 63) / 64) {
        return false;
    }
    // Four slots at a time: each marked one is converted (bit 15 is masked off first, so no
    // lane's shift reaches the next), the others kept.
    constexpr std::uint64_t kShifted = 0x7FE07FE07FE07FE0;
    constexpr std::uint64_t kKept = 0x001F001F001F001F;
    constexpr auto kLanes = [] {
        std::array<std::uint64_t, 16> lanes{};
        for (unsigned bits = 0; bits < 16; ++bits) {
            for (unsigned lane = 0; lane < 4; ++lane) {
                lanes[bits] |= (bits >> lane & 1) != 0 ? std::uint64_t{0xFFFF} << (16 * lane) : 0;
            }
        }
        return lanes;
    }();
    std::uint8_t* at = stream.data();
    std::uint64_t seen = 0;
    std::size_t i = 0;
    for (; i + 4 <= slots; i += 4, at += 8) {
        const std::uint64_t lanes = kLanes[(pixelSlots[i / 64] >> (i % 64)) & 0xF];
        std::uint64_t four = 0;
        std::memcpy(&four, at, sizeof four); // slots are little-endian, as the machine is
        seen |= four & lanes;
        four = ((((four & kShifted) << 1) | (four & kKept)) & lanes) | (four & ~lanes);
        std::memcpy(at, &four, sizeof four);
    }
    for (; i < slots; ++i, at += 2) {
        if ((pixelSlots[i / 64] >> (i % 64) & 1) != 0) {
            const Pixel555 value = LoadSlot(at);
            seen |= value;
            StoreSlot(at, ToPixel565(value));
        }
    }
    return (seen & 0x8000800080008000) == 0;
}

bool DecodeAlphaKeyed8(std::span<const std::uint8_t> stream, std::uint8_t* valuesOut,
                       std::uint8_t* alphaOut, int width, int height, std::ptrdiff_t valueStride,
                       std::ptrdiff_t alphaStride) {
    return DecodeKeyed(KeyedReader8{stream}, valuesOut, alphaOut, width, height, valueStride,
                       alphaStride);
}

} // namespace fenwold
