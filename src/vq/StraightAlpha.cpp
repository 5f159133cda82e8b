#include "vq/StraightAlpha.h"

#include "vq/RowEncoding.h"

namespace fenwold {

namespace {

constexpr Pixel555 kWhite = 0x7FFF;

// A plain frame's alpha table with every visible pixel made a run of full opacity, in the run-only
// scheme of team-coloured frames: drawn with it, every visible pixel is a copy of its source.
std::vector<std::uint8_t> OpaqueAlphaTable(std::span<const std::uint8_t> table, int width,
                                           int height) {
    std::vector<std::uint8_t> plane = DecodeAlphaTable(table, width, height);
    std::vector<std::uint8_t> opaque;
    for (int y = 0; y < height; ++y) {
        const auto row = std::span(plane).subspan(static_cast<std::size_t>(y) * width, width);
        for (auto& value : row) {
            value = value != 0 ? 255 : 0;
        }
        AppendMaskedAlphaRow(row, opaque);
    }
    return opaque;
}

} // namespace

std::vector<Pixel555> DrawOver(const FrameDrawing& drawing, Pixel555 background, int alphaValue) {
    const FrameTables& frame = *drawing.frame;
    std::vector<Pixel555> buffer(static_cast<std::size_t>(frame.width) * frame.height, background);
    DrawFrameTables({buffer.data(), frame.width, frame.height}, 0, 0, drawing.maskFlag,
                    drawing.blockFlag, frame, drawing.codebooks, alphaValue);
    return buffer;
}

std::vector<std::uint8_t> DrawnWeights(std::span<const Pixel555> overBlack,
                                       std::span<const Pixel555> overWhite) {
    std::vector<std::uint8_t> weights(overBlack.size(), 0);
    for (std::size_t i = 0; i < overBlack.size(); ++i) {
        const int weight = 32 - (Red5(overWhite[i]) - Red5(overBlack[i]));
        weights[i] = static_cast<std::uint8_t>(weight > 1 ? weight : 0);
    }
    return weights;
}

StraightAlphaFrame DrawStraightAlpha(const FrameDrawing& drawing, int alphaValue) {
    const std::vector<std::uint8_t> weights =
        DrawnWeights(DrawOver(drawing, 0, alphaValue), DrawOver(drawing, kWhite, alphaValue));
    // Drawn at full opacity through a table of runs, every visible pixel is a copy of its
    // source: team-coloured frames have such tables, plain ones are given one.
    FrameDrawing copies = drawing;
    FrameTables opaqueFrame = *drawing.frame;
    std::vector<std::uint8_t> opaque;
    if (drawing.maskFlag == 0) {
        opaque = OpaqueAlphaTable(opaqueFrame.alphaTable, opaqueFrame.width, opaqueFrame.height);
        opaqueFrame.alphaTable = opaque;
        copies.frame = &opaqueFrame;
        copies.maskFlag = 1;
        copies.codebooks.teamColours = nullptr;
    }
    StraightAlphaFrame result{DrawOver(copies, 0, 255), std::vector<std::uint8_t>(weights.size())};
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] == 0) {
            result.colours[i] = 0;
        } else {
            result.alpha[i] = static_cast<std::uint8_t>((weights[i] * 255 + 16) / 32);
        }
    }
    return result;
}

} // namespace fenwold
