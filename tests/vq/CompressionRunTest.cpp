#include "vq/CompressionRun.h"

#include "platform/ScriptedPlatform.h"
#include "vq/TableValidation.h"
#include "vq/VqEngine.h"
#include "vq/VqFixtures.h"

#include <future>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

using test::MakeAnimation;
using test::SolidFrame;

CompressionResult Compress(const std::vector<RegisteredAnimation>& animations,
                           CompressionParameters parameters) {
    test::RecordingProgress progress;
    CompressionRun run(RefsTo(animations), parameters, 3, progress);
    test::StoringSink sink;
    ScriptedPlatform platform;
    Platform services = platform.Get();
    while (run.Status() == RunStatus::Running) {
        std::this_thread::yield();
    }
    EXPECT_EQ(run.Finish(sink, services), RunStatus::Finished);
    EXPECT_EQ(platform.sound.played, std::vector<int>{kCompressionDoneSound});
    return sink.results.empty() ? CompressionResult{} : std::move(sink.results[0]);
}

// The lookup table and every index and alpha table of a result, in order.
std::vector<std::vector<std::uint8_t>> Tables(const CompressionResult& result) {
    std::vector<std::vector<std::uint8_t>> tables{result.lookupTable};
    for (const EncodedAnimation& animation : result.animations) {
        tables.insert(tables.end(), animation.indexTables.begin(), animation.indexTables.end());
        for (const EncodedAlphaTable& alpha : animation.alphaTables) {
            tables.push_back(alpha.bytes);
        }
    }
    return tables;
}

// Sampled or not, with refinement passes, one thread or two give the same result.
TEST(CompressionRun, ResultsDoNotDependOnTheThreadCount) {
    const std::vector<RegisteredAnimation> animations = test::NoisyUnit();
    for (bool sampling : {true, false}) {
        CompressionParameters parameters;
        parameters.lookupTableSize = 40;
        parameters.sampling = sampling;
        parameters.refinePasses = 4;
        parameters.threads = 1;
        const CompressionResult one = Compress(animations, parameters);
        parameters.threads = 2;
        const CompressionResult two = Compress(animations, parameters);
        EXPECT_EQ(one.entryCount, 40);
        EXPECT_EQ(Tables(one), Tables(two));
        EXPECT_TRUE(CompressionResultFits(one));
        ASSERT_EQ(one.animations.size(), 3u);
        EXPECT_EQ(one.animations[1].indexTables.size(), 2u);
        EXPECT_EQ(one.animations[1].alphaTables.size(), 6u);
    }
}

// Blocks until the test has pressed Cancel, on the first progress call.
class CancellingProgress final : public CompressionProgress {
public:
    void ShowText(ProgressField, std::string_view) override { Wait(); }
    void ShowBar(ProgressBar, int) override { Wait(); }
    void Wait() {
        if (!waited_) {
            waited_ = true;
            pressed.get_future().wait();
        }
    }
    std::promise<void> pressed;

private:
    bool waited_ = false;
};

TEST(CompressionRun, CancelLeavesTheDocumentUntouched) {
    const std::vector<RegisteredAnimation> animations = test::NoisyUnit();
    CancellingProgress progress;
    CompressionRun run(RefsTo(animations), CompressionParameters{}, 1, progress);
    run.Cancel();
    progress.pressed.set_value();
    while (run.Status() == RunStatus::Running) {
        std::this_thread::yield();
    }
    test::StoringSink sink;
    ScriptedPlatform platform;
    Platform services = platform.Get();
    EXPECT_EQ(run.Finish(sink, services), RunStatus::Cancelled);
    EXPECT_TRUE(sink.results.empty());
    EXPECT_TRUE(platform.sound.played.empty());
    EXPECT_TRUE(platform.prompts.messages.empty());
}

// Sixteen-bit indices number at most 65534 entries (0xFFFE marks a block not found).
TEST(CompressionRun, SizesBeyondSixteenBitIndicesAreRefused) {
    for (const int size : {1, 65534}) {
        CompressionParameters accepted;
        accepted.lookupTableSize = size;
        EXPECT_TRUE(RefuseParameters(accepted).empty()) << size;
    }
    ScriptedPlatform platform;
    Platform services = platform.Get();
    test::RecordingProgress progress;
    CompressionParameters parameters;
    parameters.lookupTableSize = 0;
    EXPECT_EQ(RefuseParameters(parameters), kLookupTableSizeRefused);
    parameters.lookupTableSize = 65535;
    EXPECT_EQ(StartCompression({}, parameters, progress, services), nullptr);
    ASSERT_EQ(platform.prompts.messages.size(), 1u);
    EXPECT_EQ(platform.prompts.messages[0].text, kLookupTableSizeRefused);

    // Without LBG every visible block is an entry: 434 x 151 blocks can be, 255 x 257 cannot.
    const std::vector<RegisteredAnimation> atTheLimit = {
        MakeAnimation(868, 302, {SolidFrame(868, 302, 0x7C1F)})};
    parameters.noLbg = true;
    parameters.seed = 1;
    EXPECT_EQ(CompressAnimations(RefsTo(atTheLimit), parameters, 1, progress).entryCount, 65534);
    const std::vector<RegisteredAnimation> animations = {
        MakeAnimation(510, 514, {SolidFrame(510, 514, 0x7C1F)})};
    auto run = StartCompression(RefsTo(animations), parameters, progress, services);
    ASSERT_NE(run, nullptr);
    while (run->Status() == RunStatus::Running) {
        std::this_thread::yield();
    }
    test::StoringSink sink;
    EXPECT_EQ(run->Finish(sink, services), RunStatus::Cancelled);
    EXPECT_TRUE(sink.results.empty());
    ASSERT_EQ(platform.prompts.messages.size(), 2u);
    EXPECT_EQ(platform.prompts.messages[1].text, kNoLbgTooManyBlocks);
}

TEST(TableValidation, RejectsTablesThatDoNotFit) {
    using Bytes = std::vector<std::uint8_t>;
    const Bytes index = {0x03, 0x81, 2, 0, 0x00}; // rows: a run of entry 2, then empty
    EXPECT_TRUE(IndexTableFits(index, 4, 1, 3));
    EXPECT_FALSE(IndexTableFits(index, 4, 1, 2)); // entry 2 of 2
    EXPECT_FALSE(IndexTableFits(index, 5, 1, 3)); // a third row is missing
    EXPECT_FALSE(IndexTableFits(index, 3, 0, 3)); // 8-pixel entries read a row per pixel row
    EXPECT_FALSE(IndexTableFits(Bytes{0x03, 0x02, 1, 0}, 1, 1, 3)); // literal past its row
    EXPECT_TRUE(AlphaTableFits(Bytes{0x02, 0x01, 9}, 1, 0));
    EXPECT_FALSE(AlphaTableFits(Bytes{0x02, 0x02, 9}, 1, 0));
    EXPECT_TRUE(AlphaTableFits(Bytes{0x02, 0xC2, 0x01}, 1, 1));
    EXPECT_FALSE(AlphaTableFits(Bytes{0xFF, 0x01}, 1, 1));
}

} // namespace
} // namespace fenwold
