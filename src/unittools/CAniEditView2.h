#pragma once

#include "platform/CommandTable.h"
#include "unittools/AnimationEditPane.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

namespace fenwold {

class AnimationEditHost;

// The bottom pane of the animation edit window: the play sequence, one cell an entry, labelled
// with the entry's position, frame number, delay and alpha value, and "L" at the loop start. The
// user selects a run of entries with a click and a Shift-click and changes it from the context
// menu.
class CAniEditView2 final : public AnimationEditPane {
public:
    static constexpr int kContextMenu = 198;
    static constexpr WindowColour kPositionText = 0x00FF00;
    static constexpr WindowColour kLoopText = 0xFFFF00;
    static constexpr WindowColour kLoopBackground = 0x0000FF;
    static constexpr int kLabelLine = 11;

    explicit CAniEditView2(AnimationEditHost& host) : host_(host) {}

    // Takes the animation (or none); nothing is selected.
    void SetAnimation(const AnimationRef& animation);

    // Each visible entry: the frame it names, drawn with the entry's own alpha value; an entry
    // whose frame number is past the frame list is an empty cell.
    std::vector<FramePicture> RenderVisibleFrames() const;
    // Outlines (green for the selected entries) and the labels.
    void PaintOverlays(WindowPainter& window) const;
    void OnMouseMove(int, int, WindowPainter&) {}

    // Without Shift: the entry under the pointer becomes the selection (on empty space nothing
    // is selected). With Shift, once something is selected: the selection runs from the first
    // selected entry to the one under the pointer, whichever comes first.
    void OnLeftButtonDown(int x, int y, bool shift, WindowPainter& window);
    int SelectionStart() const { return selectionStart_; }
    int SelectionEnd() const { return selectionEnd_; }

    // Context menu 198 in its order, with each item's state.
    std::vector<MenuItem> ContextMenu() const;
    bool IsEnabled(int command) const;
    // Runs a command of the menu; a command that is not enabled does nothing, and none does
    // anything before an animation is handed over.
    void OnCommand(int command);

private:
    int CellCount(const UnitAnimation& animation) const override;
    static CommandTable<CAniEditView2> ContextMenuCommands();
    // The selected entries that exist, first and last; none without a selection.
    std::optional<std::pair<int, int>> Selected(const UnitAnimation& animation) const;
    void ClearSelection();
    void RedrawSelection(WindowPainter& window);
    // Drawn again, and the document marked modified when a stored value changed.
    void EntriesChanged(bool changed);
    // Opens the dialog with the first selected entry's value of `field`; on OK every selected
    // entry takes the value (cut to the field's width). Returns whether a stored value changed;
    // none when the dialog was not run or was cancelled.
    template <typename Dialog, typename Value>
    std::optional<bool> EditSelected(std::array<Value, kMaxSequenceLength> UnitAnimation::*field,
                                     bool (AnimationEditHost::*run)(Dialog&));

    void SetDelay();
    void DeleteEntries();
    void SetAttrib();
    void SetLoop();
    void SetAlphaValue();

    AnimationEditHost& host_;
    int selectionStart_ = -1;
    int selectionEnd_ = -1;
    int drawnStart_ = -1;
    int drawnEnd_ = -1;
};

} // namespace fenwold
