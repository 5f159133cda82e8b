#include "teamcolour/TeamColourEditor.h"

#include "teamcolour/TeamColourFile.h"

#include <algorithm>

namespace fenwold {

TeamColourEditor::TeamColourEditor(Platform platform, const TeamColours& colours,
                                   std::function<void()> shownTableChanged)
    : platform_(platform), colours_(colours), shownTableChanged_(std::move(shownTableChanged)),
      bar_(platform.prompts, [this] { BarChanged(); }) {}

void TeamColourEditor::Open(Rect barClient, Pixel555 background) {
    bar_.Attach(barClient, background);
    SelectTable(0);
}

void TeamColourEditor::SelectTable(int table) {
    current_ = std::clamp(table, 0, kTeamColourTableCount - 1);
    bar_.SetTable(&colours_.tables[current_]);
    bar_.SelectMiddle(colours_.selection[current_]);
    if (shownTableChanged_) {
        shownTableChanged_();
    }
}

void TeamColourEditor::BarChanged() {
    colours_.selection[current_] = static_cast<std::uint8_t>(bar_.MiddleIndex());
    if (shownTableChanged_) {
        shownTableChanged_();
    }
}

bool TeamColourEditor::Load() {
    if (!LoadTeamColours(platform_, colours_)) {
        return false;
    }
    // The list and the preview follow the bar to table 0, so the next edit lands in the table
    // that is shown.
    SelectTable(0);
    return true;
}

bool TeamColourEditor::Save() const {
    return SaveTeamColours(platform_, colours_);
}

} // namespace fenwold
