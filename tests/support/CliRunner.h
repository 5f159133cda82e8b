#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fenwold::test {

// Runs fenwold-cli in this process, quiet, and returns its exit status.
int RunCommand(std::vector<std::string> arguments);

// A PNG file as 8-bit RGBA, rows top first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    const std::uint8_t* At(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};
RgbaImage ReadPng(const std::filesystem::path& path);

} // namespace fenwold::test
