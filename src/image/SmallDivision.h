#pragma once

#include <array>
#include <cstdint>

// Division by a byte as a multiplication, for the colour arithmetic of translucent pixels, whose
// numerators stay below 2^16: a hardware division costs several times more.
namespace fenwold {

namespace detail {

// ceil(2^32 / d): d times it exceeds 2^32 by e < d.
inline constexpr auto kByteReciprocals = [] {
    std::array<std::uint64_t, 256> reciprocals{};
    for (std::uint64_t d = 1; d < reciprocals.size(); ++d) {
        reciprocals[d] = ((std::uint64_t{1} << 32) + d - 1) / d;
    }
    return reciprocals;
}();

} // namespace detail

// n / d for 0 <= n < 2^16 and 1 <= d <= 255. n * ceil(2^32 / d) / 2^32 is n / d plus
// n * e / (d * 2^32) < 1 / d, too little to carry the remainder (at most (d - 1) / d) past the
// next whole number.
constexpr unsigned DivideByByte(unsigned n, unsigned d) {
    return static_cast<unsigned>((n * detail::kByteReciprocals[d]) >> 32);
}

// n / d truncated toward zero, as the / operator does, for -2^16 < n < 2^16 and 1 <= d <= 255.
constexpr int DivideSignedByByte(int n, int d) {
    const int quotient = static_cast<int>(
        DivideByByte(static_cast<unsigned>(n < 0 ? -n : n), static_cast<unsigned>(d)));
    return n < 0 ? -quotient : quotient;
}

} // namespace fenwold
