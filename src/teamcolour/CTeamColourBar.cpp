#include "teamcolour/CTeamColourBar.h"

#include <algorithm>
#include <cmath>

namespace fenwold {
namespace {

constexpr int kMarkerWidth = 9;
constexpr int kMarkerTop = 6;     // below the strip's bottom
constexpr int kMarkerBottom = 13; // exclusive
constexpr int kIconTop = 1;
constexpr int kMiddleClearWidth = 10;
constexpr int kMiddleClearHeight = 14;

Pixel555 ToPixel(KeyColour colour) {
    return ToPixel555(colour.red, colour.green, colour.blue);
}

} // namespace

CTeamColourBar::CTeamColourBar(Prompts& prompts, std::function<void()> onChange)
    : prompts_(prompts), onChange_(std::move(onChange)) {}

void CTeamColourBar::Attach(Rect client, Pixel555 background) {
    client_ = {0, 0, std::max(client.width(), 0), std::max(client.height(), 0)};
    strip_ = client;
    strip_.bottom = client.bottom + (2 * (client.top - client.bottom)) / 3;
    const int spare = (strip_.right - strip_.left) % kTeamColourEntries;
    strip_.left += spare / 2;
    strip_.right -= spare / 2;
    cellWidth_ = (strip_.right - strip_.left) / kTeamColourEntries;
    strip_.left -= client.left;
    strip_.right -= client.left;
    strip_.top -= client.top;
    strip_.bottom -= client.top;
    background_ = background;
    buffer_.assign(static_cast<std::size_t>(client_.width()) * client_.height(), background);
    paintedMiddleLeft_.reset();
}

int CTeamColourBar::MiddleMarkerLeft(int middleIndex) const {
    return middleIndex * cellWidth_ + strip_.left + cellWidth_ / 2 - 5;
}

Rect CTeamColourBar::MarkerRect(Marker marker) const {
    int left = strip_.left;
    if (marker == Marker::Middle) {
        left = MiddleMarkerLeft(middle_);
    } else if (marker == Marker::End) {
        left = strip_.right - cellWidth_ + 1;
    }
    return {left, strip_.bottom + kMarkerTop, left + kMarkerWidth, strip_.bottom + kMarkerBottom};
}

void CTeamColourBar::SelectMiddle(int middleIndex) {
    // Selection bytes come from files unchecked; keep the index on the table.
    middle_ = std::clamp(middleIndex, 0, kTeamColourEntries - 1);
    if (table_ != nullptr) {
        keys_[0] = EntryColour((*table_)[0]);
        keys_[1] = EntryColour((*table_)[middle_]);
        keys_[2] = EntryColour((*table_)[kTeamColourEntries - 1]);
    }
    // Only reading: the end colour lies one step short of its key, so a rebuild here would pull
    // the table towards the middle every time it is shown.
    Paint();
}

void CTeamColourBar::RegenerateTable() {
    if (table_ == nullptr) {
        return;
    }
    fenwold::RegenerateTable(*table_, middle_, keys_[0], keys_[1], keys_[2]);
    Paint();
    if (onChange_) {
        onChange_();
    }
}

int CTeamColourBar::CellAt(int x) const {
    if (x < strip_.left) {
        return 0;
    }
    if (x >= strip_.right || cellWidth_ == 0) {
        return kTeamColourEntries - 1;
    }
    return std::min((x - strip_.left) / cellWidth_, kTeamColourEntries - 1);
}

void CTeamColourBar::LeftButtonDown(int x, int y) {
    for (const Marker marker : {Marker::Start, Marker::Middle, Marker::End}) {
        if (MarkerRect(marker).contains(x, y)) {
            auto& key = keys_[static_cast<int>(marker)];
            if (const auto chosen = prompts_.AskColour(key)) {
                key = *chosen;
                RegenerateTable();
            }
            return;
        }
    }
    dragging_ = true;
    MoveMiddleTo(x);
}

void CTeamColourBar::MouseMove(int x, int /*y*/) {
    if (dragging_) {
        MoveMiddleTo(x);
    }
}

void CTeamColourBar::MoveMiddleTo(int x) {
    middle_ = CellAt(x);
    RegenerateTable();
}

void CTeamColourBar::FillRect(Rect rect, Pixel555 colour) {
    const int left = std::max(rect.left, 0);
    const int right = std::min(rect.right, client_.width());
    const int top = std::max(rect.top, 0);
    const int bottom = std::min(rect.bottom, client_.height());
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            buffer_[static_cast<std::size_t>(y) * client_.width() + x] = colour;
        }
    }
}

// A small black pointer above the marker's colour box.
void CTeamColourBar::DrawMarkerIcon(int left, int top) {
    for (int row = 0; row < 4; ++row) {
        FillRect({left + 4 - row, top + row, left + 5 + row, top + row + 1}, 0);
    }
}

void CTeamColourBar::Paint() {
    if (buffer_.empty()) {
        return;
    }
    if (table_ != nullptr) {
        const float step = static_cast<float>(strip_.right - strip_.left) / kTeamColourEntries;
        for (int k = 0; k < kTeamColourEntries; ++k) {
            const int x0 = static_cast<int>(static_cast<float>(strip_.left) + k * step);
            const int x1 = static_cast<int>(static_cast<float>(strip_.left) + (k + 1) * step);
            // One column between neighbouring cells stays unpainted.
            FillRect({x0, strip_.top, x1 - 1, strip_.bottom}, (*table_)[k]);
        }
    }
    if (paintedMiddleLeft_) {
        FillRect({*paintedMiddleLeft_, strip_.bottom + kIconTop,
                  *paintedMiddleLeft_ + kMiddleClearWidth,
                  strip_.bottom + kIconTop + kMiddleClearHeight},
                 background_);
    }
    for (const Marker marker : {Marker::Start, Marker::Middle, Marker::End}) {
        const Rect rect = MarkerRect(marker);
        FillRect(rect, ToPixel(keys_[static_cast<int>(marker)]));
        DrawMarkerIcon(rect.left, strip_.bottom + kIconTop);
    }
    paintedMiddleLeft_ = MarkerRect(Marker::Middle).left;
}

} // namespace fenwold
