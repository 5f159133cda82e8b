#include "image/FrameSetLoader.h"

#include "image/FrameStreams.h"
#include "image/PictureBox.h"
#include "image/PictureReading.h"
#include "image/RandomPictures.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"

#include <gtest/gtest.h>
#include <list>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace fenwold {
namespace {

using test::RandomFile;
using test::TgaBuilder;
using Names = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

const TgaColor kRed = MakeTgaColor(255, 0, 0);
const TgaColor kWhite = MakeTgaColor(255, 255, 255);
const TgaColor kGrey = MakeTgaColor(128, 128, 128);

// A width x height picture, transparent but for an opaque rectangle (top row first).
std::vector<TgaColor> Rectangle(int width, int height, int left, int top, int right, int bottom,
                                TgaColor colour = kRed) {
    std::vector<TgaColor> pixels(static_cast<std::size_t>(width) * height, 0);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] = colour;
        }
    }
    return pixels;
}

class FrameSetLoaderTest : public ::testing::Test {
protected:
    void Picture(const std::string& name, int width, int height,
                 const std::vector<TgaColor>& pixels, int depth = 32) {
        folder.Write(name, TgaBuilder::Picture(width, height, pixels, depth, true));
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& message : platform.prompts.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }
    // The file problems a batch run reports, as file and reason.
    std::vector<std::pair<std::filesystem::path, std::string>> Problems() const {
        std::vector<std::pair<std::filesystem::path, std::string>> problems;
        for (const auto& problem : platform.prompts.fileProblems) {
            problems.emplace_back(problem.file, problem.reason);
        }
        return problems;
    }
    static Bytes Alpha(const RegisteredAnimation& animation, std::size_t frame) {
        return DecodeFrameAlpha(animation.frames[frame].alphaStream, animation.width,
                                animation.height);
    }
    static Bytes Mask(const RegisteredAnimation& animation, std::size_t frame) {
        return DecodeFrameAlpha(animation.frames[frame].maskStream, animation.width,
                                animation.height);
    }

    // Names in the test's folder.
    PictureSeries Here(Names names) const { return {folder.path(), std::move(names)}; }

    test::TempFolder folder;
    ScriptedPlatform platform{folder.path()};
    std::list<RegisteredAnimation> animations;
    FrameSetLoader loader{animations, platform.Get()};
};

TEST_F(FrameSetLoaderTest, InvisibleSeriesKeepItsSizeAndRowsAreTurnedOver) {
    Picture("t1.tga", 6, 5, std::vector<TgaColor>(30, 0));
    Picture("t2.tga", 8, 7, std::vector<TgaColor>(56, 0));
    ASSERT_TRUE(loader.LoadImageSeries(Here({"t1.tga", "t2.tga"})));
    const RegisteredAnimation& invisible = animations.front();
    EXPECT_EQ(
        std::tuple(invisible.positionX, invisible.positionY, invisible.width, invisible.height),
        std::tuple(0, 0, 6, 5));
    std::vector<TgaColor> pixels(4, 0);
    pixels[0] = MakeTgaColor(8, 8, 8, 255);       // top left
    pixels[3] = MakeTgaColor(255, 255, 255, 200); // bottom right, translucent
    Picture("p.tga", 2, 2, pixels);
    ASSERT_TRUE(loader.LoadImageSeries(Here({"p.tga"})));
    const RegisteredAnimation& animation = animations.back();
    EXPECT_EQ(Alpha(animation, 0), (Bytes{248, 0, 0, 200}));
    const auto decoded = DecodeFramePixels(animation.frames[0].pixelStream, 2, 2);
    EXPECT_EQ(decoded[0], 0x0421);
    EXPECT_EQ(decoded[3], 0x7FFF); // already at full value
}

TEST_F(FrameSetLoaderTest, RecordsAndTheRunningFrameCounter) {
    for (const char* name : {"a1.tga", "a2.tga", "a3.tga", "b1.tga", "b2.tga"}) {
        Picture(name, 4, 4, Rectangle(4, 4, 1, 1, 2, 2));
    }
    ASSERT_TRUE(loader.LoadImageSeries(Here({"a1.tga", "a2.tga", "a3.tga"})));
    ASSERT_TRUE(loader.LoadImageSeries(Here({"b1.tga", "b2.tga"})));
    EXPECT_EQ(loader.frameCounter(), 5);
    EXPECT_EQ(loader.animationCount(), 2);
    const RegisteredAnimation& first = animations.front();
    const RegisteredAnimation& second = animations.back();
    EXPECT_EQ(std::tuple(first.frameCounter, second.frameCounter, first.frameCount,
                         first.sequenceLength, first.frameNumber[0], first.frameNumber[2],
                         first.frameNumber[3], first.groupNumber, first.delay[199],
                         first.alphaValue[0], first.checkBoxWidth, first.maskFlag,
                         second.frames.size()),
              std::tuple(2, 4, 3, 3, 0, 2, 0, -1, 4, 255, 1, 0, 2u));
}

TEST_F(FrameSetLoaderTest, UnreadablePictureIsSkippedAndTheCountsFollowTheFramesRead) {
    Picture("a1.tga", 4, 4, Rectangle(4, 4, 0, 0, 3, 3));
    folder.Write("a2.tga", TgaBuilder(4, 4).Descriptor(0x28).bytes());
    Picture("a3.tga", 4, 4, Rectangle(4, 4, 0, 0, 3, 3));
    {
        auto progress = loader.ImageProgress(4);
        ASSERT_TRUE(loader.LoadImageSeries(Here({"a1.tga", "a2.tga", "missing.tga", "A3.TGA"})));
    }
    EXPECT_EQ(Messages(), (std::vector<std::string>{"\"a2.tga\" alpha not found",
                                                    "\"missing.tga\" alpha not found"}));
    // A batch run says which file and why instead.
    EXPECT_EQ(
        Problems(),
        (decltype(Problems()){
            {folder / "a2.tga", "the tool does not read this kind of Targa picture: a picture "
                                "stored top row first (it reads true-colour pictures of 24 or 32 "
                                "bits, plain or run-length, stored bottom row first)"},
            {folder / "missing.tga", "cannot open the file: No such file or directory"}}));
    const RegisteredAnimation& animation = animations.front();
    EXPECT_EQ(std::tuple(animation.frameCount, animation.sequenceLength, animation.frames.size(),
                         animation.frameCounter),
              std::tuple(2, 2, 2u, 1));
    EXPECT_EQ(platform.statusBar.captions, (std::vector<std::string>{"Image Tga File Loading"}));
    EXPECT_EQ(platform.statusBar.stepsPlanned, 4);
    EXPECT_EQ(platform.statusBar.stepsTaken, 2);
    EXPECT_FALSE(platform.statusBar.progressOpen);
    // A series without any readable picture adds nothing.
    EXPECT_FALSE(loader.LoadImageSeries(Here({"none1.tga", "none2.tga"})));
    EXPECT_EQ(loader.animationCount(), 1);
    EXPECT_EQ(Messages().size(), 4u);
}

// A picture that ends early is kept as read, its missing pixels transparent, and the user is
// told which and how many; so is a mask picture.
TEST_F(FrameSetLoaderTest, PicturesThatEndEarlyAreKeptAndReported) {
    Picture("a1.tga", 4, 2, Rectangle(4, 2, 0, 0, 3, 1));
    auto cut = TgaBuilder::Picture(4, 2, Rectangle(4, 2, 0, 0, 3, 1), 32, false);
    cut.resize(cut.size() - 3 * 4); // the top row's last three pixels
    folder.Write("a2.tga", cut);
    ASSERT_TRUE(loader.LoadImageSeries(Here({"a1.tga", "a2.tga"})));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"\"a2.tga\" ends early: its last 3 pixels "
                                                    "are missing and are left transparent."}));
    EXPECT_EQ(Problems(),
              (decltype(Problems()){
                  {folder / "a2.tga", "the picture ends early: 3 of its 8 pixels are missing"}}));
    const RegisteredAnimation& animation = animations.front();
    ASSERT_EQ(animation.frames.size(), 2u);
    EXPECT_EQ(Alpha(animation, 0), Bytes(8, 248));
    EXPECT_EQ(Alpha(animation, 1), (Bytes{248, 0, 0, 0, 248, 248, 248, 248}));

    Picture("m1.tga", 4, 2, std::vector<TgaColor>(8, kWhite), 24);
    folder.Write("m2.tga", TgaBuilder(4, 2, 24).Pixel(kWhite).bytes());
    ASSERT_TRUE(loader.LoadMaskSeries(Here({"m1.tga", "m2.tga"}), animations.front()));
    EXPECT_EQ(Messages().back(),
              "\"m2.tga\" ends early: its last 7 pixels are missing and are left transparent.");
    EXPECT_EQ(Mask(animations.front(), 1), (Bytes{0, 0, 0, 0, 1, 0, 0, 0}));
}

// Each frame is its own picture read alone, cut to the box over every frame's visible pixels
// and encoded: pictures of every kind and size, larger after smaller and back, some ending early
// and one that cannot be read, all through the loader's one working picture.
TEST_F(FrameSetLoaderTest, EachFrameIsItsPictureReadAloneAndCutToTheBox) {
    std::mt19937 random(37);
    for (int trial = 0; trial < 12; ++trial) {
        std::list<RegisteredAnimation> series;
        FrameSetLoader fresh(series, platform.Get());
        Names names;
        std::vector<Picture555> pictures;
        for (int i = 0; i < 6; ++i) {
            const auto file = RandomFile(random, 40, i); // the first and fifth end early
            const std::string name = "t" + std::to_string(trial) + "_" + std::to_string(i) + ".tga";
            folder.Write(name, i == 2 ? TgaBuilder(2, 2).Descriptor(0x28).bytes() : file);
            names.push_back(name);
            if (i != 2) {
                ASSERT_EQ(ReadPicture555(file, pictures.emplace_back()), tga::kNoError);
            }
        }
        std::optional<PictureBox> visible;
        for (const auto& picture : pictures) {
            if (const auto own = OpaqueBox(picture.alpha, picture.width, picture.height)) {
                visible = visible ? Union(*visible, *own) : *own;
            }
        }
        PictureBox box = visible.value_or(
            PictureBox{0, 0, pictures.front().width - 1, pictures.front().height - 1});
        box.right += box.Width() % 2;
        ASSERT_TRUE(fresh.LoadImageSeries(Here(names)));
        const RegisteredAnimation& animation = series.front();
        ASSERT_EQ(animation.frames.size(), pictures.size());
        EXPECT_EQ(animation.positionX, box.left);
        EXPECT_EQ(animation.positionY, box.top);
        ASSERT_EQ(animation.width, box.Width());
        ASSERT_EQ(animation.height, box.Height());
        for (std::size_t f = 0; f < pictures.size(); ++f) {
            const RegisteredFrame& frame = animation.frames[f];
            const Picture555& picture = pictures[f];
            ASSERT_EQ(std::tuple(frame.cropLeft, frame.cropTop, frame.width, frame.height,
                                 frame.pictureWidth, frame.pictureHeight, frame.maskPictureWidth),
                      std::tuple(box.left, box.top, box.Width(), box.Height(), picture.width,
                                 picture.height, 0));
            ASSERT_TRUE(frame.maskStream.empty());
            const auto pixels = CropPlane<Pixel555>(picture.pixels, picture.width, picture.height,
                                                    box.left, box.top, box.Width(), box.Height());
            const auto alpha =
                CropPlane<std::uint8_t>(picture.alpha, picture.width, picture.height, box.left,
                                        box.top, box.Width(), box.Height());
            ASSERT_EQ(frame.pixelStream, EncodeFramePixels(pixels, box.Width(), box.Height()))
                << trial << " frame " << f;
            ASSERT_EQ(frame.alphaStream, EncodeFrameAlpha(alpha, box.Width(), box.Height()))
                << trial << " frame " << f;
        }
    }
}

// A status bar that removes a file when the loader steps past the picture before it, so that
// the picture is gone when the loader comes back to read it whole.
class RemovingStatusBar final : public StatusBar {
public:
    RemovingStatusBar(std::filesystem::path file, int atStep)
        : file_(std::move(file)), atStep_(atStep) {}
    void ShowMessage(std::string_view) override {}
    void SetModifiedIndicator(bool) override {}
    void BeginProgress(std::string_view, int) override {}
    void StepProgress() override {
        if (++stepsTaken_ == atStep_) {
            std::filesystem::remove(file_);
        }
    }
    void EndProgress() override {}

private:
    std::filesystem::path file_;
    int atStep_;
    int stepsTaken_ = 0;
};

TEST_F(FrameSetLoaderTest, APictureGoneBeforeItIsCutAddsNothingAndIsReported) {
    Picture("g1.tga", 4, 4, Rectangle(4, 4, 0, 0, 3, 3));
    Picture("g2.tga", 4, 4, Rectangle(4, 4, 1, 1, 2, 2));
    RemovingStatusBar bar(folder / "g2.tga", 2);
    Platform removing = platform.Get();
    Platform withBar{removing.prompts, removing.sound, removing.clock, bar, removing.folder};
    FrameSetLoader gone(animations, withBar);
    EXPECT_FALSE(gone.LoadImageSeries(Here({"g1.tga", "g2.tga"})));
    EXPECT_TRUE(animations.empty());
    EXPECT_EQ(gone.animationCount(), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"\"g2.tga\" alpha not found"}));
    EXPECT_EQ(Problems().at(0).first, folder / "g2.tga");
    // The loader still reads the next series.
    EXPECT_TRUE(gone.LoadImageSeries(Here({"g1.tga"})));
    EXPECT_EQ(animations.size(), 1u);
}

TEST_F(FrameSetLoaderTest, ASeriesHoldsAtMost200Pictures) {
    Picture("a.tga", 2, 1, {kRed, kWhite});
    ASSERT_TRUE(loader.LoadImageSeries(Here(Names(200, "a.tga"))));
    ASSERT_EQ(animations.size(), 1u);
    EXPECT_EQ(animations.front().frames.size(), 200u);
    EXPECT_EQ(animations.front().frameNumber[199], 199);
    animations.clear();
    EXPECT_FALSE(loader.LoadImageSeries(Here(Names(201, "a.tga"))));
    EXPECT_TRUE(animations.empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "\"a.tga\": a series may hold at most 200 pictures; this one is "
                              "not registered."}));
}

// A frame stream row holds at most 16382 pixels. Boxes are widened to an even width, so 16383
// opaque columns make the first box too wide.
TEST_F(FrameSetLoaderTest, BoxesUpTo16382PixelsWideAreRegistered) {
    Picture("wide.tga", 16382, 1, std::vector<TgaColor>(16382, kRed));
    ASSERT_TRUE(loader.LoadImageSeries(Here({"wide.tga"})));
    ASSERT_EQ(animations.size(), 1u);
    EXPECT_EQ(animations.front().width, 16382);
    Picture("wider.tga", 16383, 1, std::vector<TgaColor>(16383, kRed));
    EXPECT_FALSE(loader.LoadImageSeries(Here({"wider.tga"})));
    EXPECT_EQ(animations.size(), 1u);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"\"wider.tga\": the pictures are wider than "
                                                    "16382 pixels and cannot be registered."}));
}

TEST_F(FrameSetLoaderTest, MasksAreThresholdedAndCroppedLikeTheirFrames) {
    Picture("a1.tga", 6, 4, Rectangle(6, 4, 2, 1, 3, 2));
    Picture("a2.tga", 6, 4, Rectangle(6, 4, 2, 1, 3, 2));
    // Grey 128 is not above 128, white is.
    std::vector<TgaColor> mask(24, 0);
    mask[1 * 6 + 2] = kWhite;
    mask[1 * 6 + 3] = kGrey;
    mask[2 * 6 + 2] = kWhite;
    Picture("m1.tga", 6, 4, mask, 24);
    Picture("m2.tga", 6, 4, std::vector<TgaColor>(24, kWhite), 24);
    Picture("m3.tga", 6, 4, mask, 24);
    ASSERT_TRUE(loader.LoadImageSeries(Here({"a1.tga", "a2.tga"})));
    RegisteredAnimation& animation = animations.front();
    {
        auto progress = loader.MaskProgress(3);
        ASSERT_TRUE(loader.LoadMaskSeries(Here({"m1.tga", "m2.tga", "m3.tga"}), animation));
    }
    EXPECT_EQ(animation.maskFlag, 1);
    EXPECT_EQ(Mask(animation, 0), (Bytes{1, 0, 1, 0}));
    EXPECT_EQ(Mask(animation, 1), (Bytes{1, 1, 1, 1}));
    EXPECT_EQ(animation.frames[0].maskPictureWidth, 6);
    EXPECT_EQ(animation.frames[0].maskPictureHeight, 4);
    EXPECT_EQ(platform.statusBar.captions.back(), "Mask Tga File Loading");
    EXPECT_EQ(platform.statusBar.stepsTaken, 2); // the extra picture is not read
    EXPECT_TRUE(Messages().empty());
}

// Mask series that do not match their animation add no masks: fewer pictures than frames, an
// unreadable picture, and with an exact count a longer series (the extra picture is otherwise
// ignored).
TEST_F(FrameSetLoaderTest, MaskSeriesThatDoNotMatchAddNoMasks) {
    for (const char* name : {"a1.tga", "a2.tga", "m1.tga", "m2.tga", "m3.tga"}) {
        Picture(name, 2, 2, std::vector<TgaColor>(4, kWhite));
    }
    ASSERT_TRUE(loader.LoadImageSeries(Here({"a1.tga", "a2.tga"})));
    RegisteredAnimation& animation = animations.front();
    const auto expectNoMasks = [&] {
        EXPECT_EQ(animation.maskFlag, 0);
        for (const auto& frame : animation.frames) {
            EXPECT_TRUE(frame.maskStream.empty());
            EXPECT_EQ(frame.maskPictureWidth, 0);
        }
    };
    EXPECT_FALSE(loader.LoadMaskSeries(Here({"m1.tga"}), animation));
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "\"m1.tga\", 화일부분이 Image와 mask 수가 같지 않습니다."}));
    EXPECT_EQ(Problems().at(0).second, "the mask series has 1 pictures for 2 frames");
    expectNoMasks();
    EXPECT_FALSE(loader.LoadMaskSeries(Here({"m1.tga", "none.tga"}), animation));
    EXPECT_EQ(Messages().back(), "\"none.tga\" alpha not found");
    expectNoMasks();
    const PictureSeries three = Here({"m1.tga", "m2.tga", "m3.tga"});
    EXPECT_FALSE(loader.LoadMaskSeries(three, animation, FrameSetLoader::MaskCount::Exact));
    EXPECT_EQ(platform.prompts.fileProblems.back().reason,
              "the mask series has 3 pictures for 2 frames");
    expectNoMasks();
    EXPECT_TRUE(loader.LoadMaskSeries(Here({"m1.tga", "m2.tga"}), animation,
                                      FrameSetLoader::MaskCount::Exact));
    EXPECT_TRUE(loader.LoadMaskSeries(three, animation));
}

// A mask picture of another size would mark the wrong pixels: refused, naming both sizes. A
// frame read from a run-length file, whose picture size is not known, takes a mask picture that
// holds its box, at the limit, and refuses one pixel less.
TEST_F(FrameSetLoaderTest, MaskPicturesOfAnotherSizeAddNoMasks) {
    Picture("a1.tga", 6, 4, Rectangle(6, 4, 2, 1, 3, 2));
    Picture("a2.tga", 6, 4, Rectangle(6, 4, 2, 1, 3, 2));
    Picture("m1.tga", 6, 4, std::vector<TgaColor>(24, kWhite), 24);
    Picture("m2.tga", 6, 5, std::vector<TgaColor>(30, kWhite), 24);
    ASSERT_TRUE(loader.LoadImageSeries(Here({"a1.tga", "a2.tga"})));
    RegisteredAnimation& animation = animations.front();
    EXPECT_EQ(animation.frames[1].pictureWidth, 6);
    EXPECT_EQ(animation.frames[1].pictureHeight, 4);
    EXPECT_FALSE(loader.LoadMaskSeries(Here({"m1.tga", "m2.tga"}), animation));
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "\"m2.tga\": the mask picture is 6 x 5 pixels, the animation's "
                              "picture 6 x 4 pixels; the mask series is not added."}));
    EXPECT_EQ(platform.prompts.fileProblems.back().file, folder / "m2.tga");
    EXPECT_EQ(animation.maskFlag, 0);
    EXPECT_TRUE(animation.frames[0].maskStream.empty());

    // As from a run-length file: the box (2, 1) of 2 x 2 pixels needs 4 x 3.
    for (RegisteredFrame& frame : animation.frames) {
        frame.pictureWidth = 0;
        frame.pictureHeight = 0;
    }
    Picture("s1.tga", 4, 3, std::vector<TgaColor>(12, kWhite), 24);
    Picture("s2.tga", 3, 3, std::vector<TgaColor>(9, kWhite), 24);
    EXPECT_FALSE(loader.LoadMaskSeries(Here({"s1.tga", "s2.tga"}), animation));
    EXPECT_EQ(platform.prompts.fileProblems.back().reason,
              "the mask picture is 3 x 3 pixels, too small for the animation's frames of 2 x 2 "
              "pixels at 2, 1");
    EXPECT_TRUE(loader.LoadMaskSeries(Here({"s1.tga", "s1.tga"}), animation));
    EXPECT_EQ(animation.maskFlag, 1);
}

TEST_F(FrameSetLoaderTest, ListsReadEachSeriesInItsFolderAndMasksFollowTheAnimations) {
    std::filesystem::create_directories(folder / "one");
    std::filesystem::create_directories(folder / "two");
    for (const char* name :
         {"one/a1.tga", "one/m1.tga", "two/b1.tga", "two/b2.tga", "two/n1.tga", "two/n2.tga"}) {
        Picture(name, 2, 2, std::vector<TgaColor>(4, kWhite));
    }
    const std::vector<PictureSeries> images{{folder / "one", {"a1.tga"}},
                                            {folder / "two", {"b1.tga", "b2.tga"}}};
    platform.workingFolder.Set(folder / "elsewhere");
    loader.LoadImageSeriesList(images);
    ASSERT_EQ(animations.size(), 2u);
    EXPECT_EQ(platform.workingFolder.Current(), folder / "elsewhere"); // neither read nor moved

    const std::vector<PictureSeries> masks{{folder / "one", {"m1.tga"}},
                                           {folder / "two", {"n1.tga", "n2.tga"}},
                                           {folder / "one", {"m1.tga"}}};
    loader.StartMasksAtFirstAnimation();
    loader.LoadMaskSeriesList(std::span(masks).first(1));
    loader.LoadMaskSeriesList(std::span(masks).subspan(1)); // continues with the second
    EXPECT_EQ(animations.front().maskFlag, 1);
    EXPECT_EQ(animations.back().maskFlag, 1);
    EXPECT_EQ(Mask(animations.back(), 1), (Bytes{1, 1, 1, 1}));
    EXPECT_TRUE(Messages().empty());
}

} // namespace
} // namespace fenwold
