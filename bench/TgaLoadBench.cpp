#include "image/FrameSetLoader.h"
#include "image/PictureReading.h"
#include "image/TgaReader.h"
#include "image/TgaWriter.h"
#include "platform/ScriptedPlatform.h"
#include "unit/RunLengthUnitFile.h"

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

// How a sprite's edges and shadow are drawn.
enum class Look { HardEdge, SoftEdge, SoftShadow };

// One frame of a rendered sprite on a transparent black canvas: a shaded body (neighbouring
// pixels rarely equal, so raw packets), a flat-coloured belt and shield (runs), moving a little
// from frame to frame: about 26,000 visible pixels and 1,540 packets a frame (960 runs, 580 raw
// packets holding 23,000 pixels). With a soft edge the body has a one-pixel anti-aliased edge of
// translucent pixels (about 800 a frame), whose colours are restored, otherwise a hard one. A
// soft shadow adds a translucent dark ellipse beside the body, partly behind it (about 4,700
// pixels a frame: runs of one colour at alpha 112, fading out towards its rim).
std::vector<TgaColor> SpriteFrame(int frame, Look look, std::mt19937& random) {
    std::vector<TgaColor> pixels(kSide * kSide, 0);
    const double cx = 128 + 6 * std::sin(frame * 0.2);
    const double cy = 128 + 4 * std::cos(frame * 0.3);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const double dx = (x - cx) / 80.0;
            const double dy = (y - cy) / 105.0;
            const double edge = (1.0 - std::sqrt(dx * dx + dy * dy)) * 60.0;
            if (edge <= 0) {
                if (look == Look::SoftShadow) {
                    const double sx = (x - cx - 30) / 90.0;
                    const double sy = (y - cy - 95) / 26.0;
                    const double fade = (1.0 - std::sqrt(sx * sx + sy * sy)) * 20.0;
                    if (fade > 0) {
                        const int alpha = fade >= 4 ? 112 : static_cast<int>(fade * 28);
                        pixels[y * kSide + x] =
                            MakeTgaColor(12, 10, 30, static_cast<std::uint8_t>(alpha));
                    }
                }
                continue;
            }
            const int alpha =
                look == Look::HardEdge || edge >= 1 ? 255 : static_cast<int>(edge * 255);
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

Files MakeSpriteFiles(Look look) {
    std::mt19937 random(17);
    Files files;
    for (int frame = 0; frame < kFrames; ++frame) {
        files.push_back(EncodeTga32(SpriteFrame(frame, look, random), kSide, kSide));
    }
    return files;
}

// The series of a benchmark argument: 0 hard edges, 1 soft edges, 2 soft edges and shadow.
const Files& SpriteFiles(std::int64_t look = 0) {
    static const Files hard = MakeSpriteFiles(Look::HardEdge);
    static const Files soft = MakeSpriteFiles(Look::SoftEdge);
    static const Files shadow = MakeSpriteFiles(Look::SoftShadow);
    return look == 2 ? shadow : look == 1 ? soft : hard;
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
    const auto& files = SpriteFiles(state.range(0));
    for (auto _ : state) {
        for (const auto& file : files) {
            Picture555 picture;
            ReadPicture555(file, picture);
            benchmark::DoNotOptimize(picture.pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ReadFrames)->ArgName("look")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same reading into one picture, as the loaders now read a series.
void BM_ReadFramesIntoOnePicture(benchmark::State& state) {
    const auto& files = SpriteFiles(state.range(0));
    Picture555 picture;
    for (auto _ : state) {
        for (const auto& file : files) {
            ReadPicture555(file, picture);
            benchmark::DoNotOptimize(picture.pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ReadFramesIntoOnePicture)
    ->ArgName("look")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMicrosecond);

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

// One animation registered from the series' files by a fresh loader, as every registration
// makes one.
std::list<RegisteredAnimation> Register(const SeriesFolder& series, ScriptedPlatform& platform) {
    std::list<RegisteredAnimation> animations;
    FrameSetLoader loader(animations, platform.Get());
    loader.LoadImageSeries({series.path(), series.names()});
    return animations;
}

// The whole registration of one animation of 64 frames from its files: reading, the common box,
// cropping and the frame streams. Items are frames.
void BM_RegisterSeries(benchmark::State& state) {
    const SeriesFolder series(SpriteFiles(state.range(0)));
    ScriptedPlatform platform(series.path());
    for (auto _ : state) {
        const auto animations = Register(series, platform);
        benchmark::DoNotOptimize(animations.front().frames.data());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_RegisterSeries)
    ->ArgName("look")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);

// Registration followed by the run-length unit file's bytes, as `fenwold-cli ure` makes them
// without the process and the save (which writes each frame's stream to the file as it is
// encoded, rather than into memory as here). Items are frames.
void BM_RegisterAndEncodeUnitFile(benchmark::State& state) {
    const SeriesFolder series(SpriteFiles(state.range(0)));
    ScriptedPlatform platform(series.path());
    for (auto _ : state) {
        const auto file = EncodeRunLengthUnitFile(Register(series, platform));
        benchmark::DoNotOptimize(file.data());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_RegisterAndEncodeUnitFile)->ArgName("look")->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace fenwold
