#include "vq/Refinement.h"

#include "vq/CompressionRun.h"
#include "vq/VqEngine.h"
#include "vq/VqFixtures.h"
#include "vq/Weights.h"

#include <gtest/gtest.h>
#include <random>

namespace fenwold {
namespace {

// Vectors whose bytes cluster around a few centres, so that a table has something to find.
std::vector<VqVector> ClusteredVectors(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<VqVector> list(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int centre = static_cast<int>(random() % 6) * 5;
        for (std::uint8_t& byte : list[i].block) {
            byte = static_cast<std::uint8_t>(centre + static_cast<int>(random() % 4));
        }
    }
    return list;
}

struct Design {
    explicit Design(int threads) : pool(threads), context{pool, progress, flags} {}
    test::RecordingProgress progress;
    RunFlags flags;
    WorkerPool pool;
    DesignContext context;
};

// A table of the first `count` vectors, every vector assigned to entry i mod count: a poor
// start that the passes must improve.
std::vector<std::uint8_t> PoorStart(std::vector<VqVector>& vectors, int count) {
    std::vector<std::uint8_t> table;
    for (int k = 0; k < count; ++k) {
        table.insert(table.end(), vectors[static_cast<std::size_t>(k)].block.begin(),
                     vectors[static_cast<std::size_t>(k)].block.end());
    }
    for (std::size_t i = 0; i < vectors.size(); ++i) {
        vectors[i].index = static_cast<std::uint32_t>(i % static_cast<std::size_t>(count));
    }
    return table;
}

TEST(Refinement, NoPassRaisesTheWeightedError) {
    std::vector<VqVector> vectors = ClusteredVectors(600, 7);
    ApplyWeights(vectors, kMaxBrightness);
    std::vector<std::uint8_t> table = PoorStart(vectors, 12);
    Design design(2);
    const double start = WeightedSquaredError(vectors, table);
    double error = start;
    for (int pass = 0; pass < 4; ++pass) {
        const RefinementReport report = RefineLookupTable(vectors, table, 12, 1, design.context);
        EXPECT_DOUBLE_EQ(report.errorBefore, error);
        EXPECT_LE(report.errorAfter, report.errorBefore);
        EXPECT_DOUBLE_EQ(report.errorAfter, WeightedSquaredError(vectors, table));
        error = report.errorAfter;
    }
    EXPECT_LT(error, 0.5 * start);
    EXPECT_EQ(design.progress.TextsOf(ProgressField::Loop).front(), "1");
}

TEST(Refinement, EntriesMoveToTheRoundedWeightedMeanAndEmptyEntriesStay) {
    std::vector<VqVector> vectors(2);
    vectors[0].block.fill(0);
    vectors[0].weight = 1.0f;
    vectors[1].block.fill(9); // (0 + 3 * 9) / 4 = 6.75 rounds to 7
    vectors[1].weight = 3.0f;
    vectors[1].block[5] = 31; // (0 + 3 * 31) / 4 = 23.25 rounds to 23
    std::vector<std::uint8_t> table(3 * kBlockBytes, 0);
    std::fill(table.begin() + kBlockBytes, table.begin() + 2 * kBlockBytes, 30);
    std::fill(table.begin() + 2 * kBlockBytes, table.end(), 17);
    vectors[0].index = 1;
    vectors[1].index = 1;
    Design design(1);
    const RefinementReport report = RefineLookupTable(vectors, table, 3, 1, design.context);
    EXPECT_EQ(report.passes, 1);
    EXPECT_EQ(table[kBlockBytes + 0], 7);
    EXPECT_EQ(table[kBlockBytes + 5], 23);
    // Entry 0 had no vectors and keeps its value, yet the nearest search then moves the black
    // vector to it; entry 2 keeps its value too.
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[2 * kBlockBytes], 17);
    EXPECT_EQ(vectors[0].index, 0u);
    EXPECT_EQ(vectors[1].index, 1u);
}

TEST(Refinement, StopsWhenNothingMovesAndObeysTheStopAndCancel) {
    std::vector<VqVector> vectors = ClusteredVectors(300, 3);
    std::vector<std::uint8_t> table = PoorStart(vectors, 6);
    {
        Design design(1);
        const RefinementReport report = RefineLookupTable(vectors, table, 6, 50, design.context);
        EXPECT_LT(report.passes, 50);
        const std::vector<std::uint8_t> settled = table;
        EXPECT_EQ(RefineLookupTable(vectors, table, 6, 5, design.context).passes, 1);
        EXPECT_EQ(table, settled);
    }
    {
        Design design(1);
        design.flags.lbgStop = true;
        std::vector<std::uint8_t> kept = PoorStart(vectors, 6);
        const std::vector<std::uint8_t> start = kept;
        EXPECT_EQ(RefineLookupTable(vectors, kept, 6, 5, design.context).passes, 0);
        EXPECT_EQ(kept, start);
    }
    {
        Design design(1);
        design.flags.cancel = true;
        std::vector<std::uint8_t> cancelled = PoorStart(vectors, 6);
        EXPECT_THROW(RefineLookupTable(vectors, cancelled, 6, 5, design.context), RunCancelled);
    }
}

struct EngineResult {
    std::vector<std::uint8_t> table;
    std::vector<std::uint32_t> indices;
    RefinementReport refinement;
};

EngineResult RunEngine(const std::vector<RegisteredAnimation>& animations, bool sampling,
                       bool noLbg, int passes, int threads) {
    test::RecordingProgress progress;
    RunFlags flags;
    WorkerPool pool(threads);
    CVqEngine engine(progress, sampling, noLbg, flags, pool);
    engine.SetLookupTableSize(30);
    engine.SetSeed(9);
    engine.SetRefinePasses(passes);
    engine.Run(RefsTo(animations));
    EngineResult result{engine.LookupTable(), {}, engine.Refinement()};
    for (const VqVector& vector : engine.Training().vectors) {
        result.indices.push_back(vector.index);
    }
    return result;
}

TEST(Refinement, TheEngineRefinesItsDesignedTableButNeverAKeptOne) {
    const std::vector<RegisteredAnimation> animations = test::NoisyUnit();
    for (const bool sampling : {true, false}) {
        const EngineResult plain = RunEngine(animations, sampling, false, 0, 2);
        const EngineResult refined = RunEngine(animations, sampling, false, 4, 2);
        EXPECT_EQ(plain.refinement.passes, 0);
        EXPECT_GT(refined.refinement.passes, 0);
        EXPECT_LT(refined.refinement.errorAfter, refined.refinement.errorBefore);
        EXPECT_NE(refined.table, plain.table);
        EXPECT_EQ(refined.table.size(), plain.table.size());
    }
    // Tables kept without LBG are never refined.
    const EngineResult kept = RunEngine(animations, true, true, 0, 1);
    const EngineResult notRefined = RunEngine(animations, true, true, 3, 1);
    EXPECT_EQ(kept.table, notRefined.table);
    EXPECT_EQ(kept.indices, notRefined.indices);
    EXPECT_EQ(notRefined.refinement.passes, 0);
}

} // namespace
} // namespace fenwold
