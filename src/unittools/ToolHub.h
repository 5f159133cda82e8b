#pragma once

#include "building/CFenwoldView.h"
#include "platform/Document.h"
#include "unit/ToolHandOver.h"

#include <array>
#include <cstdint>
#include <memory>

namespace fenwold {

class CFenwoldDoc;
class ToolHub;

// A building handed to a tool window: the building (its record and its animations, looked up
// again at every use) and the view it came from.
struct BuildingHandOver {
    CFenwoldDoc* building = nullptr;
    const ToolSource* source = nullptr;
};

// A tool window's logic as the hub meets it. Each hand-over and each forgetting has a default
// that does nothing: a window overrides those it takes. All of them run on the interface thread.
class ToolWindowClient {
public:
    virtual ~ToolWindowClient() = default;

    // The unit view's plain click: the main animation. Ctrl click: the back animation.
    virtual void TakeAnimation(const AnimationHandOver&) {}
    virtual void TakeBackAnimation(const AnimationHandOver&) {}
    // The registration view's click: a registered animation to preview.
    virtual void TakeRegistered(const RegisteredHandOver&) {}
    // A click in a building's view: the building (the animation window plays it with its
    // animations, the origin-point window edits its points).
    virtual void TakeBuilding(const BuildingHandOver&) {}
    // The point (0-9) the origin-point window edits: the animation window centres it.
    virtual void TakePointIndex(int) {}

    // What the feed brought is gone: the document took new animations, or the registered list
    // changed. Let go of it (draw nothing from it) until the next hand-over.
    virtual void Forget(Feed) {}
    // The document's groups were replaced: groups are looked up again by number (AnimationRef),
    // and any state built on the old groups is dropped.
    virtual void GroupsReplaced(Feed) {}
    // The building record was freed or replaced: drop it; the next hand-over brings the new one.
    virtual void ForgetBuildingRecord() {}
    // The document asks for a repaint (points read from a file, for instance).
    virtual void Redraw() {}

    // The hub closes the window: its source view or its document went, or the main frame
    // closes. The window side destroys the window and its registration; the hub counts it
    // closed already.
    virtual void CloseWindow() = 0;
};

// An open tool window's registration with the hub, for as long as the window exists. Ending it
// (or destroying it) tells the hub that the window went by itself (its close box, the Tools
// command); when the hub closed the window, ending it does nothing. The hub must outlive it.
class ToolWindowRegistration {
public:
    ToolWindowRegistration() = default;
    ~ToolWindowRegistration() { End(); }
    ToolWindowRegistration(ToolWindowRegistration&& other) noexcept { *this = std::move(other); }
    ToolWindowRegistration& operator=(ToolWindowRegistration&& other) noexcept;
    ToolWindowRegistration(const ToolWindowRegistration&) = delete;
    ToolWindowRegistration& operator=(const ToolWindowRegistration&) = delete;

    void End();
    // Whether the window is still open as far as the hub knows.
    bool IsOpen() const;

private:
    friend class ToolHub;
    ToolWindowRegistration(ToolHub& hub, ToolWindow tool, std::uint64_t serial)
        : hub_(&hub), tool_(tool), serial_(serial) {}

    ToolHub* hub_ = nullptr;
    ToolWindow tool_ = ToolWindow::Animation;
    std::uint64_t serial_ = 0;
};

// The main frame's side of the tool windows: which one is open, what each was fed and by which
// view, and the fire animation source. It carries every hand-over from the views to the windows
// (and from one window to another), and applies the forgetting rules:
// - when a source view goes away (SourceGone), the windows it fed close;
// - when a document that fed a window replaces its animations, its groups or its building
//   record, the window is told to forget them or to look them up again (windows hold positions,
//   AnimationRef, never pointers into the lists); when the document closes, the window closes;
// - the fire animation source has a generation that changes with every change of the source.
// The main frame owns it, closes the tool windows before the document windows, and keeps it
// until every window and view that reports to it has gone.
class ToolHub final : public ToolHandOvers, public BuildingToolHandOvers {
public:
    ToolHub();
    // Closes the windows still open.
    ~ToolHub();
    ToolHub(const ToolHub&) = delete;
    ToolHub& operator=(const ToolHub&) = delete;

    // The window of `tool` now exists and `client` is its logic. A window already open in that
    // place is closed first. Keep the registration for as long as the window exists.
    [[nodiscard]] ToolWindowRegistration Open(ToolWindow tool, ToolWindowClient& client);
    // Closes the window through its client (the Tools command on an open window).
    void Close(ToolWindow tool);
    void CloseAll();
    bool IsOpen(ToolWindow tool) const { return Slot(tool).client != nullptr; }
    // The open window's logic, or null.
    ToolWindowClient* Client(ToolWindow tool) const { return Slot(tool).client; }
    // The view whose hand-over the window holds in that feed, or null.
    const ToolSource* SourceOf(ToolWindow tool, Feed feed) const;

    // A tool window passes an animation on to another (the origin-point window keeps the others
    // in step): given only when that window is open, with the hand-over's own source, so the
    // window still closes with the view the animation first came from.
    void HandOver(ToolWindow tool, Feed feed, const AnimationHandOver& handOver);
    // The point the origin-point window edits, given only when that window is open.
    void HandOverPointIndex(ToolWindow tool, int point);
    // The window draws again (a point it shows moved), given only when that window is open.
    void Refresh(ToolWindow tool);
    // A building for a window's building mode (the animation window's composite mode, the
    // origin-point window's building points), given only when that window is open.
    void HandOverBuilding(ToolWindow tool, const BuildingHandOver& handOver);

    void AnimationClicked(const AnimationHandOver& handOver, bool control) override;
    void ShowRegistered(const RegisteredHandOver& handOver) override;
    void RegisteredListChanged(const ToolSource& source) override;
    void SetFireSource(AnimationDocument& document, const ToolSource& view) override;
    // Serves both the animation views and the building picture view.
    void SourceGone(const ToolSource& source) override;
    bool BuildingClicked(CFenwoldDoc& building, const ToolSource& view) override;

    const FireAnimationSource& FireSource() const { return fire_; }

private:
    friend class ToolWindowRegistration;
    enum class FeedKind { Animation, Registered, Building };
    // What one feed of one window holds: its source view, and an observation of the document it
    // came from (none for a registered animation).
    class FeedRecord;
    class FireObserver;
    struct WindowSlot {
        ToolWindowClient* client = nullptr;
        std::uint64_t serial = 0;
        std::array<std::unique_ptr<FeedRecord>, 2> feeds;
    };

    WindowSlot& Slot(ToolWindow tool) { return slots_[static_cast<std::size_t>(tool)]; }
    const WindowSlot& Slot(ToolWindow tool) const { return slots_[static_cast<std::size_t>(tool)]; }
    // The window went: forget it without calling it.
    void Closed(ToolWindow tool, std::uint64_t serial);
    void Record(ToolWindow tool, Feed feed, FeedKind kind, const ToolSource* source,
                Document* document);
    void OnFedDocumentEvent(ToolWindow tool, Feed feed, DocumentEvent event);
    void OnFireDocumentEvent(DocumentEvent event);
    void ClearFireSource();

    std::array<WindowSlot, kToolWindowCount> slots_;
    std::uint64_t nextSerial_ = 1;
    FireAnimationSource fire_;
    std::unique_ptr<FireObserver> fireObserver_;
};

} // namespace fenwold
