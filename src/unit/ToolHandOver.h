#pragma once

#include "unit/AnimationListEdit.h"
#include "unit/UnitRecords.h"

#include <cstdint>

namespace fenwold {

class AnimationDocument;

// The main frame's four tool windows (the Tools menu).
enum class ToolWindow { Animation, CheckBox, OriginPoint, AnimationEdit };
inline constexpr int kToolWindowCount = 4;

// Which of a tool window's two animations a hand-over fills: the main one, or the back one that
// a Ctrl click gives the animation and origin-point windows.
enum class Feed { Main, Back };

// A view that hands animations to the tool windows (the unit view, the registration view). Its
// address names it; it tells the tool windows when it goes (ToolHandOvers::SourceGone), and the
// windows it fed close.
class ToolSource {
protected:
    ToolSource() = default;
    ~ToolSource() = default;
};

// A hold on a compressed animation: its document and its position in the document's list. It is
// looked up again at every use, never kept as a pointer into the list, so a window that holds
// one never reads an animation that a compression, a group edit or a file read has freed.
class AnimationRef {
public:
    AnimationRef() = default;
    AnimationRef(AnimationDocument& document, int position)
        : document_(&document), position_(position) {}

    AnimationDocument* Document() const { return document_; }
    int Position() const { return position_; }
    // The animation now at the position; null when nothing is held or the list is shorter.
    UnitAnimation* Get() const;
    // Its group, found by the animation's group index; null for an animation of no group.
    UnitGroup* Group() const;

private:
    AnimationDocument* document_ = nullptr;
    int position_ = -1;
};

// A compressed animation given to a tool window by a click: the animation (its document gives
// the codebooks, the team colours, the unit points and the groups), the view it came from, and
// the document's ToolDataFlag at the click.
struct AnimationHandOver {
    AnimationRef animation;
    const ToolSource* source = nullptr;
    bool toolData = false;
};

// A registered, not yet compressed animation shown in the animation window: the registration
// view's list and the animation's position in it, looked up again at every use.
struct RegisteredHandOver {
    const RegisteredAnimations* list = nullptr;
    int position = -1;
    const ToolSource* source = nullptr;

    // Null when the list is shorter.
    const RegisteredAnimation* Get() const;
};

// The animations the building's fire point views play, set by a unit view's "&Fire Setting": the
// document (its animations are numbered from its first, with its codebooks) and the view. The
// generation changes whenever the source changes, is refreshed (its document took new
// animations) or is cleared (its view or document went), so a view that compares generations
// sees a new source even when a new document lands at a freed one's address.
struct FireAnimationSource {
    AnimationDocument* document = nullptr;
    const ToolSource* view = nullptr;
    std::uint64_t generation = 0;
};

// The tool windows as the views meet them. The tool hub (unittools/ToolHub.h) is the one
// implementation; a view calls it and never sees a tool window.
class ToolHandOvers {
public:
    // A left click on an animation of a unit view, with Ctrl or without: handed to the open tool
    // windows as the unit window hands it (the animation window first; the others only for a
    // unit that holds tool data). A building's animation goes to the animation window in
    // composite mode and to the animation edit window.
    virtual void AnimationClicked(const AnimationHandOver& handOver, bool control) = 0;
    // The registration view's click: the animation window, when open, previews the animation.
    virtual void ShowRegistered(const RegisteredHandOver& handOver) = 0;
    // The source's registered list lost an animation or changed its order: a window showing one
    // of its animations lets it go.
    virtual void RegisteredListChanged(const ToolSource& source) = 0;
    // "&Fire Setting": the document's animations become the fire animation source.
    virtual void SetFireSource(AnimationDocument& document, const ToolSource& view) = 0;
    // The view is going away: every tool window it fed closes, and a fire source it set is
    // cleared.
    virtual void SourceGone(const ToolSource& source) = 0;

protected:
    ~ToolHandOvers() = default;
};

} // namespace fenwold
