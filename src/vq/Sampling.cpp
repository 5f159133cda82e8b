#include "vq/Sampling.h"

#include <algorithm>
#include <random>

namespace fenwold {

int SampleCount(std::size_t n, int k) {
    return static_cast<int>(std::min<std::size_t>(4 * static_cast<std::size_t>(k), n / 5));
}

std::vector<VqVector> DrawSamples(std::span<const VqVector> training, int k, std::uint64_t seed,
                                  CompressionProgress& progress) {
    const std::size_t n = training.size();
    const int count = SampleCount(n, k);
    const float step = static_cast<float>(n) / static_cast<float>(count);
    const auto modulus = static_cast<std::uint32_t>(step);

    std::vector<VqVector> samples;
    samples.reserve(static_cast<std::size_t>(count) + 1);
    samples.push_back(VqVector{});
    std::mt19937 random(static_cast<std::uint32_t>(seed));
    float stepSum = 0.0f; // i * step, added up in single precision
    float previous = 0.0f;
    std::size_t node = 0;
    for (int i = 0; i < count; ++i) {
        const auto offset = static_cast<std::uint32_t>(random() % modulus);
        const float target = static_cast<float>(offset) + stepSum;
        const float distance = target - previous;
        std::size_t moves = 0;
        while (distance - static_cast<float>(moves) > 1.0f) {
            ++moves;
        }
        node = std::min(node + moves, n - 1);
        VqVector sample;
        sample.block = training[node].block;
        samples.push_back(sample);
        previous = target;
        stepSum += step;
        if (i % 100 == 0) {
            progress.ShowText(
                ProgressField::Sampling,
                ProgressFraction(static_cast<std::size_t>(i) + 1, static_cast<std::size_t>(count)));
        }
    }
    return samples;
}

} // namespace fenwold
