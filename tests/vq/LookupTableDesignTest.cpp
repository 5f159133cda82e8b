#include "vq/LookupTableDesign.h"

#include "vq/DistanceKernels.h"
#include "vq/Sampling.h"
#include "vq/VqEngine.h"
#include "vq/VqFixtures.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace fenwold {
namespace {

using test::MakeAnimation;
using test::NoisyFrame;
using test::SolidFrame;

std::vector<VqVector> RandomVectors(std::size_t count, int levels, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<VqVector> list(count);
    for (VqVector& vector : list) {
        for (std::uint8_t& byte : vector.block) {
            byte = static_cast<std::uint8_t>(random() % static_cast<unsigned>(levels));
        }
    }
    return list;
}

struct EngineRun {
    explicit EngineRun(bool sampling, bool noLbg, int threads = 1)
        : pool(threads), engine(progress, sampling, noLbg, flags, pool) {}
    test::RecordingProgress progress;
    RunFlags flags;
    WorkerPool pool;
    CVqEngine engine;
};

// Without LBG, and when sampling with fewer than five blocks, the table is the training list.
TEST(LookupTableDesign, NoLbgAndFewBlocksTakeTheTrainingListItself) {
    const std::vector<RegisteredAnimation> animations = {
        MakeAnimation(4, 2, {NoisyFrame(4, 2, 5)})};
    for (const bool noLbg : {true, false}) {
        EngineRun run(true, noLbg);
        run.engine.Run(RefsTo(animations));
        ASSERT_EQ(run.engine.LookupTableSize(), 2);
        const std::vector<VqVector>& vectors = run.engine.Training().vectors;
        EXPECT_EQ(vectors[1].index, 1u);
        for (std::size_t k = 0; k < 2; ++k) {
            EXPECT_TRUE(std::equal(vectors[k].block.begin(), vectors[k].block.end(),
                                   run.engine.LookupTable().begin() + 48 * k))
                << noLbg << k;
        }
    }
}

TEST(LookupTableDesign, SampledSizesFollowTheTrainingList) {
    const std::vector<VqVector> training = RandomVectors(100, 32, 1);
    test::RecordingProgress progress;
    EXPECT_EQ(SampleCount(100, 100), 20);
    const std::vector<VqVector> samples = DrawSamples(training, 100, 42, progress);
    ASSERT_EQ(samples.size(), 21u);
    EXPECT_EQ(samples[0].block, BlockVector{});
    EXPECT_EQ(progress.TextsOf(ProgressField::Sampling), (std::vector<std::string>{"1 / 20"}));

    const std::vector<RegisteredAnimation> animations = {MakeAnimation(
        20, 20, {NoisyFrame(20, 20, 1), NoisyFrame(20, 20, 2), NoisyFrame(20, 20, 3)})};
    EngineRun run(true, false);
    run.engine.SetLookupTableSize(500);
    run.engine.SetSeed(7);
    run.engine.Run(RefsTo(animations));
    ASSERT_EQ(run.engine.Training().vectors.size(), 100u);
    EXPECT_LE(run.engine.LookupTableSize(), 21);
    EXPECT_EQ(run.progress.TextsOf(ProgressField::SearchVectorIndex).back(), "100 / 100");
}

// Every vector, the first included, takes its nearest entry of the byte table.
TEST(LookupTableDesign, TheFirstVectorKeepsItsNearestEntry) {
    const std::vector<RegisteredAnimation> animations = {MakeAnimation(
        20, 20, {NoisyFrame(20, 20, 4), NoisyFrame(20, 20, 5), NoisyFrame(20, 20, 6)})};
    for (const bool sampling : {true, false}) {
        EngineRun run(sampling, false);
        run.engine.SetLookupTableSize(8);
        run.engine.SetSeed(3);
        run.engine.Run(RefsTo(animations));
        const auto& table = run.engine.LookupTable();
        const VqVector& first = run.engine.Training().vectors.front();
        long best = -1;
        std::uint32_t nearest = 0;
        for (int entry = 0; entry < run.engine.LookupTableSize(); ++entry) {
            long distance = 0;
            for (int b = 0; b < 48; ++b) {
                const long d = long{first.block[b]} - table[entry * 48 + b];
                distance += d * d;
            }
            if (best < 0 || distance < best) {
                best = distance;
                nearest = static_cast<std::uint32_t>(entry);
            }
        }
        EXPECT_EQ(first.index, nearest) << (sampling ? "sampled" : "plain");
        if (sampling) {
            EXPECT_NE(first.index, 0u) << "entry 0 is the leading all-zero sample";
        }
    }
}

TEST(LookupTableDesign, FewerDistinctVectorsThanWantedCutTheTable) {
    std::vector<VqVector> list = RandomVectors(3, 32, 3);
    list.push_back(list[1]);
    list.push_back(list[0]);
    EngineRun run(false, false);
    DesignContext context{run.pool, run.progress, run.flags};
    const DesignedTable table = DesignLookupTable(list, 10, kFineThreshold, 2, context);
    ASSERT_EQ(table.entryCount, 3);
    EXPECT_EQ(table.assignment, (std::vector<std::uint32_t>{0, 1, 2, 1, 0}));
    EXPECT_TRUE(std::equal(list[2].block.begin(), list[2].block.end(), table.entries.begin() + 96));
}

TEST(LookupTableDesign, OnePassMovesEntriesToTheirMeansUnlessStopped) {
    std::vector<VqVector> list(4);
    list[1].block.fill(2);
    list[2].block.fill(10);
    list[3].block.fill(20);
    EngineRun run(false, false);
    DesignContext context{run.pool, run.progress, run.flags};
    const DesignedTable table = DesignLookupTable(list, 2, kFineThreshold, 2, context);
    // Entries start at vectors 0 and 1; 10 and 20 join the second, which moves to 32 / 3 and
    // so leaves 2 to the first.
    EXPECT_EQ(table.assignment, (std::vector<std::uint32_t>{0, 0, 1, 1}));
    EXPECT_EQ(table.entries[0], 0);
    EXPECT_EQ(table.entries[48], 11);
    EXPECT_EQ(run.progress.TextsOf(ProgressField::Loop), (std::vector<std::string>{"0", "1"}));
    // Told to stop, the design keeps its starting table.
    EngineRun stopped(false, false);
    stopped.flags.lbgStop = true;
    DesignContext stoppedContext{stopped.pool, stopped.progress, stopped.flags};
    EXPECT_EQ(DesignLookupTable(list, 2, kFineThreshold, 2, stoppedContext).entries[48], 2);
    EXPECT_EQ(stopped.progress.TextsOf(ProgressField::Loop), (std::vector<std::string>{"0"}));
}

// Ten clusters of 100 vectors (the last 109): a centre, then pairs one or two steps to either
// side of it in one byte, so that each cluster's mean is its centre. The first level (ten
// entries) settles on the centres in its one pass; the second level starts from all 1000
// distinct vectors, its error is 0 from the first pass on, and no pass gains.
std::vector<VqVector> SettledClusters() {
    std::vector<VqVector> list(10);
    for (int c = 0; c < 10; ++c) {
        list[static_cast<std::size_t>(c)].block.fill(static_cast<std::uint8_t>(3 + 6 * c));
    }
    for (int c = 0; c < 10; ++c) {
        for (int p = 0; p < (c == 9 ? 54 : 49); ++p) {
            for (const int sign : {1, -1}) {
                VqVector& v = list.emplace_back(list[static_cast<std::size_t>(c)]);
                v.block[static_cast<std::size_t>(p % 48)] +=
                    static_cast<std::uint8_t>(sign * (1 + p / 48));
            }
        }
    }
    return list;
}

// Without gain the two-level loop runs exactly `patience` passes after its first assignment.
TEST(LookupTableDesign, TwoLevelLoopStopsAfterExactlyPatiencePassesWithoutGain) {
    const std::vector<VqVector> list = SettledClusters();
    ASSERT_EQ(list.size(), 1000u);
    for (const int patience : {1, 2, 3}) {
        EngineRun run(false, false);
        DesignContext context{run.pool, run.progress, run.flags};
        const DesignedTable table =
            DesignLookupTable(list, 1000, kFineThreshold, patience, context);
        ASSERT_EQ(table.entryCount, 1000);
        std::vector<std::string> expected{"0", "1", "0"}; // first level, then the second
        for (int pass = 1; pass <= patience; ++pass) {
            expected.push_back(std::to_string(pass));
        }
        EXPECT_EQ(run.progress.TextsOf(ProgressField::Loop), expected) << patience;
        for (std::size_t i = 0; i < list.size(); ++i) {
            ASSERT_TRUE(std::equal(list[i].block.begin(), list[i].block.end(),
                                   table.entries.begin() +
                                       static_cast<std::ptrdiff_t>(table.assignment[i] * 48)));
        }
    }
}

// The table keeps each entry's channels in the order blue, green, red, as its vectors have
// them, through the design's own red-green-blue working form.
TEST(LookupTableDesign, EntriesKeepTheirChannelOrder) {
    const auto solid = [](std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
        VqVector v;
        for (std::size_t e = 0; e < 16; ++e) {
            v.block[3 * e] = blue;
            v.block[3 * e + 1] = green;
            v.block[3 * e + 2] = red;
        }
        return v;
    };
    const std::vector<VqVector> list{solid(0, 0, 31), solid(31, 0, 0), solid(0, 2, 29),
                                     solid(29, 2, 0)};
    EngineRun run(false, false);
    DesignContext context{run.pool, run.progress, run.flags};
    const DesignedTable table = DesignLookupTable(list, 2, kFineThreshold, 2, context);
    // Red joins red, blue joins blue; each entry is the mean of its two.
    EXPECT_EQ(table.assignment, (std::vector<std::uint32_t>{0, 1, 0, 1}));
    const std::vector<std::uint8_t> red(table.entries.begin(), table.entries.begin() + 3);
    const std::vector<std::uint8_t> blue(table.entries.begin() + 48, table.entries.begin() + 51);
    EXPECT_EQ(red, (std::vector<std::uint8_t>{0, 1, 30}));
    EXPECT_EQ(blue, (std::vector<std::uint8_t>{30, 1, 0}));
}

TEST(DistanceKernels, FastAndPortableSearchesAgree) {
    const std::vector<VqVector> entries = RandomVectors(150, 32, 11);
    const std::vector<VqVector> queries = RandomVectors(200, 32, 12);
    std::vector<std::uint8_t> bytes;
    std::vector<float> floats(entries.size() * 48);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        bytes.insert(bytes.end(), entries[k].block.begin(), entries[k].block.end());
        ToFloatForm(entries[k].block, &floats[k * 48]);
        floats[k * 48] += 0.25f; // not a byte value
    }
    const ByteEntrySearch fast(bytes, 150), avx2(bytes, 150, KernelSet::Avx2),
        portable(bytes, 150, KernelSet::Portable);
    FloatEntrySearch fastFloat, portableFloat(KernelSet::Portable);
    fastFloat.LoadAll(floats, 150);
    portableFloat.LoadAll(floats, 150);
    std::vector<std::uint16_t> scratch(fast.ScratchSize());
    std::vector<float> a(fastFloat.ScratchSize()), b(a.size());
    for (const VqVector& query : queries) {
        int best = 0, bestSum = 1 << 30;
        for (int k = 0; k < 150; ++k) {
            int sum = 0;
            for (int j = 0; j < 48; ++j) {
                const int d = query.block[j] - entries[static_cast<std::size_t>(k)].block[j];
                sum += d * d;
            }
            if (sum < bestSum) {
                best = k;
                bestSum = sum;
            }
        }
        EXPECT_EQ(fast.Nearest(query.block, scratch.data()), best);
        EXPECT_EQ(avx2.Nearest(query.block, scratch.data()), best);
        EXPECT_EQ(portable.Nearest(query.block, scratch.data()), best);
        float q[48];
        ToFloatForm(query.block, q);
        fastFloat.Distances(q, a.data());
        portableFloat.Distances(q, b.data());
        EXPECT_EQ(0, std::memcmp(a.data(), b.data(), 150 * sizeof(float)));
        float distance = 0.0f, portableDistance = 0.0f;
        EXPECT_EQ(fastFloat.Nearest(q, a.data(), distance),
                  portableFloat.Nearest(q, b.data(), portableDistance));
    }
}

} // namespace
} // namespace fenwold
