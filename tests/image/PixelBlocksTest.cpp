#include "image/PixelBlocks.h"

#include <array>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

namespace fenwold::blocks {
namespace {

#if defined(FENWOLD_X86_BLOCKS)

constexpr std::size_t kBlockBytes = kSize * 4;
using Block = std::array<std::uint8_t, kBlockBytes>;

struct Converted {
    std::array<Pixel555, kSize> pixels{};
    std::array<std::uint8_t, kSize> alpha{};
    unsigned translucent = 0;
    friend bool operator==(const Converted&, const Converted&) = default;
};

// Calls f with the type of the conversion `isa` names.
template <typename F>
Converted With(ConversionIsa isa, F f) {
    switch (isa) {
    case ConversionIsa::Avx512:
        return f(std::type_identity<Avx512Conversion>{});
    case ConversionIsa::Avx2:
        return f(std::type_identity<Avx2Conversion>{});
    case ConversionIsa::Sse2:
        return f(std::type_identity<Sse2Conversion>{});
    case ConversionIsa::Plain:
        break;
    }
    return f(std::type_identity<PlainConversion>{});
}

Converted ConvertWith(ConversionIsa isa, const Block& block) {
    return With(isa, [&](auto conversion) {
        Converted out;
        using Conversion = typename decltype(conversion)::type;
        out.translucent = Conversion::Convert(block.data(), out.pixels.data(), out.alpha.data());
        return out;
    });
}

Converted FillWith(ConversionIsa isa, Pixel555 pixel, std::uint8_t a) {
    return With(isa, [&](auto conversion) {
        Converted out;
        decltype(conversion)::type::Fill(out.pixels.data(), pixel, out.alpha.data(), a);
        return out;
    });
}

class BlockConversion : public testing::TestWithParam<ConversionIsa> {
protected:
    void SetUp() override {
        if (GetParam() > FastestConversion()) {
            GTEST_SKIP() << "this processor lacks the instruction set";
        }
    }
};

TEST_P(BlockConversion, AgreesWithThePlainFormOnRandomPixels) {
    std::mt19937 random(5);
    for (int trial = 0; trial < 20000; ++trial) {
        Block block;
        for (auto& byte : block) {
            byte = static_cast<std::uint8_t>(random());
        }
        ASSERT_EQ(ConvertWith(GetParam(), block), ConvertWith(ConversionIsa::Plain, block));
    }
}

// Every channel and alpha value next to a boundary of the truncation or of translucency, in
// every lane.
TEST_P(BlockConversion, AgreesWithThePlainFormOnEdgeValues) {
    const std::vector<std::uint8_t> edges{0, 1, 7, 8, 9, 127, 128, 246, 247, 248, 254, 255};
    std::size_t lane = 0;
    Block block{};
    for (const std::uint8_t blue : edges) {
        for (const std::uint8_t green : edges) {
            for (const std::uint8_t red : edges) {
                for (const std::uint8_t alpha : edges) {
                    const std::array<std::uint8_t, 4> pixel{blue, green, red, alpha};
                    std::copy(pixel.begin(), pixel.end(), block.begin() + 4 * lane);
                    lane = (lane + 1) % kSize;
                    if (lane == 0) {
                        ASSERT_EQ(ConvertWith(GetParam(), block),
                                  ConvertWith(ConversionIsa::Plain, block));
                    }
                }
            }
        }
    }
}

TEST_P(BlockConversion, FillsLikeThePlainForm) {
    for (const Pixel555 pixel : {0x0000, 0x0001, 0x7C00, 0x7FFF, 0x1234}) {
        for (const std::uint8_t a : {0, 8, 128, 248}) {
            ASSERT_EQ(FillWith(GetParam(), pixel, a), FillWith(ConversionIsa::Plain, pixel, a));
        }
    }
}

// The two-block forms against two plain blocks, on random pixels and on every edge value in
// every lane of both halves.
TEST(WideBlockConversion, AgreesWithThePlainFormBlockByBlock) {
    if (FastestConversion() < ConversionIsa::Avx512) {
        GTEST_SKIP() << "this processor lacks the instruction set";
    }
    constexpr std::size_t kWide = Avx512Conversion::kWideSize;
    const std::vector<std::uint8_t> edges{0, 1, 7, 8, 9, 127, 128, 246, 247, 248, 254, 255};
    std::mt19937 random(9);
    for (int trial = 0; trial < 20000; ++trial) {
        std::array<std::uint8_t, kWide * 4> bgra;
        for (std::size_t i = 0; i < bgra.size(); ++i) {
            bgra[i] = trial % 2 ? static_cast<std::uint8_t>(random())
                                : edges[(i + static_cast<std::size_t>(trial)) % edges.size()];
        }
        std::array<Pixel555, kWide> pixels{};
        std::array<std::uint8_t, kWide> alpha{};
        const std::uint32_t translucent =
            Avx512Conversion::ConvertWide(bgra.data(), pixels.data(), alpha.data());
        std::array<Pixel555, kWide> plainPixels{};
        std::array<std::uint8_t, kWide> plainAlpha{};
        const std::uint32_t plainTranslucent =
            PlainConversion::Convert(bgra.data(), plainPixels.data(), plainAlpha.data()) |
            PlainConversion::Convert(bgra.data() + kBlockBytes, plainPixels.data() + kSize,
                                     plainAlpha.data() + kSize)
                << kSize;
        ASSERT_EQ(pixels, plainPixels);
        ASSERT_EQ(alpha, plainAlpha);
        ASSERT_EQ(translucent, plainTranslucent);
    }
    for (const Pixel555 pixel : {0x0000, 0x0001, 0x7C00, 0x7FFF, 0x1234}) {
        for (const std::uint8_t a : {0, 8, 128, 248}) {
            std::array<Pixel555, kWide> pixels{};
            std::array<std::uint8_t, kWide> alpha{};
            Avx512Conversion::FillWide(pixels.data(), pixel, alpha.data(), a);
            std::array<Pixel555, kWide> plainPixels{};
            std::array<std::uint8_t, kWide> plainAlpha{};
            PlainConversion::Fill(plainPixels.data(), pixel, plainAlpha.data(), a);
            PlainConversion::Fill(plainPixels.data() + kSize, pixel, plainAlpha.data() + kSize, a);
            ASSERT_EQ(pixels, plainPixels);
            ASSERT_EQ(alpha, plainAlpha);
        }
    }
}

std::string IsaName(const testing::TestParamInfo<ConversionIsa>& info) {
    switch (info.param) {
    case ConversionIsa::Avx512:
        return "Avx512";
    case ConversionIsa::Avx2:
        return "Avx2";
    case ConversionIsa::Sse2:
        return "Sse2";
    case ConversionIsa::Plain:
        break;
    }
    return "Plain";
}

INSTANTIATE_TEST_SUITE_P(EveryInstructionSet, BlockConversion,
                         testing::Values(ConversionIsa::Sse2, ConversionIsa::Avx2,
                                         ConversionIsa::Avx512),
                         IsaName);

#endif

} // namespace
} // namespace fenwold::blocks
