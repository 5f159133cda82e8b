#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace fenwold {

// Allocates like std::allocator but leaves elements made without a value uninitialised, so that
// a vector can be sized for a writer that stores every element itself, without a zero-fill pass
// over memory that is about to be overwritten.
template <typename T>
class UninitialisedAllocator : public std::allocator<T> {
public:
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    using std::allocator<T>::allocator;

    template <typename U>
    void construct(U* at) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

template <typename T>
using UninitialisedVector = std::vector<T, UninitialisedAllocator<T>>;

// Bytes of a file being read or written.
using ByteBuffer = UninitialisedVector<std::uint8_t>;

} // namespace fenwold
