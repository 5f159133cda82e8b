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

constexpr int kPairs = kBlockBytes / 2;            // byte pairs of a vector
constexpr int kByteGroup = 32;                     // entries per byte group
constexpr int kPairRow = 2 * kByteGroup;           // one pair of a group's entries: 64 bytes
constexpr int kByteGroupBytes = kPairs * kPairRow; // 1536
constexpr int kFloatGroup = 8;                     // entries per float group
constexpr int kFloatGroupFloats = kBlockBytes * kFloatGroup; // 384
// Fills the lanes beyond the last entry: far from every vector, and its square still finite.
constexpr float kFarAway = 1.0e15f;

// The widest instruction set the processor offers for the searches.
Isa BestIsa() {
#ifdef FENWOLD_X86
    static const Isa best = __builtin_cpu_supports("avx512bw") ? Isa::Avx512
                            : __builtin_cpu_supports("avx2")   ? Isa::Avx2
                                                               : Isa::Portable;
    return best;
#else
    return Isa::Portable;
#endif
}

Isa Choose(KernelSet kernels) {
    switch (kernels) {
    case KernelSet::Fastest:
        return BestIsa();
    case KernelSet::Avx2:
        return std::min(BestIsa(), Isa::Avx2);
    case KernelSet::Portable:
        break;
    }
    return Isa::Portable;
}

void ByteDistancesPortable(const BlockVector& block, const std::uint8_t* pairs, int groups,
                           std::uint16_t* out) {
    for (int g = 0; g < groups; ++g) {
        const std::uint8_t* p = pairs + static_cast<std::ptrdiff_t>(g) * kByteGroupBytes;
        for (int lane = 0; lane < kByteGroup; ++lane) {
            unsigned sum = 0;
            for (int q = 0; q < kPairs; ++q) {
                const int d0 = block[2 * q] - p[q * kPairRow + 2 * lane];
                const int d1 = block[2 * q + 1] - p[q * kPairRow + 2 * lane + 1];
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
// 2^16: the true value is below 48 * 31^2 = 46128, so the wrapped result is exact. maddubs
// multiplies the block's bytes (unsigned) with the entries' (as signed: all are below 32) and
// adds neighbours: at most 2 * 31^2 a 16-bit lane, so nothing saturates.

__attribute__((target("avx2"))) inline __m256i DotPairs(__m256i broadcast,
                                                        const std::uint8_t* entries) {
    return _mm256_maddubs_epi16(broadcast,
                                _mm256_load_si256(reinterpret_cast<const __m256i*>(entries)));
}

__attribute__((target("avx2"))) inline void
StoreDistances(__m256i norm, __m256i dot, const std::uint16_t* norms, std::uint16_t* out) {
    const __m256i n = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(norms));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                        _mm256_sub_epi16(_mm256_add_epi16(norm, n), _mm256_add_epi16(dot, dot)));
}

// Two groups, as four halves of 16 entries, each block pair loaded once for all four (the
// accumulators are spelled out so that they stay in registers).
__attribute__((target("avx2"))) inline void ByteGroups2Avx2(const __m256i* broadcast, __m256i norm,
                                                            const std::uint8_t* pairs,
                                                            const std::uint16_t* norms,
                                                            std::uint16_t* out) {
    __m256i dot0 = _mm256_setzero_si256(), dot1 = dot0, dot2 = dot0, dot3 = dot0;
    for (int q = 0; q < kPairs; ++q) {
        const __m256i b = _mm256_load_si256(broadcast + q);
        const std::uint8_t* p = pairs + q * kPairRow;
        dot0 = _mm256_add_epi16(dot0, DotPairs(b, p));
        dot1 = _mm256_add_epi16(dot1, DotPairs(b, p + 32));
        dot2 = _mm256_add_epi16(dot2, DotPairs(b, p + kByteGroupBytes));
        dot3 = _mm256_add_epi16(dot3, DotPairs(b, p + kByteGroupBytes + 32));
    }
    StoreDistances(norm, dot0, norms, out);
    StoreDistances(norm, dot1, norms + 16, out + 16);
    StoreDistances(norm, dot2, norms + 32, out + 32);
    StoreDistances(norm, dot3, norms + 48, out + 48);
}

__attribute__((target("avx2"))) inline void ByteGroupAvx2(const __m256i* broadcast, __m256i norm,
                                                          const std::uint8_t* pairs,
                                                          const std::uint16_t* norms,
                                                          std::uint16_t* out) {
    __m256i dot0 = _mm256_setzero_si256(), dot1 = dot0;
    for (int q = 0; q < kPairs; ++q) {
        const __m256i b = _mm256_load_si256(broadcast + q);
        dot0 = _mm256_add_epi16(dot0, DotPairs(b, pairs + q * kPairRow));
        dot1 = _mm256_add_epi16(dot1, DotPairs(b, pairs + q * kPairRow + 32));
    }
    StoreDistances(norm, dot0, norms, out);
    StoreDistances(norm, dot1, norms + 16, out + 16);
}

// The block's byte pairs as 16-bit values; returns its sum of squares.
unsigned PairValues(const BlockVector& block, short* values) {
    unsigned norm = 0;
    for (int q = 0; q < kPairs; ++q) {
        const unsigned b0 = block[static_cast<std::size_t>(2 * q)];
        const unsigned b1 = block[static_cast<std::size_t>(2 * q + 1)];
        norm += b0 * b0 + b1 * b1;
        values[q] = static_cast<short>(b0 | b1 << 8);
    }
    return norm;
}

__attribute__((target("avx2"))) void ByteDistancesAvx2(const BlockVector& block,
                                                       const std::uint8_t* pairs,
                                                       const std::uint16_t* norms, int groups,
                                                       std::uint16_t* out) {
    short values[kPairs];
    const unsigned norm = PairValues(block, values);
    alignas(32) __m256i broadcast[kPairs];
    for (int q = 0; q < kPairs; ++q) {
        broadcast[q] = _mm256_set1_epi16(values[q]);
    }
    const __m256i normVector = _mm256_set1_epi16(static_cast<short>(norm));
    int g = 0;
    for (; g + 2 <= groups; g += 2) {
        ByteGroups2Avx2(broadcast, normVector, pairs + g * kByteGroupBytes, norms + g * kByteGroup,
                        out + g * kByteGroup);
    }
    if (g < groups) {
        ByteGroupAvx2(broadcast, normVector, pairs + g * kByteGroupBytes, norms + g * kByteGroup,
                      out + g * kByteGroup);
    }
}

__attribute__((target("avx512bw"))) inline __m512i DotPairs512(__m512i broadcast,
                                                               const std::uint8_t* entries) {
    return _mm512_maddubs_epi16(broadcast, _mm512_load_si512(entries));
}

__attribute__((target("avx512bw"))) inline void
StoreDistances512(__m512i norm, __m512i dot, const std::uint16_t* norms, std::uint16_t* out) {
    _mm512_storeu_si512(out, _mm512_sub_epi16(_mm512_add_epi16(norm, _mm512_loadu_si512(norms)),
                                              _mm512_add_epi16(dot, dot)));
}

// The same with whole groups of 32 entries a register, four groups at once.
__attribute__((target("avx512bw"))) inline void
ByteGroups4Avx512(const __m512i* broadcast, __m512i norm, const std::uint8_t* pairs,
                  const std::uint16_t* norms, std::uint16_t* out) {
    __m512i dot0 = _mm512_setzero_si512(), dot1 = dot0, dot2 = dot0, dot3 = dot0;
    for (int q = 0; q < kPairs; ++q) {
        const __m512i b = _mm512_load_si512(broadcast + q);
        const std::uint8_t* p = pairs + q * kPairRow;
        dot0 = _mm512_add_epi16(dot0, DotPairs512(b, p));
        dot1 = _mm512_add_epi16(dot1, DotPairs512(b, p + kByteGroupBytes));
        dot2 = _mm512_add_epi16(dot2, DotPairs512(b, p + 2 * kByteGroupBytes));
        dot3 = _mm512_add_epi16(dot3, DotPairs512(b, p + 3 * kByteGroupBytes));
    }
    StoreDistances512(norm, dot0, norms, out);
    StoreDistances512(norm, dot1, norms + kByteGroup, out + kByteGroup);
    StoreDistances512(norm, dot2, norms + 2 * kByteGroup, out + 2 * kByteGroup);
    StoreDistances512(norm, dot3, norms + 3 * kByteGroup, out + 3 * kByteGroup);
}

__attribute__((target("avx512bw"))) inline void
ByteGroupAvx512(const __m512i* broadcast, __m512i norm, const std::uint8_t* pairs,
                const std::uint16_t* norms, std::uint16_t* out) {
    __m512i dot = _mm512_setzero_si512();
    for (int q = 0; q < kPairs; ++q) {
        dot = _mm512_add_epi16(dot,
                               DotPairs512(_mm512_load_si512(broadcast + q), pairs + q * kPairRow));
    }
    StoreDistances512(norm, dot, norms, out);
}

__attribute__((target("avx512bw"))) void ByteDistancesAvx512(const BlockVector& block,
                                                             const std::uint8_t* pairs,
                                                             const std::uint16_t* norms, int groups,
                                                             std::uint16_t* out) {
    short values[kPairs];
    const unsigned norm = PairValues(block, values);
    alignas(64) __m512i broadcast[kPairs];
    for (int q = 0; q < kPairs; ++q) {
        broadcast[q] = _mm512_set1_epi16(values[q]);
    }
    const __m512i normVector = _mm512_set1_epi16(static_cast<short>(norm));
    int g = 0;
    for (; g + 4 <= groups; g += 4) {
        ByteGroups4Avx512(broadcast, normVector, pairs + g * kByteGroupBytes,
                          norms + g * kByteGroup, out + g * kByteGroup);
    }
    for (; g < groups; ++g) {
        ByteGroupAvx512(broadcast, normVector, pairs + g * kByteGroupBytes, norms + g * kByteGroup,
                        out + g * kByteGroup);
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

// First position of the least distance; count is a multiple of 8.
__attribute__((target("avx2"))) int FirstMinimumAvx2(const float* values, int count) {
    __m256 least = _mm256_loadu_ps(values);
    for (int i = 8; i < count; i += 8) {
        least = _mm256_min_ps(least, _mm256_loadu_ps(values + i));
    }
    alignas(32) float lanes[8];
    _mm256_store_ps(lanes, least);
    const __m256 target = _mm256_set1_ps(*std::min_element(lanes, lanes + 8));
    for (int i = 0;; i += 8) {
        const int mask =
            _mm256_movemask_ps(_mm256_cmp_ps(_mm256_loadu_ps(values + i), target, _CMP_EQ_OQ));
        if (mask != 0) {
            return i + __builtin_ctz(static_cast<unsigned>(mask));
        }
    }
}

__attribute__((target("avx2"))) inline __m256 AddSquare(__m256 sum, __m256 query,
                                                        const float* entries) {
    const __m256 d = _mm256_sub_ps(query, _mm256_load_ps(entries));
    return _mm256_add_ps(sum, _mm256_mul_ps(d, d));
}

// Each lane adds its 48 squares in component order, exactly as the portable loop does.
__attribute__((target("avx2"))) inline void FloatGroups4(const float* query, const float* lanes,
                                                         float* out) {
    __m256 sum0 = _mm256_setzero_ps(), sum1 = sum0, sum2 = sum0, sum3 = sum0;
    for (int j = 0; j < kBlockBytes; ++j) {
        const __m256 q = _mm256_set1_ps(query[j]);
        const float* p = lanes + j * kFloatGroup;
        sum0 = AddSquare(sum0, q, p);
        sum1 = AddSquare(sum1, q, p + kFloatGroupFloats);
        sum2 = AddSquare(sum2, q, p + 2 * kFloatGroupFloats);
        sum3 = AddSquare(sum3, q, p + 3 * kFloatGroupFloats);
    }
    _mm256_storeu_ps(out, _mm256_sqrt_ps(sum0));
    _mm256_storeu_ps(out + kFloatGroup, _mm256_sqrt_ps(sum1));
    _mm256_storeu_ps(out + 2 * kFloatGroup, _mm256_sqrt_ps(sum2));
    _mm256_storeu_ps(out + 3 * kFloatGroup, _mm256_sqrt_ps(sum3));
}

__attribute__((target("avx2"))) inline void FloatGroup1(const float* query, const float* lanes,
                                                        float* out) {
    __m256 sum = _mm256_setzero_ps();
    for (int j = 0; j < kBlockBytes; ++j) {
        sum = AddSquare(sum, _mm256_set1_ps(query[j]), lanes + j * kFloatGroup);
    }
    _mm256_storeu_ps(out, _mm256_sqrt_ps(sum));
}

__attribute__((target("avx2"))) void FloatDistancesAvx2(const float* query, const float* lanes,
                                                        int groups, float* out) {
    int g = 0;
    for (; g + 4 <= groups; g += 4) {
        FloatGroups4(query, lanes + g * kFloatGroupFloats, out + g * kFloatGroup);
    }
    for (; g < groups; ++g) {
        FloatGroup1(query, lanes + g * kFloatGroupFloats, out + g * kFloatGroup);
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
      isa_(Choose(kernels)),
      pairs_(static_cast<std::size_t>(groups_) * kByteGroupBytes / sizeof(Line)),
      norms_(ScratchSize(), 0) {
    std::uint8_t* pairs = pairs_.empty() ? nullptr : pairs_[0].bytes;
    for (int k = 0; k < entryCount; ++k) {
        const std::uint8_t* entry = table.data() + static_cast<std::ptrdiff_t>(k) * kBlockBytes;
        std::uint8_t* at = pairs + (k / kByteGroup) * kByteGroupBytes + (k % kByteGroup) * 2;
        unsigned norm = 0;
        for (int q = 0; q < kPairs; ++q) {
            at[q * kPairRow] = entry[2 * q];
            at[q * kPairRow + 1] = entry[2 * q + 1];
            norm += unsigned{entry[2 * q]} * entry[2 * q] +
                    unsigned{entry[2 * q + 1]} * entry[2 * q + 1];
        }
        norms_[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(norm);
    }
}

int ByteEntrySearch::Nearest(const BlockVector& block, std::uint16_t* scratch) const {
    const std::uint8_t* pairs = pairs_.empty() ? nullptr : pairs_[0].bytes;
#ifdef FENWOLD_X86
    if (isa_ != Isa::Portable) {
        if (isa_ == Isa::Avx512) {
            ByteDistancesAvx512(block, pairs, norms_.data(), groups_, scratch);
        } else {
            ByteDistancesAvx2(block, pairs, norms_.data(), groups_, scratch);
        }
        // Lanes beyond the last entry are set above every true distance.
        std::fill(scratch + count_, scratch + ScratchSize(), std::uint16_t{0xFFFF});
        return FirstMinimumAvx2(scratch, static_cast<int>(ScratchSize()));
    }
#endif
    ByteDistancesPortable(block, pairs, groups_, scratch);
    return FirstMinimumPortable(scratch, count_);
}

FloatEntrySearch::FloatEntrySearch(KernelSet kernels) : isa_(Choose(kernels)) {}

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
    if (isa_ != Isa::Portable) {
        FloatDistancesAvx2(query, lanes_[0].values, groups_, distances);
        return;
    }
#endif
    FloatDistancesPortable(query, lanes_[0].values, groups_, distances);
}

int FloatEntrySearch::Nearest(const float* query, float* scratch, float& distance) const {
    if (count_ == 0) {
        distance = std::numeric_limits<float>::infinity();
        return 0;
    }
    Distances(query, scratch);
    int best = 0;
#ifdef FENWOLD_X86
    if (isa_ != Isa::Portable) {
        // Lanes beyond the last entry are far beyond every true distance.
        best = FirstMinimumAvx2(scratch, static_cast<int>(ScratchSize()));
        distance = scratch[best];
        return best;
    }
#endif
    for (int i = 1; i < count_; ++i) {
        if (scratch[i] < scratch[best]) {
            best = i;
        }
    }
    distance = scratch[best];
    return best;
}

} // namespace fenwold
