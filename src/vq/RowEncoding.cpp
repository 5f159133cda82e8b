#include "vq/RowEncoding.h"

#include <algorithm>

namespace fenwold {

namespace {

void AppendValue(std::uint16_t value, std::vector<std::uint8_t>& out) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendValue(std::uint8_t value, std::vector<std::uint8_t>& out) {
    out.push_back(value);
}

template <typename T>
bool ThreeEqualAt(std::span<const T> values, std::size_t i) {
    return i + 2 < values.size() && values[i] == values[i + 1] && values[i + 1] == values[i + 2];
}

// Runs start wherever three equal values begin; a literal stops before such a place, at 126
// values or at the end of the row.
template <typename T>
void AppendTokens7(std::span<const T> values, std::vector<std::uint8_t>& out) {
    std::size_t i = 0;
    while (i < values.size()) {
        std::size_t count = 1;
        if (ThreeEqualAt(values, i)) {
            while (i + count < values.size() && count < kMaxTokenCount &&
                   values[i + count] == values[i]) {
                ++count;
            }
            out.push_back(static_cast<std::uint8_t>(kRunFlag | count));
            AppendValue(values[i], out);
        } else {
            while (i + count < values.size() && count < kMaxTokenCount &&
                   !ThreeEqualAt(values, i + count)) {
                ++count;
            }
            out.push_back(static_cast<std::uint8_t>(count));
            for (std::size_t k = 0; k < count; ++k) {
                AppendValue(values[i + k], out);
            }
        }
        i += count;
    }
}

// Writes the row's length prefix in front of the tokens appended from `start` on.
void FrameRow(std::vector<std::uint8_t>& out, std::size_t start) {
    const std::size_t length = out.size() - start;
    std::vector<std::uint8_t> prefix(length / 255, 0xFF);
    prefix.push_back(static_cast<std::uint8_t>(length % 255));
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(start), prefix.begin(), prefix.end());
}

std::uint8_t Code6(std::uint8_t value) {
    switch (value) {
    case 0:
        return 0x80;
    case 1:
        return 0x40;
    default:
        return 0x00;
    }
}

} // namespace

void AppendIndexRow(std::span<const std::uint16_t> values, bool visible,
                    std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    if (visible) {
        AppendTokens7(values, out);
    }
    FrameRow(out, start);
}

void AppendAlphaRow(std::span<const std::uint8_t> values, std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    if (std::any_of(values.begin(), values.end(), [](std::uint8_t v) { return v != 0; })) {
        AppendTokens7(values, out);
    }
    FrameRow(out, start);
}

void AppendMaskedAlphaRow(std::span<const std::uint8_t> values, std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    if (std::any_of(values.begin(), values.end(), [](std::uint8_t v) { return v != 0; })) {
        std::size_t i = 0;
        while (i < values.size()) {
            std::size_t count = 1;
            while (i + count < values.size() && count < kMaxRunLength6 &&
                   values[i + count] == values[i]) {
                ++count;
            }
            out.push_back(static_cast<std::uint8_t>(Code6(values[i]) | count));
            i += count;
        }
    }
    FrameRow(out, start);
}

bool ReadRowFrame(std::span<const std::uint8_t> table, std::size_t at, FramedRow& row) {
    std::size_t length = 0;
    while (at < table.size() && table[at] == 0xFF) {
        length += 255;
        ++at;
    }
    if (at >= table.size()) {
        return false;
    }
    length += table[at++];
    if (length > table.size() - at) {
        return false;
    }
    row = {at, length};
    return true;
}

namespace {

// One value of a 7-bit scheme row: a byte, or two bytes little-endian.
template <typename Value>
Value ReadValue(std::span<const std::uint8_t> table, std::size_t at) {
    if constexpr (sizeof(Value) == 1) {
        return table[at];
    } else {
        return static_cast<Value>(table[at] | table[at + 1] << 8);
    }
}

// Rows of the 7-bit scheme, `length` values a row, into a plane of `rows` rows. Whatever the
// bytes, it reads nothing outside them; what they do not supply stays 0.
template <typename Value>
std::vector<Value> DecodeRows7(std::span<const std::uint8_t> table, int length, int rows) {
    constexpr std::size_t kSize = sizeof(Value);
    const auto w = static_cast<std::size_t>(std::max(length, 0));
    std::vector<Value> plane(w * static_cast<std::size_t>(std::max(rows, 0)), 0);
    std::size_t at = 0;
    for (int y = 0; y < rows; ++y) {
        FramedRow row;
        if (!ReadRowFrame(table, at, row)) {
            break;
        }
        Value* out = plane.data() + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        std::size_t p = row.tokens;
        const std::size_t end = row.tokens + row.length;
        while (p < end && x < w) {
            const std::uint8_t header = table[p++];
            const std::size_t count = header & 0x7F;
            if ((header & kRunFlag) != 0) {
                if (end - p < kSize) {
                    break;
                }
                const Value value = ReadValue<Value>(table, p);
                p += kSize;
                const std::size_t n = std::min(count, w - x);
                std::fill_n(out + x, n, value);
                x += n;
            } else {
                const std::size_t n = std::min({count, w - x, (end - p) / kSize});
                for (std::size_t i = 0; i < n; ++i) {
                    out[x + i] = ReadValue<Value>(table, p + i * kSize);
                }
                x += n;
                p += count * kSize;
            }
        }
        at = end;
    }
    return plane;
}

} // namespace

std::vector<std::uint8_t> DecodeAlphaTable(std::span<const std::uint8_t> table, int width,
                                           int height) {
    return DecodeRows7<std::uint8_t>(table, width, height);
}

std::vector<std::uint16_t> DecodeIndexTable(std::span<const std::uint8_t> table, int width,
                                            int rows) {
    return DecodeRows7<std::uint16_t>(table, width / 2, rows);
}

std::vector<std::uint8_t> DecodeMaskedAlphaTable(std::span<const std::uint8_t> table, int width,
                                                 int height) {
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    std::vector<std::uint8_t> plane(w * static_cast<std::size_t>(std::max(height, 0)), 0);
    std::size_t at = 0;
    for (int y = 0; y < height; ++y) {
        FramedRow row;
        if (!ReadRowFrame(table, at, row)) {
            break;
        }
        std::uint8_t* out = plane.data() + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        std::uint8_t value = 0;
        for (std::size_t p = row.tokens; p < row.tokens + row.length && x < w; ++p) {
            const std::uint8_t token = table[p];
            switch (token >> 6) {
            case 0:
                value = 255;
                break;
            case 1:
                value = 1;
                break;
            case 2:
                value = 0;
                break;
            default:
                break; // never written: the previous value goes on
            }
            const std::size_t n = std::min<std::size_t>(token & kMaxRunLength6, w - x);
            std::fill_n(out + x, n, value);
            x += n;
        }
        at = row.tokens + row.length;
    }
    return plane;
}

} // namespace fenwold
