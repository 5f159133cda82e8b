#include "SpriteUnit.h"
#include "VqBaseline.h"
#include "vq/CompressionRun.h"
#include "vq/DistanceKernels.h"
#include "vq/DrawCompressedFrame.h"
#include "vq/Quality.h"
#include "vq/RowEncoding.h"
#include "vq/TrainingBlocks.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace fenwold {
namespace {

class QuietProgress final : public CompressionProgress {
public:
    void ShowText(ProgressField, std::string_view) override {}
    void ShowBar(ProgressBar, int) override {}
};

const std::vector<RegisteredAnimation>& Unit() {
    static const std::vector<RegisteredAnimation> unit = bench::MakeSpriteUnit();
    return unit;
}

const std::vector<VqVector>& TrainingVectors() {
    static const std::vector<VqVector> vectors = [] {
        WorkerPool pool(1);
        QuietProgress progress;
        RunFlags flags;
        return CollectTrainingBlocks(RefsTo(Unit()), pool, progress, flags).vectors;
    }();
    return vectors;
}

// A table of k training vectors spread over the list.
std::vector<std::uint8_t> SomeTable(int k) {
    const std::vector<VqVector>& vectors = TrainingVectors();
    std::vector<std::uint8_t> table;
    for (int i = 0; i < k; ++i) {
        const BlockVector& block =
            vectors[static_cast<std::size_t>(i) * vectors.size() / static_cast<std::size_t>(k)]
                .block;
        table.insert(table.end(), block.begin(), block.end());
    }
    return table;
}

// Full assignment against 4096 byte entries on one core: items are block-entry distances.
void BM_FullAssignmentEngine(benchmark::State& state) {
    const int k = 4096;
    const std::vector<std::uint8_t> table = SomeTable(k);
    const ByteEntrySearch search(table, k);
    std::vector<std::uint16_t> scratch(search.ScratchSize());
    const std::vector<VqVector>& vectors = TrainingVectors();
    const std::size_t count = std::min<std::size_t>(vectors.size(), 20000);
    for (auto _ : state) {
        int sum = 0;
        for (std::size_t i = 0; i < count; ++i) {
            sum += search.Nearest(vectors[i].block, scratch.data());
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count) * k);
}
BENCHMARK(BM_FullAssignmentEngine)->Unit(benchmark::kMillisecond);

void BM_FullAssignmentBaseline(benchmark::State& state) {
    const int k = 4096;
    const std::vector<std::uint8_t> table = SomeTable(k);
    const std::vector<VqVector>& vectors = TrainingVectors();
    const std::size_t count = std::min<std::size_t>(vectors.size(), 2000);
    for (auto _ : state) {
        int sum = 0;
        for (std::size_t i = 0; i < count; ++i) {
            sum += bench::BaselineNearestByte(vectors[i].block.data(), table, k);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count) * k);
}
BENCHMARK(BM_FullAssignmentBaseline)->Unit(benchmark::kMillisecond);

CompressionResult EngineCompress(int size, bool sampling, int threads, int refinePasses = 0) {
    CompressionParameters parameters;
    parameters.lookupTableSize = size;
    parameters.sampling = sampling;
    parameters.threads = threads;
    parameters.refinePasses = refinePasses;
    QuietProgress progress;
    return CompressAnimations(RefsTo(Unit()), parameters, 1, progress);
}

bool Same(const CompressionResult& a, const CompressionResult& b) {
    if (a.entryCount != b.entryCount || a.lookupTable != b.lookupTable ||
        a.animations.size() != b.animations.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.animations.size(); ++i) {
        if (a.animations[i].indexTables != b.animations[i].indexTables ||
            a.animations[i].alphaTables.size() != b.animations[i].alphaTables.size()) {
            return false;
        }
        for (std::size_t f = 0; f < a.animations[i].alphaTables.size(); ++f) {
            if (a.animations[i].alphaTables[f].bytes != b.animations[i].alphaTables[f].bytes) {
                return false;
            }
        }
    }
    return true;
}

// Whole compressions of the sprite unit: the engine on two threads against the single-threaded
// baseline, whose output it must equal byte for byte.
void BM_CompressEngine(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const bool sampling = state.range(1) != 0;
    Unit(); // made before the clock runs
    CompressionResult result;
    for (auto _ : state) {
        result = EngineCompress(size, sampling, 2);
    }
    const CompressionResult baseline = bench::BaselineCompress(Unit(), {size, sampling, 2, 1});
    if (!Same(result, baseline)) {
        state.SkipWithError("engine and baseline differ");
    }
    state.counters["entries"] = result.entryCount;
    state.counters["blocks"] = static_cast<double>(TrainingVectors().size());
}
BENCHMARK(BM_CompressEngine)
    ->Args({500, 1})
    ->Args({500, 0})
    ->Args({4096, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// The same unit refined by weighted Lloyd passes after the default design (sampling, weight
// mode 2, two threads); the counters give the PSNR against the registered frames, pooled over
// the unit, and what the default design reaches.
void BM_CompressRefined(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const int passes = static_cast<int>(state.range(1));
    Unit();
    CompressionResult result;
    for (auto _ : state) {
        result = EngineCompress(size, true, 2, passes);
    }
    const AnimationRefs refs = RefsTo(Unit());
    state.counters["entries"] = result.entryCount;
    state.counters["psnr_dB"] = MeasureCompression(refs, result).Pooled().Psnr();
    state.counters["default_psnr_dB"] =
        MeasureCompression(refs, EngineCompress(size, true, 2)).Pooled().Psnr();
}
BENCHMARK(BM_CompressRefined)
    ->Args({256, 3})
    ->Args({500, 1})
    ->Args({500, 3})
    ->Args({1024, 3})
    ->Args({4096, 3})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void BM_CompressBaseline(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const bool sampling = state.range(1) != 0;
    Unit();
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench::BaselineCompress(Unit(), {size, sampling, 2, 1}));
    }
}
BENCHMARK(BM_CompressBaseline)
    ->Args({500, 1})
    ->Args({500, 0})
    ->Args({4096, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Drawing 96 x 96 frames into a 400 x 300 buffer; items are frame pixels.
struct DrawFrame {
    FrameTables tables;
    int maskFlag = 0;
};

struct DrawCase {
    std::vector<Pixel555> codebook;
    std::vector<std::vector<std::uint8_t>> indexTables;
    std::vector<std::vector<std::uint8_t>> alphaTables;
    std::vector<DrawFrame> frames;
};

// One frame of random entries (500 of them) under the given alpha row in every pixel row.
const DrawCase& SyntheticCase(const std::vector<std::uint8_t>& alphaRow) {
    static std::vector<std::unique_ptr<DrawCase>> cases;
    std::mt19937 random(5);
    auto c = std::make_unique<DrawCase>();
    c->codebook.resize(500 * 16);
    for (Pixel555& p : c->codebook) {
        p = static_cast<Pixel555>(random() & 0x7FFF);
    }
    c->indexTables.emplace_back();
    for (int row = 0; row < 96; ++row) {
        std::vector<std::uint16_t> values(48);
        for (std::uint16_t& v : values) {
            v = static_cast<std::uint16_t>(random() % 500);
        }
        AppendIndexRow(values, row < 48, c->indexTables[0]);
    }
    c->alphaTables.emplace_back();
    for (int row = 0; row < 96; ++row) {
        AppendAlphaRow(alphaRow, c->alphaTables[0]);
    }
    c->frames.push_back({FrameTables{96, 96, 0, c->indexTables[0], c->alphaTables[0]}, 0});
    cases.push_back(std::move(c));
    return *cases.back();
}

void RunDraw(benchmark::State& state, const DrawCase& c, int alphaValue) {
    std::vector<Pixel555> buffer(400 * 300, 0x1234);
    const std::vector<Pixel555> team(32, 0x7C00);
    std::size_t next = 0;
    for (auto _ : state) {
        const DrawFrame& frame = c.frames[next++ % c.frames.size()];
        DrawFrameTables({buffer.data(), 400, 300}, 152 + static_cast<int>(next % 7), 102,
                        frame.maskFlag, 1, frame.tables, {nullptr, c.codebook.data(), team.data()},
                        alphaValue);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetItemsProcessed(state.iterations() * 96 * 96);
}

void BM_DrawOpaque(benchmark::State& state) {
    RunDraw(state, SyntheticCase(std::vector<std::uint8_t>(96, 255)), 255);
}
BENCHMARK(BM_DrawOpaque);

void BM_DrawUniformBlend(benchmark::State& state) {
    RunDraw(state, SyntheticCase(std::vector<std::uint8_t>(96, 255)), 128);
}
BENCHMARK(BM_DrawUniformBlend);

void BM_DrawLiteralAlpha(benchmark::State& state) {
    std::vector<std::uint8_t> row(96);
    for (std::size_t i = 0; i < row.size(); ++i) {
        row[i] = static_cast<std::uint8_t>(8 + 8 * (i % 30));
    }
    RunDraw(state, SyntheticCase(row), 255);
}
BENCHMARK(BM_DrawLiteralAlpha);

// Every frame of the compressed sprite unit, plain and team-coloured animations alike.
void BM_DrawSprite(benchmark::State& state) {
    static const CompressionResult result = EngineCompress(500, true, 2);
    DrawCase c;
    for (std::size_t at = 0; at < result.lookupTable.size(); at += 3) {
        c.codebook.push_back(static_cast<Pixel555>(result.lookupTable[at + 2] << 10 |
                                                   result.lookupTable[at + 1] << 5 |
                                                   result.lookupTable[at]));
    }
    for (const EncodedAnimation& animation : result.animations) {
        for (std::size_t f = 0; f < animation.alphaTables.size(); ++f) {
            const EncodedAlphaTable& alpha = animation.alphaTables[f];
            c.frames.push_back({FrameTables{alpha.width, alpha.height, static_cast<int>(f),
                                            animation.indexTables[f / 4], alpha.bytes},
                                animation.fields.maskFlag});
        }
    }
    RunDraw(state, c, 255);
}
BENCHMARK(BM_DrawSprite);

} // namespace
} // namespace fenwold
