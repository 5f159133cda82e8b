#pragma once

#include <array>
#include <string_view>

namespace fenwold {

class CFenwoldDoc;

// One tab of a building window: its text and the mode its window title names.
struct BuildingTab {
    std::string_view text;
    std::string_view title;
};

inline constexpr int kBuildingTabCount = 8;
inline constexpr std::array<BuildingTab, kBuildingTabCount> kBuildingTabs{{
    {"Open build", "Open Build - "},
    {"Set animation", "Set Animation - "},
    {"VQ view", "VQ Compression - "},
    {"Build", "Set building attrib - "},
    {"Clash", "Set clash attrib - "},
    {"Set position", "Set animation position - "},
    {"Root of float", "Set root of float - "},
    {"Fire point", "Set Fire Point - "},
}};

// What the tabs ask of the window that shows them.
class ChildFrameHost {
public:
    // The tab row now holds TabCount() tabs, and CurrentTab() is selected.
    virtual void ShowTabs() = 0;
    // The page of the current tab is shown and takes the keyboard; the title changed.
    virtual void ShowCurrentTab() = 0;

protected:
    ~ChildFrameHost() = default;
};

// The tab row of one building window: "Open build" alone until the building has a picture, then
// the seven mode tabs; choosing a tab retitles the window with its mode. It belongs to one window
// and its document, so several building windows never share tabs.
class ChildFrameTabs {
public:
    ChildFrameTabs(CFenwoldDoc& document, ChildFrameHost& host)
        : document_(document), host_(host) {}

    // The window is first shown: titled as the picture view, with the mode tabs at once when the
    // building came from a file.
    void Start();
    // A picture exists: the seven mode tabs appear (once), with the first tab selected.
    void AddModeTabs();
    // Switches to the tab and retitles the window; choosing the current tab, or a tab not shown,
    // changes nothing. Returns whether the tab changed.
    bool SelectTab(int tab);

    int TabCount() const { return modeTabs_ ? kBuildingTabCount : 1; }
    int CurrentTab() const { return current_; }

private:
    CFenwoldDoc& document_;
    ChildFrameHost& host_;
    bool modeTabs_ = false;
    int current_ = 0;
};

} // namespace fenwold
