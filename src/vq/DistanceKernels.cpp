#include "vq/DistanceKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define FENWOLD_X86 1
#endif

namespace fenwold {

namespace {

constexpr int kPairs = kBlockBytes / 2;                      // byte pairs of a vector
constexpr int kByteGroup = 16;                               // entries per byte group
constexpr int kByteGroupBytes = kPairs * 32;                 // 768
constexpr int kFloatGroup = 8;                               // entries per float group
constexpr int kFloatGroupFloats = kBlockBytes * kFloatGroup; // 384
// Fills the lanes beyond the last entry: far from every vector, and its square still finite.
constexpr float kFarAway = 1.0e15f;

bool CpuHasAvx2() {
#ifdef FENWOLD_X86
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

void ByteDistancesPortable(const BlockVector& block, const std::uint8_t* pairs, int groups,
                           std::uint16_t* out) {
    for (int g = 0; g < groups; ++g) {
        const std::uint8_t* p = pairs + static_cast<std::ptrdiff_t>(g) * kByteGroupBytes;
        for (int lane = 0; lane < kByteGroup; ++lane) {
            unsigned sum = 0;
            for (int q = 0; q < kPairs; ++q) {
                const int d0 = block[2 * q] - p[q * 32 + 2 * lane];
                const int d1 = block[2 * q + 1] - p[q * 32 + 2 * lane + 1];
                sum += static_cast<unsigned>(d0 * d0 + d1 * d1);
            }
            out[g * kByteGroup + lane] = static_cast<std::uint16_t>(sum);
        }
    }
}

int FirstMinimumPortable(const std::uint16_t* values, int count) {
    return static_cast<int>(std::min_element(values, values + count) - values);
}

void FloatDistancesPortable(const float* query, const float* lanes, int groups, float* out) {
    for (int g = 0; g < groups; ++g) {
        const float* p = lanes + static_cast<std::ptrdiff_t>(g) * kFloatGroupFloats;
        float sums[kFloatGroup] = {};
        for (int j = 0; j < kBlockBytes; ++j) {
            for (int lane = 0; lane < kFloatGroup; ++lane) {
                const float d = query[j] - p[j * kFloatGroup + lane];
                sums[lane] += d * d;
            }
        }
        for (int lane = 0; lane < kFloatGroup; ++lane) {
            out[g * kFloatGroup + lane] = std::sqrt(sums[lane]);
        }
    }
}

#ifdef FENWOLD_X86

// Sum of squared differences as norm(block) + norm(entry) - 2 * dot(block, entry), all modulo
// 2^16: the true value is below 48 * 31^2 = 46128, so the wrapped result is exact.
template <int G>
__attribute__((target("avx2"))) inline void
ByteGroupsAvx2(const __m256i* broadcast, __m256i norm, const std::uint8_t* pairs,
               const std::uint16_t* norms, std::uint16_t* out) {
    __m256i dot[G];
    for (int t = 0; t < G; ++t) {
        dot[t] = _mm256_setzero_si256();
    }
    for (int q = 0; q < kPairs; ++q) {
        const __m256i b = _mm256_load_si256(broadcast + q);
        for (int t = 0; t < G; ++t) {
            const __m256i e = _mm256_load_si256(
                reinterpret_cast<const __m256i*>(pairs + t * kByteGroupBytes + q * 32));
            dot[t] = _mm256_add_epi16(dot[t], _mm256_maddubs_epi16(b, e));
        }
    }
    for (int t = 0; t < G; ++t) {
        const __m256i n =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(norms + t * kByteGroup));
        const __m256i d =
            _mm256_sub_epi16(_mm256_add_epi16(norm, n), _mm256_add_epi16(dot[t], dot[t]));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + t * kByteGroup), d);
    }
}

__attribute__((target("avx2"))) void ByteDistancesAvx2(const BlockVector& block,
                                                       const std::uint8_t* pairs,
                                                       const std::uint16_t* norms, int groups,
                                                       std::uint16_t* out) {
    // maddubs multiplies the block's bytes (unsigned) with the entries' (as signed: all are
    // below 32) and adds neighbours: at most 2 * 31^2 per 16-bit lane, so nothing saturates.
    alignas(32) __m256i broadcast[kPairs];
    unsigned norm = 0;
    for (int q = 0; q < kPairs; ++q) {
        const unsigned b0 = block[2 * q];
        const unsigned b1 = block[2 * q + 1];
        norm += b0 * b0 + b1 * b1;
        broadcast[q] = _mm256_set1_epi16(static_cast<short>(b0 | b1 << 8));
    }
    const __m256i normVector = _mm256_set1_epi16(static_cast<short>(norm));
    int g = 0;
    for (; g + 4 <= groups; g += 4) {
        ByteGroupsAvx2<4>(broadcast, normVector, pairs + g * kByteGroupBytes,
                          norms + g * kByteGroup, out + g * kByteGroup);
    }
    for (; g < groups; ++g) {
        ByteGroupsAvx2<1>(broadcast, normVector, pairs + g * kByteGroupBytes,
                          norms + g * kByteGroup, out + g * kByteGroup);
    }
}

// First position of the least value; count is a multiple of 16.
__attribute__((target("avx2"))) int FirstMinimumAvx2(const std::uint16_t* values, int count) {
    __m256i least = _mm256_set1_epi16(-1);
    for (int i = 0; i < count; i += 16) {
        least = _mm256_min_epu16(least,
                                 _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values + i)));
    }
    const __m128i half =
        _mm_min_epu16(_mm256_castsi256_si128(least), _mm256_extracti128_si256(least, 1));
    const __m256i target =
        _mm256_set1_epi16(static_cast<short>(_mm_extract_epi16(_mm_minpos_epu16(half), 0)));
    for (int i = 0;; i += 16) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values + i));
        const unsigned mask =
            static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi16(v, target)));
        if (mask != 0) {
            return i + __builtin_ctz(mask) / 2;
        }
    }
}

template <int G>
__attribute__((target("avx2"))) inline void FloatGroupsAvx2(const float* query, const float* lanes,
                                                            float* out) {
    __m256 sum[G];
    for (int t = 0; t < G; ++t) {
        sum[t] = _mm256_setzero_ps();
    }
    for (int j = 0; j < kBlockBytes; ++j) {
        const __m256 q = _mm256_set1_ps(query[j]);
        for (int t = 0; t < G; ++t) {
            const __m256 d =
                _mm256_sub_ps(q, _mm256_load_ps(lanes + t * kFloatGroupFloats + j * kFloatGroup));
            sum[t] = _mm256_add_ps(sum[t], _mm256_mul_ps(d, d));
        }
    }
    for (int t = 0; t < G; ++t) {
        _mm256_storeu_ps(out + t * kFloatGroup, _mm256_sqrt_ps(sum[t]));
    }
}

__attribute__((target("avx2"))) void FloatDistancesAvx2(const float* query, const float* lanes,
                                                        int groups, float* out) {
    int g = 0;
    for (; g + 4 <= groups; g += 4) {
        FloatGroupsAvx2<4>(query, lanes + g * kFloatGroupFloats, out + g * kFloatGroup);
    }
    for (; g < groups; ++g) {
        FloatGroupsAvx2<1>(query, lanes + g * kFloatGroupFloats, out + g * kFloatGroup);
    }
}

#endif

} // namespace

void ToFloatForm(const BlockVector& block, float* out) {
    for (int e = 0; e < kBlockEntries; ++e) {
        out[3 * e] = block[static_cast<std::size_t>(3 * e + 2)];
        out[3 * e + 1] = block[static_cast<std::size_t>(3 * e + 1)];
        out[3 * e + 2] = block[static_cast<std::size_t>(3 * e)];
    }
}

ByteEntrySearch::ByteEntrySearch(std::span<const std::uint8_t> table, int entryCount,
                                 KernelSet kernels)
    : count_(entryCount), groups_((entryCount + kByteGroup - 1) / kByteGroup),
      avx2_(kernels == KernelSet::Fastest && CpuHasAvx2()),
      pairs_(static_cast<std::size_t>(groups_) * kByteGroupBytes / sizeof(Line)),
      norms_(ScratchSize(), 0) {
    std::uint8_t* pairs = pairs_.empty() ? nullptr : pairs_[0].bytes;
    for (int k = 0; k < entryCount; ++k) {
        const std::uint8_t* entry = table.data() + static_cast<std::ptrdiff_t>(k) * kBlockBytes;
        std::uint8_t* at = pairs + (k / kByteGroup) * kByteGroupBytes + (k % kByteGroup) * 2;
        unsigned norm = 0;
        for (int q = 0; q < kPairs; ++q) {
            at[q * 32] = entry[2 * q];
            at[q * 32 + 1] = entry[2 * q + 1];
            norm += unsigned{entry[2 * q]} * entry[2 * q] +
                    unsigned{entry[2 * q + 1]} * entry[2 * q + 1];
        }
        norms_[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(norm);
    }
}

int ByteEntrySearch::Nearest(const BlockVector& block, std::uint16_t* scratch) const {
    const std::uint8_t* pairs = pairs_.empty() ? nullptr : pairs_[0].bytes;
#ifdef FENWOLD_X86
    if (avx2_) {
        ByteDistancesAvx2(block, pairs, norms_.data(), groups_, scratch);
        // Lanes beyond the last entry are set above every true distance.
        std::fill(scratch + count_, scratch + ScratchSize(), std::uint16_t{0xFFFF});
        return FirstMinimumAvx2(scratch, static_cast<int>(ScratchSize()));
    }
#endif
    ByteDistancesPortable(block, pairs, groups_, scratch);
    return FirstMinimumPortable(scratch, count_);
}

FloatEntrySearch::FloatEntrySearch(KernelSet kernels)
    : avx2_(kernels == KernelSet::Fastest && CpuHasAvx2()) {}

void FloatEntrySearch::Load(std::span<const float> entries,
                            std::span<const std::uint32_t> members) {
    count_ = static_cast<int>(members.size());
    groups_ = (count_ + kFloatGroup - 1) / kFloatGroup;
    lanes_.resize(static_cast<std::size_t>(groups_) * kFloatGroupFloats * sizeof(float) /
                  sizeof(Line));
    if (lanes_.empty()) {
        return;
    }
    float* lanes = lanes_[0].values;
    for (int i = 0; i < groups_ * kFloatGroup; ++i) {
        float* at = lanes + (i / kFloatGroup) * kFloatGroupFloats + i % kFloatGroup;
        if (i < count_) {
            const float* entry =
                entries.data() +
                static_cast<std::ptrdiff_t>(members[static_cast<std::size_t>(i)]) * kBlockBytes;
            for (int j = 0; j < kBlockBytes; ++j) {
                at[j * kFloatGroup] = entry[j];
            }
        } else {
            for (int j = 0; j < kBlockBytes; ++j) {
                at[j * kFloatGroup] = kFarAway;
            }
        }
    }
}

void FloatEntrySearch::LoadAll(std::span<const float> entries, int entryCount) {
    std::vector<std::uint32_t> all(static_cast<std::size_t>(entryCount));
    for (int k = 0; k < entryCount; ++k) {
        all[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(k);
    }
    Load(entries, all);
}

void FloatEntrySearch::Distances(const float* query, float* distances) const {
    if (groups_ == 0) {
        return;
    }
#ifdef FENWOLD_X86
    if (avx2_) {
        FloatDistancesAvx2(query, lanes_[0].values, groups_, distances);
        return;
    }
#endif
    FloatDistancesPortable(query, lanes_[0].values, groups_, distances);
}

int FloatEntrySearch::Nearest(const float* query, float* scratch, float& distance) const {
    Distances(query, scratch);
    int best = 0;
    for (int i = 1; i < count_; ++i) {
        if (scratch[i] < scratch[best]) {
            best = i;
        }
    }
    distance = count_ > 0 ? scratch[best] : std::numeric_limits<float>::infinity();
    return best;
}

} // namespace fenwold
