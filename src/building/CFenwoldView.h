#pragma once

#include "building/BuildingTabView.h"
#include "platform/CommandTable.h"
#include "platform/Document.h"
#include "platform/Platform.h"
#include "unit/ToolHandOver.h"

#include <string>
#include <vector>

namespace fenwold {

class CFenwoldDoc;
class ChildFrameTabs;

// The tool windows as a building's picture view meets them (the tool hub is the one
// implementation).
class BuildingToolHandOvers {
public:
    // A click on the building picture: the origin-point window, when open, edits the building's
    // points, with `view` as its source. Returns whether the window took the building.
    virtual bool BuildingClicked(CFenwoldDoc& building, const ToolSource& view) = 0;
    // The view is going away: the windows it fed close.
    virtual void SourceGone(const ToolSource& view) = 0;

protected:
    ~BuildingToolHandOvers() = default;
};

// What the picture view asks of its window.
class CFenwoldViewHost {
public:
    // "Team color &Setting": the building team colour dialog.
    virtual void RunTeamColourSetting() = 0;
    virtual void Repaint() = 0;

protected:
    ~CFenwoldViewHost() = default;
};

// "Open build": the building picture, its team pixels coloured once their indices are known, and
// the commands that import the picture and its team mask. A click hands the building to the
// origin-point window. Every command looks the building record up again: after a failed import
// there is none, and nothing that needs one is offered.
class CFenwoldView final : public BuildingTabView, public ToolSource, private DocumentObserver {
public:
    static constexpr int kContextMenu = 199;

    // `tabs` are those of this view's own window.
    CFenwoldView(Platform platform, CFenwoldDoc& document, ChildFrameTabs& tabs,
                 CFenwoldViewHost& host, BuildingToolHandOvers& tools);
    // Closes the tool windows this view fed.
    ~CFenwoldView() override;
    CFenwoldView(const CFenwoldView&) = delete;
    CFenwoldView& operator=(const CFenwoldView&) = delete;

    // Context menu 199, in its order, with each item's state.
    std::vector<MenuItem> ContextMenu() const;
    bool IsEnabled(int command) const;
    // Runs a command; a command that is not enabled does nothing.
    void OnCommand(int command);

    void OnLeftButtonDown(int x, int y) override;
    const BuildingViewPicture& Picture() override;

private:
    void OnDocumentEvent(DocumentEvent event) override;
    static CommandTable<CFenwoldView> ContextMenuCommands();
    void OpenBuilding();
    void OpenMask();

    Platform platform_;
    CFenwoldDoc& document_;
    ChildFrameTabs& tabs_;
    CFenwoldViewHost& host_;
    BuildingToolHandOvers& tools_;
    DocumentObservation observation_;
    BuildingViewPicture picture_;
};

} // namespace fenwold
