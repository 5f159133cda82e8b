#pragma once

#include "image/Pixel.h"
#include "platform/CommandTable.h"
#include "platform/Document.h"
#include "platform/WindowPainter.h"
#include "unit/CSetAnimationView.h"
#include "unit/FrameGrid.h"
#include "unit/RegistrationHost.h"
#include "unit/UnitRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fenwold {

class CUnitDoc;
class CUnitView;
struct UnitData;

// The main frame's four tool windows.
enum class ToolWindow { Animation, CheckBox, OriginPoint, AnimationEdit };

// What a tool window receives with a clicked animation: the animation, the unit it belongs to
// (codebooks, team colours, unit point tables and group list), the animation's group and whether
// the unit holds tool data. `back` is set for the Ctrl click that makes it the back animation.
struct UnitHandOver {
    UnitAnimation& animation;
    UnitData& unit;
    UnitGroup* group;
    bool toolData;
    bool back;
};

// The animation the building fire point views play: taken from a unit view's document by
// "Fire Setting".
struct FireAnimationSource {
    const Pixel555* codebook8 = nullptr;
    const Pixel555* codebook16 = nullptr;
    const UnitAnimation* firstAnimation = nullptr;
    const CUnitView* view = nullptr;
};

// The window around a unit view and the main frame's tools as the view meets them. Each Run
// method tells whether the dialog closed with OK; values passed in are changed only then.
class UnitViewHost {
public:
    virtual ~UnitViewHost() = default;
    // A tool window counts as open while its window exists.
    virtual bool IsToolOpen(ToolWindow tool) const = 0;
    // The tool shows the animation and remembers the view as its source.
    virtual void HandOver(ToolWindow tool, const UnitHandOver& handOver,
                          const CUnitView& source) = 0;
    // The view is going away: every tool window whose source it is closes, and the fire
    // animation source is cleared if the view set it.
    virtual void ForgetView(const CUnitView& source) = 0;
    virtual void SetFireSource(const FireAnimationSource& source) = 0;
    virtual bool RunPropertiesDialog(RegistrationProperties& values) = 0;
    virtual bool RunTempBufferDialog(TempBufferValues& values) = 0;
    virtual void Repaint() = 0;
};

// "VQ compression": every frame of the unit's compressed animations side by side, drawn from
// the codebook. A click hands the animation under the pointer to the open tool windows; the
// context menu opens the unit's dialogs. The window hands in its size, scroll position, mouse and
// commands, blits the pictures of RenderVisibleFrames and lets PaintOverlays draw outlines and
// labels over them.
class CUnitView final : private DocumentObserver {
public:
    static constexpr int kContextMenu = 191;

    // Observes the document: new animations clear the hover, and every change repaints.
    CUnitView(CUnitDoc& document, UnitViewHost& host);
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

    int FirstDrawn() const { return firstDrawn_; }
    // Null, or -1, while the pointer is over no frame.
    const UnitAnimation* HoveredAnimation() const;
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

    static CommandTable<CUnitView> ContextMenuCommands();
    void SetFireSource();
    void SetTempBuffer();
    void ShowProperties();

    CUnitDoc& document_;
    UnitViewHost& host_;
    DocumentObservation observation_;
    FrameGrid grid_;
    int firstDrawn_ = 0;
};

} // namespace fenwold
