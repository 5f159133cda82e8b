#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <limits>
#include <span>

namespace fenwold::test {

// Numbers stored fields for round trips: every call gives the next value of a running count, so
// that no two neighbouring fields hold the same value and none holds 0. A reader that swaps two
// fields, drops one or reads it from the wrong place then gives a different value back. Values
// wrap inside the field's type, skipping 0; signed types also get negative values.
class FieldNumbers {
public:
    explicit FieldNumbers(std::uint32_t first = 1) : next_(first) {}

    template <std::integral T>
    T Next() {
        constexpr std::uint64_t kRange = std::numeric_limits<std::make_unsigned_t<T>>::max();
        // A prime step visits every value of the range before it repeats one; 1 + value % range
        // is never 0 in the type.
        const std::uint64_t value = 1 + (std::uint64_t{next_++} * 7919u) % kRange;
        return static_cast<T>(value);
    }

    // A value from 1 to limit - 1, for fields with fewer bits than their type (Pixel555).
    template <std::integral T>
    T NextBelow(T limit) {
        return static_cast<T>(1 + (std::uint64_t{next_++} * 7919u) % (limit - 1u));
    }

    template <std::integral T>
    void Fill(T& field) {
        field = Next<T>();
    }
    void Fill(float& field) { field = static_cast<float>(next_++) + 0.25f; }
    template <typename T, std::size_t N>
    void Fill(std::array<T, N>& fields) {
        for (T& field : fields) {
            Fill(field);
        }
    }
    template <typename T>
    void Fill(std::span<T> fields) {
        for (T& field : fields) {
            Fill(field);
        }
    }

private:
    std::uint32_t next_;
};

} // namespace fenwold::test
