#include "FuzzSupport.h"

#include "vq/DrawCompressedFrame.h"
#include "vq/RowEncoding.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fenwold::fuzz {

std::uint8_t InputCursor::u8() {
    const auto byte = take(1);
    return byte.empty() ? 0 : byte[0];
}

std::uint16_t InputCursor::u16() {
    const std::uint8_t low = u8();
    return static_cast<std::uint16_t>(low | u8() << 8);
}

std::span<const std::uint8_t> InputCursor::take(std::size_t count) {
    const auto taken = input_.first(std::min(count, input_.size()));
    input_ = input_.subspan(taken.size());
    return taken;
}

void DrawEveryFrame(const UnitData& data) {
    constexpr int kWidth = 40;
    constexpr int kHeight = 32;
    std::vector<Pixel555> buffer(kWidth * kHeight, 0x1234);
    const Pixel555* team = data.teamColours.tables[3].data();
    for (const UnitAnimation& animation : data.animations) {
        for (const AlphaTableNode& frame : animation.alphaTables) {
            const int w = frame.width;
            const int h = frame.height;
            const std::array<std::array<int, 2>, 7> places{{{0, 0},
                                                            {-1, -1},
                                                            {-3, 2},
                                                            {kWidth - w / 2, kHeight - h / 2},
                                                            {1 - w, 1 - h},
                                                            {5 - w / 2, 3 - h / 2},
                                                            {kWidth, kHeight}}};
            int turn = 0;
            for (const auto& [x, y] : places) {
                ++turn;
                DrawCompressedFrame({buffer.data(), kWidth, kHeight}, x, y, animation, frame,
                                    data.codebook.Drawing(turn % 2 == 0 ? team : nullptr),
                                    turn % 3 == 0 ? 128 : 255);
            }
        }
    }
}

UnitData MakeSmallUnit(int blockFlag) {
    constexpr int kEntries = 4;
    constexpr int kWidth = 6;
    constexpr int kHeight = 5;
    constexpr int kFrames = 5;
    UnitData data;
    data.compressionError = 1.5f;
    data.unitPointX[0] = 3;
    data.unitPointY[1] = -4;
    data.teamColours.selection.fill(16);
    for (int t = 0; t < kTeamColourTableCount; ++t) {
        for (int e = 0; e < kTeamColourEntries; ++e) {
            data.teamColours.tables[t][e] = static_cast<Pixel555>((t * 997 + e * 131) & 0x7FFF);
        }
    }
    data.codebook.blockFlag = blockFlag;
    auto& entries = data.codebook.InUse();
    entries.resize(static_cast<std::size_t>(kEntries) * data.codebook.PixelsPerEntry());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = static_cast<Pixel555>((i * 2654435761u) & 0x7FFF);
    }

    for (int maskFlag = 0; maskFlag < 2; ++maskFlag) {
        UnitAnimation& animation = data.AddAnimation({});
        animation.maskFlag = maskFlag;
        animation.blockFlag = blockFlag;
        animation.width = kWidth;
        animation.height = kHeight;
        animation.sequenceLength = 3;
        for (int s = 0; s < 3; ++s) {
            animation.frameNumber[s] = static_cast<std::uint16_t>(s + 1);
            animation.delay[s] = 4;
            animation.alphaValue[s] = 255;
        }
        animation.pointX[0] = 2;
        animation.checkBoxWidth = 4;
        animation.checkBoxHeight = 3;
        for (int group = 0; group < (kFrames + 3) / 4; ++group) {
            auto& table = animation.indexTables.emplace_back().bytes;
            for (int row = 0; row < kHeight; ++row) {
                std::array<std::uint16_t, kWidth / 2> values{};
                for (int c = 0; c < kWidth / 2; ++c) {
                    values[c] = static_cast<std::uint16_t>((row + c + group) % kEntries);
                }
                AppendIndexRow(values, row != 1, table);
            }
        }
        for (int f = 0; f < kFrames; ++f) {
            AlphaTableNode& frame = animation.alphaTables.emplace_back();
            frame.width = kWidth;
            frame.height = kHeight;
            frame.index = f;
            for (int row = 0; row < kHeight; ++row) {
                std::array<std::uint8_t, kWidth> values{};
                for (int c = 0; c < kWidth; ++c) {
                    const int k = (row * kWidth + c + f) % 5;
                    values[c] = maskFlag != 0 ? std::array<std::uint8_t, 5>{0, 1, 255, 255, 1}[k]
                                              : std::array<std::uint8_t, 5>{0, 255, 255, 128, 8}[k];
                }
                if (maskFlag != 0) {
                    AppendMaskedAlphaRow(values, frame.bytes);
                } else {
                    AppendAlphaRow(values, frame.bytes);
                }
            }
        }
    }
    UnitGroup& group = data.AddGroup();
    group.pointY[2] = 7;
    group.members.push_back(&data.animations.front());
    data.animations.front().groupIndex = 0;
    data.Renumber();
    return data;
}

BuildingRecord MakeSmallBuildingRecord() {
    constexpr int kPixels = kTileSize * kTileSize;
    std::vector<Pixel555> picture(kPixels);
    std::vector<std::uint8_t> alpha(kPixels);
    for (int i = 0; i < kPixels; ++i) {
        picture[i] = static_cast<Pixel555>((i * 37) & 0x7FFF);
        alpha[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 0 : (i % 3 == 0 ? 128 : 255));
    }
    BuildingRecord record = MakeBuildingRecord(std::move(picture), std::move(alpha), kTileSize,
                                               kTileSize, 0, 0, kTileSize, kTileSize);
    record.teamIndex.assign(kPixels, 0);
    record.teamMask.assign(kPixels, 0);
    for (int i = 0; i < kPixels; i += 5) {
        record.teamMask[i] = 255;
        record.teamIndex[i] = static_cast<std::uint8_t>(i % 32);
    }
    record.clash[1][1] = 1;
    record.rootOfFloat = 1;
    return record;
}

void Broken(const char* what) {
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

} // namespace fenwold::fuzz
