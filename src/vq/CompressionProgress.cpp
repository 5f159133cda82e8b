#include "vq/CompressionProgress.h"

#include <cstdio>

namespace fenwold {

std::string ProgressFraction(std::size_t i, std::size_t n) {
    char text[48];
    std::snprintf(text, sizeof text, "%d / %d", static_cast<int>(i), static_cast<int>(n));
    return text;
}

std::string ProgressReal(double value) {
    char text[400]; // "%f" of the largest double needs 317 characters
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

} // namespace fenwold
