#include "support/CliRunner.h"

#include "cli/Cli.h"
#include "platform/FileIo.h"

#include <png.h>
#include <stdexcept>

namespace fenwold::test {

int RunCommand(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "fenwold-cli");
    arguments.insert(arguments.begin() + 1, "--quiet");
    std::vector<const char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return cli::RunCli(static_cast<int>(argv.size()), argv.data());
}

RgbaImage ReadPng(const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        throw std::runtime_error(path.string() + ": not a PNG");
    }
    image.format = PNG_FORMAT_RGBA;
    RgbaImage result{static_cast<int>(image.width), static_cast<int>(image.height), {}};
    result.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.rgba.data(), 0, nullptr)) {
        throw std::runtime_error(path.string() + ": the PNG could not be decoded");
    }
    return result;
}

} // namespace fenwold::test
