#pragma once

#include "building/BuildingTabView.h"
#include "platform/Document.h"

#include <optional>

namespace fenwold {

class CFenwoldDoc;
struct BuildingRecord;

// The "Clash" tab: the picture with every 16 x 16 cell of the clash grid outlined, green where
// the cell clashes and blue where it is free. The cell under the mouse is outlined red; a left
// click toggles the cell under the mouse.
class CSetAttribView1 final : public BuildingTabView, private DocumentObserver {
public:
    explicit CSetAttribView1(CFenwoldDoc& document);

    // Outside the picture, or within the cell last seen, nothing changes.
    void OnMouseMove(int x, int y) override;
    // Toggles the cell between free and clashing and marks the building modified; the cell then
    // shows its new state, not the red of the mouse.
    void OnLeftButtonDown(int x, int y) override;
    const BuildingViewPicture& Picture() override;

private:
    struct Cell {
        int row = 0;
        int column = 0;
        bool operator==(const Cell&) const = default;
    };
    static std::optional<Cell> CellAt(const BuildingRecord& record, int x, int y);
    // A new record starts with no cell seen.
    void OnDocumentEvent(DocumentEvent event) override;

    CFenwoldDoc& document_;
    // The cell of the last mouse position inside the picture.
    std::optional<Cell> lastCell_;
    // The cell outlined red: the last one the mouse entered, until it is clicked.
    std::optional<Cell> markedCell_;
    BuildingViewPicture picture_;
    DocumentObservation observation_;
};

} // namespace fenwold
