#pragma once

#include <array>

namespace fenwold {

// The cosine and sine of every whole degree as the origin-point window's radial move reads them:
// single-precision values of cos(i * 0.01745328888888889) and sin(i * 0.01745328888888889) for
// i = 0 to 359 (the degree factor 3.141592 / 180). Filled once, the first time they are asked for.
struct RadialTables {
    static constexpr int kDegrees = 360;
    static constexpr double kDegreeFactor = 0.01745328888888889;
    std::array<float, kDegrees> cosine{};
    std::array<float, kDegrees> sine{};
};

const RadialTables& Radial();

} // namespace fenwold
