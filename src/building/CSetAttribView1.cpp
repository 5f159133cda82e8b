#include "building/CSetAttribView1.h"

#include "building/BuildingDisplay.h"
#include "building/CFenwoldDoc.h"
#include "image/PreviewDrawing.h"

#include <algorithm>

namespace fenwold {

namespace {

constexpr Pixel555 kClashOutline = ToPixel555(0, 255, 0);
constexpr Pixel555 kFreeOutline = ToPixel555(0, 0, 255);
constexpr Pixel555 kMouseOutline = ToPixel555(255, 0, 0);

// Two nested one-pixel rectangles along the cell's edge.
void OutlineCell(BuildingViewPicture& shown, int row, int column, Pixel555 colour) {
    const int x0 = kClashCellSize * column;
    const int y0 = kClashCellSize * row;
    const int x1 = x0 + kClashCellSize - 1;
    const int y1 = y0 + kClashCellSize - 1;
    DrawRect(shown.width, shown.height, x0, y0, x1, y1, shown.pixels, colour);
    DrawRect(shown.width, shown.height, x0 + 1, y0 + 1, x1 - 1, y1 - 1, shown.pixels, colour);
}

} // namespace

CSetAttribView1::CSetAttribView1(CFenwoldDoc& document) : document_(document) {
    observation_.Observe(document, *this);
}

void CSetAttribView1::OnDocumentEvent(DocumentEvent event) {
    if (event == DocumentEvent::BuildingRecordReplaced) {
        lastCell_.reset();
        markedCell_.reset();
    }
}

std::optional<CSetAttribView1::Cell> CSetAttribView1::CellAt(const BuildingRecord& record, int x,
                                                             int y) {
    if (x < 0 || y < 0 || x >= record.width || y >= record.height) {
        return std::nullopt;
    }
    const Cell cell{y / kClashCellSize, x / kClashCellSize};
    if (cell.row >= kClashGridSize || cell.column >= kClashGridSize) {
        return std::nullopt;
    }
    return cell;
}

void CSetAttribView1::OnMouseMove(int x, int y) {
    const BuildingRecord* record = document_.Record();
    if (record == nullptr) {
        return;
    }
    const std::optional<Cell> cell = CellAt(*record, x, y);
    if (!cell || cell == lastCell_) {
        return;
    }
    lastCell_ = cell;
    markedCell_ = cell;
}

void CSetAttribView1::OnLeftButtonDown(int x, int y) {
    BuildingRecord* record = document_.Record();
    if (record == nullptr) {
        return;
    }
    const std::optional<Cell> cell = CellAt(*record, x, y);
    if (!cell) {
        return;
    }
    std::uint8_t& clash = record->clash[cell->row][cell->column];
    clash = clash == 0 ? 1 : 0;
    if (markedCell_ == cell) {
        markedCell_.reset();
    }
    document_.SetModifiedFlag(true);
}

const BuildingViewPicture& CSetAttribView1::Picture() {
    const BuildingRecord* record = document_.Record();
    picture_ = RecordSizedPicture(record, BuildingDisplayPicture(document_));
    if (record == nullptr) {
        return picture_;
    }
    const int rows = std::min(record->height / kClashCellSize, kClashGridSize);
    const int columns = std::min(record->width / kClashCellSize, kClashGridSize);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const bool clashes = record->clash[row][column] != 0;
            OutlineCell(picture_, row, column, clashes ? kClashOutline : kFreeOutline);
        }
    }
    if (markedCell_) {
        OutlineCell(picture_, markedCell_->row, markedCell_->column, kMouseOutline);
    }
    return picture_;
}

} // namespace fenwold
