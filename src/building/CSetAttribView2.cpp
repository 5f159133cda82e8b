#include "building/CSetAttribView2.h"

#include "building/BuildingDisplay.h"
#include "building/CFenwoldDoc.h"
#include "image/PreviewDrawing.h"
#include "platform/VirtualKeys.h"

#include <algorithm>

namespace fenwold {

namespace {
constexpr Pixel555 kTileOutline = 0x001F; // blue
constexpr Pixel555 kAreaTint = 0x7C00;    // red
} // namespace

bool* CSetAttribView2::FlagOf(int key) {
    switch (key) {
    case key::kLeft:
        return &left_;
    case key::kRight:
        return &right_;
    case key::kUp:
        return &up_;
    case key::kDown:
        return &down_;
    case key::kControl:
        return &control_;
    default:
        return nullptr;
    }
}

void CSetAttribView2::OnFocusLost() {
    left_ = right_ = up_ = down_ = control_ = false;
    picture_ = {};
}

void CSetAttribView2::OnKeyDown(int key) {
    if (document_.Record() == nullptr) {
        return;
    }
    if (bool* flag = FlagOf(key)) {
        *flag = true;
    }
    document_.SetModifiedFlag(true);
}

void CSetAttribView2::OnKeyUp(int key) {
    if (bool* flag = FlagOf(key)) {
        *flag = false;
    }
}

bool CSetAttribView2::StepArea(BuildingRecord& record) const {
    auto& [left, top, right, bottom] = record.area;
    const auto before = record.area;
    if (control_) {
        if (left_) {
            right = std::max(right - 1, left);
        }
        if (right_) {
            right = std::min(right + 1, record.tileColumns);
        }
        if (up_) {
            bottom = std::max(bottom - 1, top);
        }
        if (down_) {
            bottom = std::min(bottom + 1, record.tileRows);
        }
    } else {
        if (left_) {
            left = std::max(left - 1, 0);
        }
        if (right_) {
            left = std::min(left + 1, right);
        }
        if (up_) {
            top = std::max(top - 1, 0);
        }
        if (down_) {
            top = std::min(top + 1, bottom);
        }
    }
    return record.area != before;
}

void CSetAttribView2::Tick() {
    BuildingRecord* record = document_.Record();
    if (record == nullptr) {
        picture_ = {};
        return;
    }
    if (StepArea(*record)) {
        document_.SetModifiedFlag(true);
    }
    left_ = right_ = up_ = down_ = false;
    Draw(*record);
}

void CSetAttribView2::Draw(const BuildingRecord& record) {
    std::vector<Pixel555> pixels = BuildingDisplayPicture(document_);
    const int width = record.width;
    const int height = record.height;
    for (int row = 0; row < record.tileRows; ++row) {
        for (int column = 0; column < record.tileColumns; ++column) {
            DrawRect(width, height, kTileSize * column, kTileSize * row,
                     kTileSize * column + kTileSize - 1, kTileSize * row + kTileSize - 1, pixels,
                     kTileOutline);
        }
    }
    const auto [left, top, right, bottom] = record.area;
    TintRect(width, height, std::min(kTileSize * left, width - 1),
             std::min(kTileSize * top, height - 1), std::min(kTileSize * right, width - 1),
             std::min(kTileSize * bottom, height - 1), pixels, kAreaTint);
    picture_ = RecordSizedPicture(&record, std::move(pixels));
}

const BuildingViewPicture& CSetAttribView2::Picture() {
    if (document_.Record() == nullptr) {
        picture_ = {};
    }
    return picture_;
}

} // namespace fenwold
