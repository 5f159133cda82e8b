// A run-length unit file may describe frames wider than the registered frame streams can hold.
#include "image/FrameStreams.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "unit/RunLengthUnitFile.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

// One animation of one frame, `width` x 1 pixels, all transparent: spans of 126 pixels, as the
// writer makes them.
std::vector<std::uint8_t> OneRowFile(int width) {
    std::vector<std::uint16_t> row{0};
    for (int x = 0; x < width; x += 126) {
        row.push_back(static_cast<std::uint16_t>(0x8000 | std::min(126, width - x) << 8));
        row.push_back(0);
    }
    row.push_back(0xFFFF);
    row[0] = static_cast<std::uint16_t>(row.size());
    BinaryWriter out;
    out.magic(kRunLengthUnitMagic);
    out.i32(1); // version
    out.i32(1); // animations
    out.i32(1); // frames
    out.i32(0); // sequence length
    out.u16(static_cast<std::uint16_t>(width));
    out.u16(1);
    out.zeros(8 + 40 + 40);                // check box, points, temp buffer
    out.u32(0);                            // size word
    for (int part = 0; part < 2; ++part) { // Pixel555, then Pixel565
        out.u32(static_cast<std::uint32_t>(row.size()));
        out.u32(0); // the frame's offset
        out.write(row);
    }
    return out.take();
}

// Found by fuzzing: the frame decoded, then turning it into a frame stream threw
// std::length_error, which no caller expects from a file.
TEST(WideRunLengthFrame, AFrameWiderThanAStreamRowIsRefused) {
    const auto file = OneRowFile(kMaxStreamWidth + 1);
    try {
        ReadRunLengthUnitFile("wide.URE", file);
        FAIL() << "the file was taken";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("16383 pixels wide"), std::string::npos)
            << error.what();
    }
    const auto widest = ReadRunLengthUnitFile("widest.URE", OneRowFile(kMaxStreamWidth));
    ASSERT_EQ(widest.size(), 1u);
    EXPECT_EQ(widest.front().frames.at(0).width, kMaxStreamWidth);
}

} // namespace
} // namespace fenwold
