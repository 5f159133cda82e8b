// A Targa header may claim any size: the readers take no more memory than the file could fill.
#include "image/PictureReading.h"
#include "image/TgaReader.h"
#include "support/TgaBuilder.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 32-bit run-length header for width x height pixels, followed by `dataBytes` zero bytes.
Bytes Header(int width, int height, std::size_t dataBytes) {
    Bytes file = test::TgaBuilder(width, height, 32, true).bytes();
    file.resize(18 + dataBytes, 0);
    return file;
}

std::uint32_t ErrorOf(const Bytes& file) {
    const CTgaReader reader{std::span<const std::uint8_t>(file)};
    Picture555 picture;
    EXPECT_EQ(ReadPicture555(file, picture), reader.error());
    EXPECT_EQ(reader.HasAlpha(), reader.error() == tga::kNoError);
    return reader.error();
}

// Found by fuzzing: 18 bytes claiming 8191 x 8191 pixels had both readers allocate and fill
// some 500 MB of transparent black.
TEST(ShortTarga, AHeaderAloneCannotClaimAHugePicture) {
    EXPECT_EQ(ErrorOf(Header(8191, 8191, 0)), tga::kOutOfMemory);
}

// Up to 65536 pixels need no data; beyond that, every byte of data allows 32 more.
TEST(ShortTarga, SmallPicturesMayEndEarly) {
    EXPECT_EQ(ErrorOf(Header(256, 256, 0)), tga::kNoError);
    EXPECT_EQ(ErrorOf(Header(257, 256, 7)), tga::kOutOfMemory);
    EXPECT_EQ(ErrorOf(Header(257, 256, 8)), tga::kNoError);
}

} // namespace
} // namespace fenwold
