#pragma once

#include "platform/Platform.h"
#include "teamcolour/CTeamColourBar.h"
#include "teamcolour/TeamColour.h"

#include <functional>

namespace fenwold {

// What both team colour dialogs share: a copy of the document's selection and ten tables, the
// list of the ten tables with the one selected, the bar editing the selected table, and Load and
// Save of .UTC files. The document's colours change only when the dialog's owner copies
// Colours() back after OK.
class TeamColourEditor {
public:
    // The dialogs' context menus.
    static constexpr int kBuildingMenu = 229;
    static constexpr int kBuildingLoad = 32872;
    static constexpr int kBuildingSave = 32873;
    static constexpr int kUnitMenu = 182;
    static constexpr int kUnitLoad = 32816;
    static constexpr int kUnitSave = 32815;
    static constexpr int kUnitAnimationView = 32869; // offered, with no action
    static constexpr int kBarControl = 1189;
    static constexpr int kListControl = 1185;

    // `shownTableChanged` is called whenever the table shown (its number or its entries)
    // changed, for the list and the preview to repaint.
    TeamColourEditor(Platform platform, const TeamColours& colours,
                     std::function<void()> shownTableChanged);
    TeamColourEditor(const TeamColourEditor&) = delete;
    TeamColourEditor& operator=(const TeamColourEditor&) = delete;

    // The bar is attached (its client rectangle and the dialog's background): table 0 is shown.
    void Open(Rect barClient, Pixel555 background);
    // The list's selection moved to table `table` (0 to 9).
    void SelectTable(int table);
    int CurrentTable() const { return current_; }
    const TeamColourTable& ShownTable() const { return colours_.tables[current_]; }

    // A file dialog, then the file replaces every table and the selection; table 0 is selected
    // and shown. Returns whether a file was read.
    bool Load();
    bool Save() const;

    CTeamColourBar& Bar() { return bar_; }
    const TeamColours& Colours() const { return colours_; }

private:
    void BarChanged();

    Platform platform_;
    TeamColours colours_;
    std::function<void()> shownTableChanged_;
    CTeamColourBar bar_;
    int current_ = 0;
};

} // namespace fenwold
