#include "building/CTeamColourPreview.h"

#include "image/PreviewDrawing.h"

#include <algorithm>

namespace fenwold {

CTeamColourPreview::CTeamColourPreview(const BuildingRecord& record, int boxWidth, int boxHeight)
    : record_(record), bufferWidth_(std::max(boxWidth, 0) / 4 * 4 + 4),
      bufferHeight_(std::max(boxHeight, 0)),
      buffer_(static_cast<std::size_t>(bufferWidth_) * bufferHeight_, 0) {}

void CTeamColourPreview::Paint() {
    std::fill(buffer_.begin(), buffer_.end(), 0);
    const int x = bufferWidth_ / 2 - record_.width / 2;
    const int y = bufferHeight_ / 2 - record_.height / 2;
    DrawImage(bufferWidth_, bufferHeight_, x, y, record_.width, record_.height, record_.picture,
              buffer_);
    if (table_ != nullptr && record_.HasTeamPlanes()) {
        DrawIndexedImage(bufferWidth_, bufferHeight_, x, y, record_.width, record_.height, buffer_,
                         record_.teamIndex, record_.teamMask, *table_);
    }
}

} // namespace fenwold
