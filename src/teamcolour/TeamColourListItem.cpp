#include "teamcolour/TeamColourListItem.h"

#include <algorithm>

namespace fenwold {
namespace {

void Fill(std::span<Pixel555> buffer, int bufferWidth, int bufferHeight, Rect rect,
          Pixel555 colour) {
    const int left = std::max(rect.left, 0);
    const int right = std::min(rect.right, bufferWidth);
    const int top = std::max(rect.top, 0);
    const int bottom = std::min(rect.bottom, bufferHeight);
    for (int y = top; y < bottom; ++y) {
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(y) * bufferWidth + left,
                  buffer.begin() + static_cast<std::ptrdiff_t>(y) * bufferWidth + right, colour);
    }
}

} // namespace

void DrawTeamColourListItem(std::span<Pixel555> buffer, int bufferWidth, int bufferHeight,
                            Rect item, const TeamColourTable& table) {
    if (buffer.size() < static_cast<std::size_t>(std::max(bufferWidth, 0)) *
                            static_cast<std::size_t>(std::max(bufferHeight, 0))) {
        return;
    }
    const Rect inner{item.left + 1, item.top + 1, item.right - 1, item.bottom - 1};
    const float step = static_cast<float>(inner.width()) / kTeamColourEntries;
    for (int k = 0; k < kTeamColourEntries; ++k) {
        const int x0 = inner.left + static_cast<int>(k * step);
        const int x1 = inner.left + static_cast<int>((k + 1) * step);
        Fill(buffer, bufferWidth, bufferHeight, {x0, inner.top, x1, inner.bottom}, table[k]);
    }
    const Pixel555 black = 0;
    Fill(buffer, bufferWidth, bufferHeight, {item.left, item.top, item.right, item.top + 1}, black);
    Fill(buffer, bufferWidth, bufferHeight, {item.left, item.bottom - 1, item.right, item.bottom},
         black);
    Fill(buffer, bufferWidth, bufferHeight, {item.left, item.top, item.left + 1, item.bottom},
         black);
    Fill(buffer, bufferWidth, bufferHeight, {item.right - 1, item.top, item.right, item.bottom},
         black);
}

std::string TeamColourItemText(int itemNumber) {
    return std::to_string(itemNumber) + " color";
}

} // namespace fenwold
