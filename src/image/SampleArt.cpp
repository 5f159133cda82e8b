#include "image/SampleArt.h"

#include "image/TgaWriter.h"
#include "platform/FileError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <system_error>

namespace fenwold {
namespace {

constexpr int kSubsamples = 4; // per axis

// splitmix64: a tiny generator whose sequence is the same on every machine.
std::uint64_t Mix(std::uint64_t value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

double Unit(std::uint64_t value) {
    return static_cast<double>(Mix(value) >> 11) * (1.0 / 9007199254740992.0);
}

struct Colour {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// What covers one sample point: its colour, how opaque it is and whether it takes team colour.
struct Hit {
    Colour colour;
    double opacity = 0;
    bool team = false;
};

double Distance(double x0, double y0, double x1, double y1) {
    return std::hypot(x1 - x0, y1 - y0);
}

// Distance from (x, y) to the segment (x0, y0)-(x1, y1).
double SegmentDistance(double x, double y, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 == 0 ? 0 : std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0, 1.0);
    return Distance(x, y, x0 + t * dx, y0 + t * dy);
}

Colour Shade(Colour base, double light) {
    return {base.red * light, base.green * light, base.blue * light};
}

// Averages the hits of kSubsamples^2 points of every pixel into a premultiplied picture.
template <typename Scene>
SamplePicture Render(int width, int height, Scene&& scene) {
    SamplePicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    picture.mask.resize(picture.pixels.size());
    constexpr double kSamples = kSubsamples * kSubsamples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour sum;
            double opacity = 0;
            int team = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    const Hit hit =
                        scene(x + (sx + 0.5) / kSubsamples, y + (sy + 0.5) / kSubsamples);
                    sum.red += hit.colour.red * hit.opacity;
                    sum.green += hit.colour.green * hit.opacity;
                    sum.blue += hit.colour.blue * hit.opacity;
                    opacity += hit.opacity;
                    team += hit.team ? 1 : 0;
                }
            }
            const auto channel = [](double value) {
                return static_cast<std::uint8_t>(std::clamp(value / kSamples, 0.0, 255.0));
            };
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            picture.pixels[i] = MakeTgaColor(channel(sum.red), channel(sum.green),
                                             channel(sum.blue), channel(opacity * 255.0));
            picture.mask[i] =
                team * 2 > kSamples ? MakeTgaColor(255, 255, 255) : MakeTgaColor(0, 0, 0);
        }
    }
    return picture;
}

} // namespace

SamplePicture DrawSampleFrame(const SampleOptions& options, int animation, int frame) {
    const std::uint64_t key = Mix(options.seed * 1000003u + static_cast<std::uint64_t>(animation));
    const double hue = Unit(key) * 2 * std::numbers::pi;
    const Colour skin{200 + 40 * Unit(key + 1), 150 + 40 * Unit(key + 2), 110 + 30 * Unit(key + 3)};
    const Colour trousers{90 + 80 * (0.5 + 0.5 * std::cos(hue)),
                          70 + 80 * (0.5 + 0.5 * std::sin(hue)), 60 + 90 * Unit(key + 4)};
    const double phase = 2 * std::numbers::pi * frame / std::max(options.frames, 1);
    const double w = options.width;
    const double h = options.height;
    const double scale = std::min(w, h) / 96.0;
    const double cx = w / 2 + (Unit(key + 5) - 0.5) * 10 * scale;
    const double hipY = h * 0.58;
    const double stride = (10 + 8 * Unit(key + 6)) * scale;
    const double bob = std::abs(std::sin(phase)) * 2 * scale;
    const double limb = 4.2 * scale;

    return Render(options.width, options.height, [&](double x, double y) {
        const double lx = cx + std::sin(phase) * stride;
        const double rx = cx - std::sin(phase) * stride;
        const double footY = h * 0.9;
        const double headY = h * 0.22 - bob;
        const double light =
            0.65 + 0.35 * std::clamp((cx + 20 * scale - x) / (40 * scale), 0.0, 1.0);
        // Front to back: arm, head, tunic (team colour), legs, shadow.
        const double armX = cx - std::sin(phase) * stride * 0.8;
        if (SegmentDistance(x, y, cx, hipY - 22 * scale - bob, armX, hipY - 2 * scale - bob) <
            limb * 0.8) {
            return Hit{Shade(skin, light * 0.9), 1, false};
        }
        if (Distance(x, y, cx, headY) < 9 * scale) {
            return Hit{Shade(skin, light), 1, false};
        }
        const double tx = (x - cx) / (13 * scale);
        const double ty = (y - (hipY - 14 * scale - bob)) / (18 * scale);
        if (tx * tx + ty * ty < 1) {
            const double grey = 90 + 150 * light * (1 - 0.3 * ty);
            return Hit{{grey, grey, grey}, 1, true};
        }
        if (SegmentDistance(x, y, cx - 3 * scale, hipY - bob, lx, footY) < limb ||
            SegmentDistance(x, y, cx + 3 * scale, hipY - bob, rx, footY) < limb) {
            return Hit{Shade(trousers, light), 1, false};
        }
        const double sx = (x - cx) / (20 * scale);
        const double sy = (y - footY - 2 * scale) / (4 * scale);
        if (sx * sx + sy * sy < 1) {
            return Hit{{0, 0, 0}, 0.4, false}; // a soft shadow under the feet
        }
        return Hit{};
    });
}

SamplePicture DrawSampleBuilding(std::uint64_t seed) {
    const double brick = 0.85 + 0.15 * Unit(seed);
    // The house stands inside a larger transparent canvas, as artists save buildings.
    return Render(170, 130, [&](double x, double y) {
        const double left = 25;
        const double right = 145;
        const double eaves = 55;
        const double ground = 115;
        if (x >= 62 && x < 80 && y >= 85 && y < ground) {
            return Hit{{90, 60, 30}, 1, false}; // door
        }
        if (((x >= 95 && x < 115) || (x >= 35 && x < 52)) && y >= 68 && y < 84) {
            return Hit{{150, 190, 230}, 0.85, false}; // windows, slightly see-through
        }
        if (x >= left && x < right && y >= eaves && y < ground) {
            const bool mortar = static_cast<int>(y) % 8 == 0 ||
                                (static_cast<int>(x + (static_cast<int>(y / 8) % 2) * 6) % 12 == 0);
            const double r = mortar ? 200 : 170 * brick;
            return Hit{{r, mortar ? 190 : 90.0, mortar ? 180 : 70.0}, 1, false};
        }
        const double roofTop = 18;
        const double half = (right - left) / 2 + 10;
        const double middle = (left + right) / 2;
        if (y >= roofTop && y < eaves &&
            std::abs(x - middle) < half * (y - roofTop) / (eaves - roofTop)) {
            const double grey = 110 + 120 * (y - roofTop) / (eaves - roofTop);
            return Hit{{grey, grey, grey}, 1, true}; // the roof takes the team colour
        }
        return Hit{};
    });
}

SampleSet WriteSampleSet(const std::filesystem::path& folder, const SampleOptions& options) {
    if (options.animations < 1 || options.animations > 200 || options.frames < 1 ||
        options.frames > 200 || options.width < 2 || options.height < 2 || options.width > 1024 ||
        options.height > 1024) {
        throw FileError(folder.string(),
                        "sample sizes out of range (1-200 animations and frames, 2-1024 pixels)");
    }
    SampleSet set;
    const auto makeFolder = [](const std::filesystem::path& path) {
        std::error_code error;
        std::filesystem::create_directories(path, error);
        if (error) {
            throw FileError(path.string(), "cannot create the folder: " + error.message());
        }
        return path;
    };
    for (int a = 0; a < options.animations; ++a) {
        char name[16];
        std::snprintf(name, sizeof name, "anim%02d", a);
        const auto pictures = makeFolder(folder / "unit" / name);
        const auto masks = makeFolder(folder / "mask" / name);
        set.animationFolders.push_back(pictures);
        set.maskFolders.push_back(masks);
        for (int f = 0; f < options.frames; ++f) {
            const SamplePicture frame = DrawSampleFrame(options, a, f);
            char number[16];
            std::snprintf(number, sizeof number, "%04d", f + 1);
            const auto picture = pictures / (std::string(name) + "_" + number + ".tga");
            const auto mask = masks / (std::string(name) + "_mask_" + number + ".tga");
            WriteTga32(picture, frame.pixels, frame.width, frame.height);
            WriteTga32(mask, frame.mask, frame.width, frame.height);
            if (f == 0) {
                set.firstPictures.push_back(picture);
                set.firstMasks.push_back(mask);
            }
        }
    }
    const auto buildingFolder = makeFolder(folder / "building");
    const SamplePicture house = DrawSampleBuilding(options.seed);
    set.building = buildingFolder / "house.tga";
    set.buildingMask = buildingFolder / "house_mask.tga";
    WriteTga32(set.building, house.pixels, house.width, house.height);
    WriteTga32(set.buildingMask, house.mask, house.width, house.height);
    return set;
}

} // namespace fenwold
