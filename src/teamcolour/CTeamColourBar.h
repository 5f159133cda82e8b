#pragma once

#include "image/Pixel.h"
#include "platform/Prompts.h"
#include "platform/Rect.h"
#include "teamcolour/TeamColourGradient.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace fenwold {

// The gradient editor of a team colour table: a strip of 32 colour cells across the top third of
// the control with three markers below it (start, middle, end). Dragging moves the middle index,
// clicking a marker picks its key colour; every change rebuilds the table and tells the owner.
// It paints into its own Pixel555 buffer, which the window shows as it is.
class CTeamColourBar {
public:
    enum class Marker { Start, Middle, End };

    CTeamColourBar(Prompts& prompts, std::function<void()> onChange);

    // Fixes the geometry from the client rectangle and fills the buffer with the dialog's
    // background colour (the control never erases its background itself).
    void Attach(Rect client, Pixel555 background);
    void SetTable(TeamColourTable* table) { table_ = table; }

    // Takes the middle index and the key colours from the table and repaints; the table itself
    // changes only by a drag or a colour pick.
    void SelectMiddle(int middleIndex);
    int MiddleIndex() const { return middle_; }
    void RegenerateTable();

    void LeftButtonDown(int x, int y);
    void MouseMove(int x, int y);
    void LeftButtonUp() { dragging_ = false; }
    bool dragging() const { return dragging_; }

    int CellAt(int x) const;
    const Rect& strip() const { return strip_; }
    int cellWidth() const { return cellWidth_; }
    Rect MarkerRect(Marker marker) const;
    KeyColour keyColour(Marker marker) const { return keys_[static_cast<int>(marker)]; }

    void Paint();
    std::span<const Pixel555> buffer() const { return buffer_; }
    int bufferWidth() const { return client_.width(); }
    int bufferHeight() const { return client_.height(); }

private:
    void MoveMiddleTo(int x);
    void FillRect(Rect rect, Pixel555 colour);
    void DrawMarkerIcon(int left, int top);
    int MiddleMarkerLeft(int middleIndex) const;

    Prompts& prompts_;
    std::function<void()> onChange_;
    TeamColourTable* table_ = nullptr;
    int middle_ = kDefaultMiddleIndex;
    std::array<KeyColour, 3> keys_{};
    Rect client_;
    Rect strip_;
    int cellWidth_ = 0;
    Pixel555 background_ = 0;
    std::optional<int> paintedMiddleLeft_;
    bool dragging_ = false;
    std::vector<Pixel555> buffer_;
};

} // namespace fenwold
