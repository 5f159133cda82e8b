#include "unit/AnimatedPreview.h"

#include "cli/WebpAnimation.h"
#include "unit/CompressedAnimations.h"
#include "unit/PlayTimeline.h"
#include "vq/CompressionRun.h"
#include "vq/VqFixtures.h"

#include <gtest/gtest.h>
#include <webp/decode.h>
#include <webp/demux.h>

namespace fenwold {
namespace {

using test::MakeAnimation;
using test::SolidFrame;

TEST(PlayTimeline, EntriesLastTheirDelayInSixteenMillisecondSteps) {
    UnitAnimation animation;
    animation.alphaTables.resize(3);
    animation.sequenceLength = 4;
    animation.frameNumber = {2, 0, 1, 3};
    animation.delay = {4, 0, 2, 0x8000};
    animation.alphaValue = {255, 16, 128, 7};
    animation.tempBuffer[0] = 1;
    const PlayTimeline timeline = SequenceTimeline(animation);
    ASSERT_EQ(timeline.entries.size(), 4u);
    EXPECT_EQ(timeline.loopStart, 1);
    std::vector<int> milliseconds;
    for (const auto& entry : timeline.entries) {
        milliseconds.push_back(entry.milliseconds);
    }
    // A delay read as a negative signed value lasts one step.
    EXPECT_EQ(milliseconds, (std::vector{64, 16, 32, 16}));
    EXPECT_EQ(timeline.entries[0].frame, 2);
    EXPECT_EQ(timeline.entries[1].alphaValue, 16);
    // Frame 3 of a three-frame animation is no frame.
    EXPECT_EQ(timeline.entries[3].frame, -1);

    animation.tempBuffer[0] = 4; // past the end
    EXPECT_EQ(SequenceTimeline(animation).loopStart, 0);
    animation.tempBuffer[0] = -1;
    EXPECT_EQ(SequenceTimeline(animation).loopStart, 0);
    animation.sequenceLength = 300;
    EXPECT_EQ(SequenceTimeline(animation).entries.size(), 200u);
}

// A team-coloured animation of three 4 x 2 frames: red, green and blue, each with one team pixel
// and one transparent pixel; its sequence shows frames 0, 1, 2 with delays 4, 1, 2 and alpha
// 255, 255, 128, looping from entry 1.
struct Unit {
    UnitAnimation animation;
    Codebook codebook;
};

Unit ThreeFrameUnit() {
    std::vector<test::TinyFrame> frames;
    for (const Pixel555 colour : {Pixel555(0x7C00), Pixel555(0x03E0), Pixel555(0x001F)}) {
        test::TinyFrame frame = SolidFrame(4, 2, colour);
        frame.alpha[1] = 0;
        frame.mask.assign(8, 0);
        frame.mask[6] = 1;
        frames.push_back(frame);
    }
    const RegisteredAnimation registered = MakeAnimation(4, 2, frames);
    CompressionParameters noLbg;
    noLbg.noLbg = true;
    test::RecordingProgress progress;
    CompressionResult result = CompressAnimations({&registered}, noLbg, 1, progress);
    Unit unit{MakeCompressedAnimations(std::move(result.animations)).front(),
              CodebookFromLookupTable(result.entryCount, result.lookupTable)};
    unit.animation.sequenceLength = 3;
    unit.animation.frameNumber[0] = 0;
    unit.animation.frameNumber[1] = 1;
    unit.animation.frameNumber[2] = 2;
    unit.animation.delay[0] = 4;
    unit.animation.delay[1] = 1;
    unit.animation.delay[2] = 2;
    unit.animation.alphaValue[2] = 128;
    unit.animation.tempBuffer[0] = 1;
    return unit;
}

TEST(AnimatedPreview, PlaysTheSequenceRepeatsTheLoopedEntriesAndEncodesAsWebp) {
    const Unit unit = ThreeFrameUnit();
    const std::vector<Pixel555> team(32, 0x7FE0); // yellow
    const std::vector<TimedPicture> once =
        AnimatedPreview(unit.animation, unit.codebook, team.data(), 1);
    ASSERT_EQ(once.size(), 3u);
    const std::vector<TimedPicture> twice =
        AnimatedPreview(unit.animation, unit.codebook, team.data(), 2);
    ASSERT_EQ(twice.size(), 5u);
    const int expected[] = {64, 16, 32, 16, 32};
    for (std::size_t i = 0; i < twice.size(); ++i) {
        EXPECT_EQ(twice[i].milliseconds, expected[i]);
    }
    EXPECT_EQ(twice[3].picture.bytes, once[1].picture.bytes);
    // Red, opaque; the transparent pixel; the team pixel in yellow.
    const std::vector<std::uint8_t>& red = once[0].picture.bytes;
    EXPECT_EQ(std::vector<std::uint8_t>(red.begin(), red.begin() + 8),
              (std::vector<std::uint8_t>{255, 0, 0, 255, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(red.begin() + 24, red.begin() + 28),
              (std::vector<std::uint8_t>{255, 255, 0, 255}));
    EXPECT_EQ(once[2].picture.bytes[3], 135); // blue at alpha value 128

    // Looping from the first entry, the sequence is one pass whatever is asked.
    UnitAnimation fromStart = unit.animation;
    fromStart.tempBuffer[0] = 0;
    EXPECT_EQ(AnimatedPreview(fromStart, unit.codebook, nullptr, 3).size(), 3u);
    // The WebP file decodes to the sequence played twice.
    const std::vector<TimedPicture> pictures =
        AnimatedPreview(unit.animation, unit.codebook, nullptr, 2);
    const std::vector<std::uint8_t> file = cli::EncodeAnimatedWebp(pictures, 4, 2, "walk.webp");

    const WebPData data{file.data(), file.size()};
    WebPDemuxer* demuxer = WebPDemux(&data);
    ASSERT_NE(demuxer, nullptr);
    EXPECT_EQ(WebPDemuxGetI(demuxer, WEBP_FF_CANVAS_WIDTH), 4u);
    EXPECT_EQ(WebPDemuxGetI(demuxer, WEBP_FF_CANVAS_HEIGHT), 2u);
    EXPECT_EQ(WebPDemuxGetI(demuxer, WEBP_FF_LOOP_COUNT), 0u);
    EXPECT_NE(WebPDemuxGetI(demuxer, WEBP_FF_FORMAT_FLAGS) & ANIMATION_FLAG, 0u);
    ASSERT_EQ(WebPDemuxGetI(demuxer, WEBP_FF_FRAME_COUNT), 5u);
    WebPIterator frame;
    std::vector<int> durations;
    ASSERT_TRUE(WebPDemuxGetFrame(demuxer, 1, &frame));
    int width = 0, height = 0;
    std::uint8_t* rgba = WebPDecodeRGBA(frame.fragment.bytes, frame.fragment.size, &width, &height);
    ASSERT_NE(rgba, nullptr);
    ASSERT_EQ(width, 4);
    // Lossless: the first picture comes back as it went in.
    EXPECT_EQ(std::vector<std::uint8_t>(rgba, rgba + 32), pictures[0].picture.bytes);
    WebPFree(rgba);
    do {
        durations.push_back(frame.duration);
    } while (WebPDemuxNextFrame(&frame));
    WebPDemuxReleaseIterator(&frame);
    WebPDemuxDelete(demuxer);
    EXPECT_EQ(durations, (std::vector<int>{64, 16, 32, 16, 32}));
}

} // namespace
} // namespace fenwold
