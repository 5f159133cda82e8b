#pragma once

#include "platform/CommandTable.h"
#include "platform/Document.h"
#include "platform/Platform.h"
#include "platform/WindowPainter.h"
#include "unit/FrameGrid.h"
#include "unit/ToolHandOver.h"
#include "unit/UnitRecords.h"

#include <string>
#include <vector>

namespace fenwold {

class CPropertiesDlg;
class AnimationDocument;
class CTempBufferDlg;
class CUnitDoc;

// The window around a unit view: its dialogs and its repaint. Each Run method runs the dialog on
// its model and tells whether it closed with OK.
class UnitViewHost {
public:
    virtual ~UnitViewHost() = default;
    virtual bool RunPropertiesDialog(CPropertiesDlg& dialog) = 0;
    virtual bool RunTempBufferDialog(CTempBufferDlg& dialog) = 0;
    // "Set &Team Color" on the animation: the team colour dialog, which copies its tables back
    // into the document on OK.
    virtual void RunTeamColourDialog(const AnimationHandOver& current) = 0;
    // "&Set Group": the group editor on the unit, which takes the groups when it closes.
    virtual void RunGroupEditor(CUnitDoc& unit) = 0;
    // "Alpha &value change ": the alpha dialog for the animation at `position` of the unit.
    virtual void RunAlphaValueChange(CUnitDoc& unit, int position) = 0;
    virtual void Repaint() = 0;
};

// "VQ compression": every frame of the unit's compressed animations side by side, drawn from
// the codebook. A building window shows its building's animations in it ("VQ view"); the group
// editor and the alpha change, which edit a unit's groups and tables, are then not offered. A click
// hands the animation under the pointer to the open tool windows; the context menu opens the unit's
// dialogs. The window hands in its size, scroll position, mouse and commands, blits the pictures of
// RenderVisibleFrames and lets PaintOverlays draw outlines and labels over them.
class CUnitView final : public ToolSource, private DocumentObserver {
public:
    static constexpr int kContextMenu = 191;

    // Observes the document: new animations clear the hover, and every change repaints.
    CUnitView(Platform platform, AnimationDocument& document, UnitViewHost& host,
              ToolHandOvers& tools);
    // Closes the tool windows fed by this view.
    ~CUnitView();
    CUnitView(const CUnitView&) = delete;
    CUnitView& operator=(const CUnitView&) = delete;

    void SetClientSize(int width, int height);
    void SetScrollPosition(int y) { grid_.SetScrollPosition(y); }
    ScrollSize GetScrollSize() const { return grid_.GetScrollSize(); }

    // Every frame that crosses the window, drawn from the codebook over black at full opacity,
    // team pixels through team colour table 0.
    std::vector<FramePicture> RenderVisibleFrames() const;
    // Over the pictures: each visible frame's outline in the colour of its state, the animation's
    // position in white and its group index in red.
    void PaintOverlays(WindowPainter& window) const;

    void OnMouseMove(int x, int y, WindowPainter& window);
    // The left button hands the hovered animation to the open tool windows; `control` is the Ctrl
    // key.
    void OnLeftButtonDown(bool control);

    // Context menu 191 in its order, with each item's state.
    std::vector<MenuItem> ContextMenu() const;
    bool IsEnabled(int command) const;
    std::string MenuText(int command) const;
    // Runs a command of the menu; a command that is not enabled does nothing.
    void OnCommand(int command);

    // "Start Ani Draw": always a position in the list (0 when it is empty).
    int FirstDrawn() const { return firstDrawn_; }
    // Null, or -1, while the pointer is over no frame.
    const UnitAnimation* HoveredAnimation() const;
    bool IsBuildingMode() const { return unit_ == nullptr; }
    int HoveredFrame() const { return grid_.HoveredIndex(); }
    // Where the view shows each frame.
    const FrameGrid& Grid() const { return grid_; }

private:
    void OnDocumentEvent(DocumentEvent event) override;
    UnitAnimation* Hovered();
    std::vector<const UnitAnimation*> AnimationsByPosition() const;
    template <typename Draw>
    void ForEachVisibleFrame(Draw&& draw) const;
    void Relayout();
    void Refresh();
    // Whether the hand-over carries tool data: a unit read from its tool data file.
    bool ToolData() const;

    static CommandTable<CUnitView> ContextMenuCommands();
    void SetFireSource();
    void SetTempBuffer();
    void ShowProperties();

    Platform platform_;
    AnimationDocument& document_;
    CUnitDoc* unit_; // null for a building
    UnitViewHost& host_;
    ToolHandOvers& tools_;
    DocumentObservation observation_;
    FrameGrid grid_;
    int firstDrawn_ = 0;
};

} // namespace fenwold
