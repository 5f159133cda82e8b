#pragma once

#include "unit/CPropertiesDlg.h"
#include "unit/CTempBufferDlg.h"
#include "unit/CUnitView.h"
#include "unittools/ToolHub.h"

#include <functional>
#include <vector>

namespace fenwold::test {

// A tool window that records what the hub hands it and tells it.
class RecordingToolWindow final : public ToolWindowClient {
public:
    struct Taken {
        Feed feed;
        const UnitAnimation* animation;
        const UnitGroup* group;
        const ToolSource* source;
        bool toolData;
    };

    RecordingToolWindow(ToolHub& hub, ToolWindow tool) : hub_(hub), tool_(tool) {}

    void Open() { registration = hub_.Open(tool_, *this); }

    void TakeAnimation(const AnimationHandOver& handOver) override { Take(Feed::Main, handOver); }
    void TakeBackAnimation(const AnimationHandOver& handOver) override {
        Take(Feed::Back, handOver);
    }
    void TakeRegistered(const RegisteredHandOver& handOver) override {
        registered = handOver;
        shown.push_back(handOver.Get());
    }
    void TakeBuilding(const BuildingHandOver& handOver) override {
        buildings.push_back(handOver.building);
    }
    void TakePointIndex(int point) override { points.push_back(point); }
    void Forget(Feed feed) override {
        forgotten.push_back(feed);
        if (registered.list != nullptr) {
            forgottenRegistered.push_back(registered.Get());
            registered = {};
        }
        held[static_cast<std::size_t>(feed)] = {};
    }
    void GroupsReplaced(Feed) override { ++groupsReplaced; }
    void ForgetBuildingRecord() override { ++recordsForgotten; }
    void Redraw() override { ++redraws; }
    // As a window is destroyed when the hub closes it, with its registration.
    void CloseWindow() override {
        ++closed;
        held = {};
        registered = {};
        registration = {};
    }

    // What the window holds now, looked up as a real window looks it up.
    UnitAnimation* Held(Feed feed = Feed::Main) const {
        return held[static_cast<std::size_t>(feed)].Get();
    }

    ToolWindowRegistration registration;
    // When set, every window that takes an animation adds its place here, in turn.
    std::vector<ToolWindow>* order = nullptr;
    std::vector<Taken> taken;
    std::array<AnimationRef, 2> held;
    RegisteredHandOver registered;
    std::vector<const RegisteredAnimation*> shown;
    std::vector<const CFenwoldDoc*> buildings;
    std::vector<int> points;
    std::vector<Feed> forgotten;
    std::vector<const RegisteredAnimation*> forgottenRegistered;
    int groupsReplaced = 0;
    int recordsForgotten = 0;
    int redraws = 0;
    int closed = 0;

private:
    void Take(Feed feed, const AnimationHandOver& handOver) {
        held[static_cast<std::size_t>(feed)] = handOver.animation;
        if (order != nullptr) {
            order->push_back(tool_);
        }
        taken.push_back({feed, handOver.animation.Get(), handOver.animation.Group(),
                         handOver.source, handOver.toolData});
    }

    ToolHub& hub_;
    ToolWindow tool_;
};

// A unit view host that records what it is asked to run; a dialog without a function is
// cancelled.
class RecordingUnitViewHost final : public UnitViewHost {
public:
    bool RunPropertiesDialog(CPropertiesDlg& dialog) override {
        shownProperties.push_back(dialog);
        return properties && properties(dialog);
    }
    bool RunTempBufferDialog(CTempBufferDlg& dialog) override {
        return tempBuffer && tempBuffer(dialog);
    }
    void RunTeamColourDialog(const AnimationHandOver& current) override {
        teamColourRuns.push_back(current);
    }
    void RunGroupEditor(CUnitDoc& unit) override { groupEditors.push_back(&unit); }
    void RunAlphaValueChange(CUnitDoc& unit, int position) override {
        alphaChanges.emplace_back(&unit, position);
    }
    void Repaint() override { ++repaints; }

    std::vector<AnimationHandOver> teamColourRuns;
    std::vector<CUnitDoc*> groupEditors;
    std::vector<std::pair<CUnitDoc*, int>> alphaChanges;
    std::function<bool(CPropertiesDlg&)> properties;
    std::function<bool(CTempBufferDlg&)> tempBuffer;
    std::vector<CPropertiesDlg> shownProperties;
    int repaints = 0;
};
// Left alone, every dialog is cancelled at once.
using QuietUnitViewHost = RecordingUnitViewHost;

} // namespace fenwold::test
