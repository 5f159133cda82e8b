#pragma once

#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/RegistrationFixtures.h"
#include "unit/UnitDoc.h"
#include "unittools/CAnimationDlg.h"
#include "unittools/CAnimationEditDlg.h"
#include "unittools/CCheckBoxDlg.h"
#include "unittools/CSetAnimationPointDlg.h"
#include "vq/VqFixtures.h"

#include <functional>
#include <gtest/gtest.h>

namespace fenwold::test {

// The edit window around its panes: each value dialog runs the test's function (typing a text
// into the dialog's model), a dialog without one is cancelled.
class ScriptedEditHost final : public AnimationEditHost {
public:
    bool RunSetDelayDialog(CSetDelayDlg& dialog) override { return Run(dialog); }
    bool RunSetAttribDialog(CSetAttribDlg& dialog) override { return Run(dialog); }
    bool RunSetAlphaValueDialog(CSetAlphaValueDlg& dialog) override { return Run(dialog); }
    void Repaint() override {}
    void DestroyWindow() override {}

    // The text typed before OK; none cancels. Each answer is used once.
    std::vector<std::optional<std::string>> typed;
    // The value each dialog opened with.
    std::vector<std::int32_t> shownValues;
    std::vector<std::string> refusals;

private:
    bool Run(SequenceValueDialog& dialog) {
        shownValues.push_back(dialog.value);
        if (typed.empty()) {
            return false;
        }
        const std::optional<std::string> text = typed.front();
        typed.erase(typed.begin());
        if (!text) {
            return false;
        }
        // OK: a refused text keeps the dialog open, and the test's next answer follows.
        if (const auto refused = dialog.Accept(*text)) {
            refusals.push_back(*refused);
            return Run(dialog);
        }
        return true;
    }
};

// Counts how often the check box, the animation or the origin-point dialog destroys its window.
template <typename Host>
class RecordingCanvasHost final : public Host {
public:
    void ShowState() override {}
    void RepaintCanvas() override {}
    void DestroyWindow() override { ++destroyed; }
    int destroyed = 0;
};
using RecordingCheckBoxHost = RecordingCanvasHost<CheckBoxHost>;
using RecordingAnimationHost = RecordingCanvasHost<AnimationHost>;
using RecordingOriginPointHost = RecordingCanvasHost<OriginPointHost>;

// A unit with compressed animations, the tool hub and key router of a main frame.
class ToolWindowTest : public ::testing::Test {
protected:
    ToolWindowTest() : platform(folder.path()), unit(platform.Get()) {}

    // Compresses solid animations (frame f of animation a is colour_a + f) of the given frame
    // counts, 10 x 8 pixels, into the unit, which then holds tool data and is not modified.
    void Compress(const std::vector<int>& frameCounts,
                  std::initializer_list<Pixel555> colours = {}) {
        RegisteredAnimations list;
        auto colour = colours.begin();
        Pixel555 next = 0x0100;
        for (const int frames : frameCounts) {
            const Pixel555 first = colour != colours.end() ? *colour++ : next;
            list.push_back(SolidAnimation(kWidth, kHeight, frames, first));
            next = static_cast<Pixel555>(next + 0x0100);
        }
        CompressPlain(unit, list);
        unit.SetModifiedFlag(false);
    }
    // One team-coloured animation of one white frame, all of it under the mask: its team pixels
    // have the brightest team colour indices. Team colour table 0 holds blue at indices below 16
    // and red from 16 on.
    void CompressTeamColoured() {
        TinyFrame frame = SolidFrame(kWidth, kHeight, 0x7FFF);
        frame.mask.assign(static_cast<std::size_t>(kWidth * kHeight), 1);
        RegisteredAnimations list;
        list.push_back(MakeAnimation(kWidth, kHeight, {frame}));
        list.back().sequenceLength = 1;
        CompressPlain(unit, list);
        for (std::size_t index = 0; index < kTeamColourEntries; ++index) {
            unit.Data().teamColours.tables[0][index] = index < 16 ? 0x001F : 0x7C00;
        }
    }
    // The animation's frame drawn on its own through the document's tables, at `alpha`.
    std::vector<Pixel555> ReferenceFrame(int position, int frame, int alpha = 255) {
        const UnitAnimation& animation = At(position);
        std::vector<Pixel555> pixels(static_cast<std::size_t>(kWidth * kHeight));
        DrawCompressedFrame({pixels.data(), kWidth, kHeight}, 0, 0, animation,
                            animation.alphaTables[static_cast<std::size_t>(frame)],
                            DocumentCodebooks(unit.Data()), alpha);
        return pixels;
    }
    // A bright team pixel of the team-coloured animation, drawn from the upper half of the table:
    // red, no blue.
    Pixel555 BrightTeamPixel() {
        const Pixel555 team = ReferenceFrame(0, 0)[3 * kWidth + 5];
        EXPECT_GT(Red5(team), 0);
        EXPECT_EQ(Blue5(team), 0);
        return team;
    }
    // Makes groups of consecutive animations; the unit is then not modified.
    void Group(std::initializer_list<std::int32_t> counts) {
        unit.RebuildGroups(std::vector<std::int32_t>(counts));
        unit.SetModifiedFlag(false);
    }
    UnitAnimation& At(int position) { return *unit.Data().FindAnimation(position); }
    AnimationHandOver HandOver(int position, const ToolSource* source = nullptr) {
        return {AnimationRef(unit, position), source, true};
    }

    static constexpr int kWidth = 10;
    static constexpr int kHeight = 8;

    TempFolder folder;
    ScriptedPlatform platform;
    CUnitDoc unit;
    ToolHub hub;
    KeyRouter keys;
};

} // namespace fenwold::test
