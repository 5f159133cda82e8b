#include "image/FrameSetLoader.h"
#include "image/PictureReading.h"
#include "image/TgaReader.h"
#include "image/TgaWriter.h"
#include "platform/ScriptedPlatform.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <list>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace fenwold {
namespace {

constexpr int kSide = 256;
constexpr int kFrames = 64;

// One frame of a rendered sprite on a transparent black canvas: a shaded body (neighbouring
// pixels rarely equal, so raw packets), a flat-coloured belt and shield (runs), moving a little
// from frame to frame: about 26,000 visible pixels and 1,540 packets a frame (960 runs, 580 raw
// packets holding 23,000 pixels). With `softEdge` the body has a one-pixel anti-aliased edge of
// translucent pixels (about 800 a frame), whose colours are restored, otherwise a hard one.
std::vector<TgaColor> SpriteFrame(int frame, bool softEdge, std::mt19937& random) {
    std::vector<TgaColor> pixels(kSide * kSide, 0);
    const double cx = 128 + 6 * std::sin(frame * 0.2);
    const double cy = 128 + 4 * std::cos(frame * 0.3);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const double dx = (x - cx) / 80.0;
            const double dy = (y - cy) / 105.0;
            const double edge = (1.0 - std::sqrt(dx * dx + dy * dy)) * 60.0;
            if (edge <= 0) {
                continue;
            }
            const int alpha = !softEdge || edge >= 1 ? 255 : static_cast<int>(edge * 255);
            const bool belt = std::abs(y - cy - 10) < 4;
            const bool shield = std::abs(x - cx + 40) < 14 && std::abs(y - cy) < 30;
            const int shade = belt || shield ? 0 : static_cast<int>(random() % 64);
            const auto red = static_cast<std::uint8_t>(shield ? 200 : 90 + (x / 16) * 8 + shade);
            const auto green = static_cast<std::uint8_t>(60 + (y / 16) * 6 + shade / 2);
            const auto blue = static_cast<std::uint8_t>(belt ? 20 : 40 + shade);
            pixels[y * kSide + x] =
                MakeTgaColor(red, green, blue, static_cast<std::uint8_t>(alpha));
        }
    }
    return pixels;
}

using Files = std::vector<std::vector<std::uint8_t>>;

Files MakeSpriteFiles(bool softEdge) {
    std::mt19937 random(17);
    Files files;
    for (int frame = 0; frame < kFrames; ++frame) {
        files.push_back(EncodeTga32(SpriteFrame(frame, softEdge, random), kSide, kSide));
    }
    return files;
}

const Files& SpriteFiles(bool softEdge = false) {
    static const Files hard = MakeSpriteFiles(false);
    static const Files soft = MakeSpriteFiles(true);
    return softEdge ? soft : hard;
}

// Targa decoding alone.
void BM_DecodeTarga(benchmark::State& state) {
    const auto& files = SpriteFiles();
    for (auto _ : state) {
        for (const auto& file : files) {
            CTgaReader reader(file);
            benchmark::DoNotOptimize(reader.alpha().data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_DecodeTarga)->Unit(benchmark::kMicrosecond);

// Reading a frame as the loaders do: decoding, Pixel555 conversion, row flip and alpha
// quantisation, and for translucent pixels the colour restoration. Items are frames.
void BM_ReadFrames(benchmark::State& state) {
    const auto& files = SpriteFiles(state.range(0) != 0);
    for (auto _ : state) {
        for (const auto& file : files) {
            Picture555 picture;
            ReadPicture555(file, picture);
            benchmark::DoNotOptimize(picture.pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ReadFrames)->ArgName("softEdge")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The frames as files in a fresh temporary folder, removed afterwards.
class SeriesFolder {
public:
    explicit SeriesFolder(const Files& files) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fenwold-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        path_ = pattern;
        for (std::size_t i = 0; i < files.size(); ++i) {
            names_.push_back("walk" + std::to_string(1000 + i) + ".tga");
            std::ofstream out(path_ / names_.back(), std::ios::binary);
            out.write(reinterpret_cast<const char*>(files[i].data()),
                      static_cast<std::streamsize>(files[i].size()));
        }
    }
    ~SeriesFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SeriesFolder(const SeriesFolder&) = delete;
    SeriesFolder& operator=(const SeriesFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const std::vector<std::string>& names() const { return names_; }

private:
    std::filesystem::path path_;
    std::vector<std::string> names_;
};

// The whole registration of one animation of 64 frames from its files: reading, the common
// box, cropping and the frame streams. Items are frames.
void BM_RegisterSeries(benchmark::State& state) {
    const SeriesFolder series(SpriteFiles(state.range(0) != 0));
    ScriptedPlatform platform(series.path());
    for (auto _ : state) {
        std::list<RegisteredAnimation> animations;
        FrameSetLoader loader(animations, platform.Get());
        loader.LoadImageSeries({series.path(), series.names()});
        benchmark::DoNotOptimize(animations.front().frames.data());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_RegisterSeries)->ArgName("softEdge")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace fenwold
