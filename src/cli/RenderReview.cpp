#include "cli/RenderReview.h"

#include "cli/FileLoading.h"
#include "cli/QualityReport.h"
#include "cli/Registration.h"
#include "cli/WebpAnimation.h"
#include "unit/AnimatedPreview.h"
#include "vq/CodebookUsage.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace fenwold::cli {

namespace {

constexpr int kSheetMargin = 2;
constexpr int kSheetGap = 5;
constexpr int kLargestSheet = 32767;

const Pixel555* TeamTable(const UnitData& data, int team) {
    return team < 0 ? nullptr : data.teamColours.tables[static_cast<std::size_t>(team)].data();
}

ReviewPicture Blank(int width, int height) {
    return {width, height,
            std::vector<Pixel555>(static_cast<std::size_t>(width) * height, Pixel555{0})};
}

// Pictures laid out as the unit view lays out frames; the sheet is as wide as its widest row.
ReviewPicture Sheet(const std::vector<ReviewPicture>& cells) {
    std::vector<std::pair<int, int>> sizes;
    for (const ReviewPicture& cell : cells) {
        sizes.emplace_back(cell.width, cell.height);
    }
    const SheetLayout layout = LayOutSheet(sizes);
    int width = kSheetWidth;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        width = std::max(width, layout.places[i].first + cells[i].width);
    }
    ReviewPicture sheet = Blank(width, layout.height);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (layout.places[i].second + cells[i].height <= sheet.height) {
            Paste(cells[i], sheet, layout.places[i].first, layout.places[i].second);
        }
    }
    return sheet;
}

// Two pictures one above the other, kReviewGap apart.
ReviewPicture Stack(const ReviewPicture& top, const ReviewPicture& bottom) {
    ReviewPicture both = Blank(std::max(top.width, bottom.width),
                               std::min(top.height + kReviewGap + bottom.height, kLargestSheet));
    Paste(top, both, 0, 0);
    if (top.height + kReviewGap + bottom.height <= kLargestSheet) {
        Paste(bottom, both, 0, top.height + kReviewGap);
    }
    return both;
}

template <typename Each>
void ForChosenFrames(const UnitData& data, const FrameChoice& choice, const Each& each) {
    if (!choice.sheet) {
        const UnitAnimation& animation = AnimationAt(data, choice.animation);
        CheckFrame(animation, choice.frame);
        each(choice.animation, animation, choice.frame);
        return;
    }
    int position = 0;
    for (const UnitAnimation& animation : data.animations) {
        for (int f = 0; f < animation.FrameCount(); ++f) {
            each(position, animation, f);
        }
        ++position;
    }
}

std::string FrameSize(int frames, int width, int height) {
    return std::to_string(frames) + " frames of " + std::to_string(width) + " x " +
           std::to_string(height);
}

bool IsRunLengthFile(const std::string& name) {
    std::string extension = std::filesystem::path(name).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".URE";
}

// Nearest-neighbour enlargement of straight-alpha pictures.
PictureRgba Enlarged(const PictureRgba& picture, int scale) {
    if (scale == 1) {
        return picture;
    }
    PictureRgba large{picture.width * scale, picture.height * scale, {}};
    large.bytes.resize(static_cast<std::size_t>(large.width) * large.height * 4);
    for (int y = 0; y < large.height; ++y) {
        for (int x = 0; x < large.width; ++x) {
            std::copy_n(
                picture.bytes.begin() +
                    4 * (static_cast<std::ptrdiff_t>(y / scale) * picture.width + x / scale),
                4, large.bytes.begin() + 4 * (static_cast<std::ptrdiff_t>(y) * large.width + x));
        }
    }
    return large;
}

} // namespace

SheetLayout LayOutSheet(const std::vector<std::pair<int, int>>& sizes) {
    SheetLayout layout;
    int x = kSheetMargin, y = kSheetMargin, rowHeight = 0;
    for (const auto& [width, height] : sizes) {
        layout.places.emplace_back(x, y);
        rowHeight = std::max(rowHeight, height);
        x += width + kSheetGap;
        if (x + width >= kSheetWidth) {
            y += rowHeight + kSheetGap;
            x = kSheetMargin;
            rowHeight = 0;
        }
    }
    layout.height = std::min(y + rowHeight + kSheetGap, kLargestSheet);
    return layout;
}

const UnitAnimation& AnimationAt(const UnitData& data, int position) {
    if (position < 0 || position >= data.AnimationCount()) {
        throw CliFailure(kExitUsage, "--anim " + std::to_string(position) + ": the file has " +
                                         std::to_string(data.AnimationCount()) + " animations");
    }
    return *std::next(data.animations.begin(), position);
}

void CheckFrame(const UnitAnimation& animation, int frame) {
    if (frame < 0 || frame >= animation.FrameCount()) {
        throw CliFailure(kExitUsage, "--frame " + std::to_string(frame) + ": the animation has " +
                                         std::to_string(animation.FrameCount()) + " frames");
    }
}

std::list<RegisteredAnimation> LoadSources(const std::vector<std::string>& groups,
                                           const std::vector<std::string>& series,
                                           ConsolePlatform& console) {
    std::vector<std::string> pictureSeries;
    std::list<RegisteredAnimation> fromFiles;
    for (const std::string& value : series) {
        if (IsRunLengthFile(value)) {
            fromFiles.splice(fromFiles.end(), LoadAnyFile(value).registered);
        } else {
            pictureSeries.push_back(value);
        }
    }
    if (pictureSeries.empty() && groups.empty()) {
        return fromFiles;
    }
    if (!fromFiles.empty()) {
        throw CliFailure(kExitUsage, "--source: give a .URE file or picture series, not both");
    }
    return std::move(RegisterSeries(groups, pictureSeries, console).animations);
}

ReviewPicture DrawDifferences(const UnitData& data, const std::list<RegisteredAnimation>& sources,
                              const FrameChoice& choice, int gain, std::ostream& summary) {
    if (static_cast<int>(sources.size()) != data.AnimationCount()) {
        throw CliFailure(kExitUsage, "--source registers " + std::to_string(sources.size()) +
                                         " animations; the unit has " +
                                         std::to_string(data.AnimationCount()));
    }
    std::vector<CompressedAnimationView> views;
    auto source = sources.begin();
    int position = 0;
    for (const UnitAnimation& animation : data.animations) {
        views.push_back(ViewOfRecord(animation));
        if (!SameFrames(*source, views.back())) {
            throw CliFailure(kExitUsage, "--source: " + AnimationName(*source, position) + " has " +
                                             FrameSize(static_cast<int>(source->frames.size()),
                                                       source->width, source->height) +
                                             "; the unit's has " +
                                             FrameSize(animation.FrameCount(), animation.width,
                                                       animation.height));
        }
        ++source;
        ++position;
    }
    const CompressionComparer comparer(data.codebook.InUse(), data.codebook.blockFlag);
    std::vector<ReviewPicture> strips;
    ErrorTally shown;
    ForChosenFrames(data, choice, [&](int a, const UnitAnimation&, int f) {
        const FrameComparison comparison = comparer.CompareFrame(
            *std::next(sources.begin(), a), f, views[static_cast<std::size_t>(a)]);
        shown += comparison.tally;
        strips.push_back(DifferenceStrip(comparison, gain));
    });
    summary << "registered | compressed | difference x" << gain << ": PSNR " << PsnrText(shown)
            << '\n';
    return choice.sheet ? Sheet(strips) : strips.front();
}

ReviewPicture DrawUsage(const UnitData& data, const FrameChoice& choice, int team,
                        std::ostream& summary) {
    std::vector<CompressedAnimationView> views;
    for (const UnitAnimation& animation : data.animations) {
        views.push_back(ViewOfRecord(animation));
    }
    const std::vector<Pixel555>& codebook = data.codebook.InUse();
    const std::vector<std::uint32_t> counts = CountEntryUses(views, data.codebook.Size());
    const UsageSummary usage = SummariseUses(counts);
    summary << "entries " << counts.size() << ": " << usage.unused << " unused, " << usage.usedOnce
            << " used once, the most used " << usage.mostUses << " times; " << usage.blocks
            << " visible blocks\n";

    std::vector<ReviewPicture> maps;
    ForChosenFrames(data, choice, [&](int a, const UnitAnimation& animation, int f) {
        const ReviewPicture map = RarityMap(views[static_cast<std::size_t>(a)], f, counts);
        if (choice.sheet) {
            maps.push_back(map);
            return;
        }
        ReviewPicture pair = Blank(2 * map.width + kReviewGap, map.height);
        DrawFrameTables({pair.pixels.data(), pair.width, pair.height}, 0, 0, animation.maskFlag,
                        animation.blockFlag,
                        views[static_cast<std::size_t>(a)].frames[static_cast<std::size_t>(f)],
                        data.codebook.Drawing(TeamTable(data, team)), 255);
        Paste(map, pair, map.width + kReviewGap, 0);
        maps.push_back(pair);
    });
    const ReviewPicture entries = EntriesByUse(codebook, data.codebook.blockFlag, counts);
    return Stack(entries, choice.sheet ? Sheet(maps) : maps.front());
}

std::vector<std::uint8_t> AnimateWebp(const UnitData& data, int animation, int team, int loops,
                                      int scale, const std::filesystem::path& output,
                                      std::ostream& summary) {
    const UnitAnimation& played = AnimationAt(data, animation);
    if (played.sequenceLength <= 0) {
        throw CliFailure(kExitUsage, "--anim " + std::to_string(animation) +
                                         ": the animation has no play sequence");
    }
    std::vector<TimedPicture> pictures =
        AnimatedPreview(played, data.codebook, TeamTable(data, team), loops);
    int milliseconds = 0;
    for (TimedPicture& picture : pictures) {
        picture.picture = Enlarged(picture.picture, scale);
        milliseconds += picture.milliseconds;
    }
    summary << "animation " << animation << ": " << pictures.size() << " pictures, " << milliseconds
            << " ms before it starts again\n";
    return EncodeAnimatedWebp(pictures, played.width * scale, played.height * scale, output);
}

} // namespace fenwold::cli
