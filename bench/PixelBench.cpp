#include "image/Hsv.h"
#include "image/Pixel.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace fenwold {
namespace {

// One 256 x 256 frame of half-transparent sprite pixels through the loader's colour path.
void BM_RestoreAndConvertFrame(benchmark::State& state) {
    std::mt19937 random(7);
    std::vector<TgaColor> source(256 * 256);
    std::vector<std::uint8_t> alpha(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        alpha[i] = static_cast<std::uint8_t>(random() % 3 == 0 ? 255 : random() & 0xFF);
        source[i] = (random() & 0xFFFFFF) | static_cast<TgaColor>(alpha[i]) << 24;
    }
    std::vector<TgaColor> pixels;
    std::vector<Pixel555> out(source.size());
    for (auto _ : state) {
        pixels = source;
        RestoreTranslucentColours(pixels, alpha);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            out[i] = ToPixel555(pixels[i]);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(source.size()));
}
BENCHMARK(BM_RestoreAndConvertFrame);

} // namespace
} // namespace fenwold
