#include "image/PixelBlocks.h"

namespace fenwold::blocks {

ConversionIsa FastestConversion() {
#if defined(FENWOLD_X86_BLOCKS)
    static const ConversionIsa fastest = __builtin_cpu_supports("avx512bw") ? ConversionIsa::Avx512
                                         : __builtin_cpu_supports("avx2")   ? ConversionIsa::Avx2
                                                                            : ConversionIsa::Sse2;
    return fastest;
#else
    return ConversionIsa::Plain;
#endif
}

} // namespace fenwold::blocks
