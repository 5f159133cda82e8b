#pragma once

#include "image/Pixel.h"
#include "platform/Rect.h"
#include "teamcolour/TeamColour.h"

#include <span>
#include <string>

namespace fenwold {

// Paints one item of the team colour list into a buffer of `bufferWidth` pixels a row: the
// item's rectangle shrunk by one pixel filled with the table's 32 entries as equal cells, framed
// in black. The window then writes the item's text (TeamColourItemText) centred in white over it
// and the focus rectangle on the selected item.
void DrawTeamColourListItem(std::span<Pixel555> buffer, int bufferWidth, int bufferHeight,
                            Rect item, const TeamColourTable& table);

std::string TeamColourItemText(int itemNumber);

} // namespace fenwold
