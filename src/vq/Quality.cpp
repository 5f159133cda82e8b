#include "vq/Quality.h"

#include "image/FrameStreams.h"
#include "vq/ColourTables.h"
#include "vq/SourceDifference.h"
#include "vq/StraightAlpha.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace fenwold {

namespace {

constexpr Pixel555 kWhite = 0x7FFF;

Pixel555 Grey(std::uint8_t level) {
    return static_cast<Pixel555>(level << 10 | level << 5 | level);
}

void AddDifferences(Pixel555 a, Pixel555 b, ErrorTally& tally) {
    for (const auto channel : {Red5, Green5, Blue5}) {
        const double d = Spread5To8(channel(a)) - Spread5To8(channel(b));
        tally.squares += d * d;
    }
    tally.channels += 3;
}

} // namespace

double ErrorTally::Psnr() const {
    if (squares == 0.0 || channels == 0) {
        return std::numeric_limits<double>::infinity();
    }
    const double meanSquare = squares / static_cast<double>(channels);
    return 10.0 * std::log10(255.0 * 255.0 / meanSquare);
}

ErrorTally QualityFigures::Pooled() const {
    ErrorTally pooled;
    for (const AnimationQuality& animation : animations) {
        pooled += animation.compression;
    }
    return pooled;
}

int QualityFigures::Worst() const {
    int worst = -1;
    double lowest = 0.0;
    for (std::size_t a = 0; a < animations.size(); ++a) {
        const double psnr = animations[a].compression.Psnr();
        if (worst < 0 || psnr < lowest) {
            worst = static_cast<int>(a);
            lowest = psnr;
        }
    }
    return worst;
}

std::optional<ErrorTally> QualityFigures::PooledConversion() const {
    std::optional<ErrorTally> pooled;
    for (const AnimationQuality& animation : animations) {
        if (animation.conversion) {
            if (!pooled) {
                pooled.emplace();
            }
            *pooled += *animation.conversion;
        }
    }
    return pooled;
}

int QualityFigures::ConversionsMeasured() const {
    int count = 0;
    for (const AnimationQuality& animation : animations) {
        count += animation.conversion ? 1 : 0;
    }
    return count;
}

std::string PsnrText(const ErrorTally& tally) {
    if (tally.Exact()) {
        return "lossless";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f dB", tally.Psnr());
    return text;
}

std::vector<std::string> QualityLines(const QualityFigures& figures) {
    std::vector<std::string> lines;
    std::string line = "PSNR against the registered frames: unit " + PsnrText(figures.Pooled());
    const int worst = figures.Worst();
    if (worst >= 0) {
        line += ", worst animation " + std::to_string(worst) + " at " +
                PsnrText(figures.animations[static_cast<std::size_t>(worst)].compression);
    }
    lines.push_back(line);
    if (const auto reading = figures.PooledConversion()) {
        line = "PSNR of the registered frames against the pictures read: " + PsnrText(*reading);
        const auto measured = static_cast<std::size_t>(figures.ConversionsMeasured());
        if (measured < figures.animations.size()) {
            line += " (" + std::to_string(measured) + " of " +
                    std::to_string(figures.animations.size()) + " animations)";
        }
        lines.push_back(line);
    }
    return lines;
}

std::string QualitySummary(const QualityFigures& figures) {
    std::string summary = "PSNR " + PsnrText(figures.Pooled());
    const int worst = figures.Worst();
    if (worst >= 0 && figures.animations.size() > 1) {
        summary += ", worst " +
                   PsnrText(figures.animations[static_cast<std::size_t>(worst)].compression) +
                   " (animation " + std::to_string(worst) + ")";
    }
    if (const auto reading = figures.PooledConversion()) {
        summary += "; pictures read " + PsnrText(*reading);
    }
    return summary;
}

CompressedAnimationView ViewOf(const EncodedAnimation& animation) {
    CompressedAnimationView view{animation.fields.maskFlag, 1, {}};
    for (std::size_t f = 0; f < animation.alphaTables.size(); ++f) {
        const EncodedAlphaTable& alpha = animation.alphaTables[f];
        view.frames.push_back(FrameTables{alpha.width, alpha.height, static_cast<int>(f),
                                          animation.indexTables[f / 4], alpha.bytes});
    }
    return view;
}

bool SameFrames(const RegisteredAnimation& registered, const CompressedAnimationView& compressed) {
    if (registered.frames.size() != compressed.frames.size()) {
        return false;
    }
    for (const FrameTables& frame : compressed.frames) {
        if (frame.width != registered.width || frame.height != registered.height) {
            return false;
        }
    }
    return true;
}

CompressionComparer::CompressionComparer(std::span<const Pixel555> codebook, int blockFlag)
    : codebook_(codebook), blockFlag_(blockFlag) {}

FrameComparison CompressionComparer::CompareFrame(const RegisteredAnimation& registered, int frame,
                                                  const CompressedAnimationView& compressed) const {
    const RegisteredFrame& source = registered.frames[static_cast<std::size_t>(frame)];
    const FrameTables& tables = compressed.frames[static_cast<std::size_t>(frame)];
    const int width = registered.width;
    const int height = registered.height;
    const std::vector<Pixel555> pixels = DecodeFramePixels(source.pixelStream, width, height);
    const std::vector<std::uint8_t> alpha = DecodeFrameAlpha(source.alphaStream, width, height);
    const std::vector<std::uint8_t> mask = source.maskStream.empty()
                                               ? std::vector<std::uint8_t>()
                                               : DecodeFrameAlpha(source.maskStream, width, height);

    FrameComparison result;
    result.width = width;
    result.height = height;
    // Team pixels as the codebook holds them: their grey level.
    const FrameDrawing drawing{
        &tables, compressed.maskFlag, blockFlag_, {codebook_.data(), codebook_.data(), nullptr}};
    result.compressed = DrawOver(drawing, 0, 255);
    // The registered colours are drawn with the compressed drawing's own weights.
    const std::vector<std::uint8_t> weights =
        DrawnWeights(result.compressed, DrawOver(drawing, kWhite, 255));
    const std::array<std::uint8_t, 32768>& grey = GreyLevels();
    result.registered.assign(pixels.size(), 0);
    result.visible.assign(pixels.size(), 0);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const bool team = !mask.empty() && mask[i] != 0;
        const bool seen = team || alpha[i] != 0;
        const Pixel555 colour =
            team ? Grey(grey[pixels[i] & 0x7FFF]) : (seen ? Pixel555(pixels[i] & 0x7FFF) : 0);
        if (weights[i] != 0) {
            result.registered[i] = BlendWeighted(colour, 0, weights[i]);
        }
        if (seen || weights[i] != 0) {
            result.visible[i] = 1;
            AddDifferences(result.registered[i], result.compressed[i], result.tally);
        }
    }
    return result;
}

AnimationQuality CompressionComparer::Measure(const RegisteredAnimation& registered,
                                              const CompressedAnimationView& compressed) const {
    AnimationQuality quality;
    quality.conversion.emplace();
    for (std::size_t f = 0; f < registered.frames.size(); ++f) {
        const FrameComparison comparison =
            CompareFrame(registered, static_cast<int>(f), compressed);
        quality.compression += comparison.tally;
        if (quality.conversion) {
            const std::optional<ErrorTally> source =
                SourceDifference(registered.frames[f], comparison);
            if (source) {
                *quality.conversion += *source;
            } else {
                quality.conversion.reset();
            }
        }
    }
    return quality;
}

QualityFigures MeasureCompression(const AnimationRefs& registered,
                                  const std::vector<CompressedAnimationView>& compressed,
                                  std::span<const Pixel555> codebook, int blockFlag) {
    const CompressionComparer comparer(codebook, blockFlag);
    QualityFigures figures;
    for (std::size_t a = 0; a < registered.size() && a < compressed.size(); ++a) {
        figures.animations.push_back(comparer.Measure(*registered[a], compressed[a]));
    }
    return figures;
}

QualityFigures MeasureCompression(const AnimationRefs& registered,
                                  const CompressionResult& result) {
    std::vector<CompressedAnimationView> views;
    for (const EncodedAnimation& animation : result.animations) {
        views.push_back(ViewOf(animation));
    }
    const std::vector<Pixel555> codebook = LookupTablePixels(result.lookupTable);
    return MeasureCompression(registered, views, codebook, 1);
}

} // namespace fenwold
