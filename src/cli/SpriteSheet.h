#pragma once

#include "building/BuildingRecord.h"
#include "image/Pixel.h"
#include "teamcolour/TeamColour.h"
#include "unit/UnitData.h"

#include <cstdint>
#include <vector>

namespace fenwold::cli {

// One picture of a sprite sheet in straight (not premultiplied) alpha, and where it went.
struct SheetPicture {
    int width = 0; // the untrimmed picture
    int height = 0;
    std::vector<Pixel555> pixels; // width x height, 0 where the alpha is 0
    std::vector<std::uint8_t> alpha;
    // The part that goes on the sheet: the whole picture, or its box of visible pixels.
    int keptX = 0;
    int keptY = 0;
    int keptWidth = 0;
    int keptHeight = 0;
    int sheetX = 0;
    int sheetY = 0;
};

// A compressed frame as the drawing routine draws it at full opacity, with team pixels from
// `teamTable` (the codebook pixel without one). A pixel drawn with weight w of 32 gets the alpha
// w / 32 of 255 and its colour undimmed; a pixel the drawing leaves (weight 1 changes nothing)
// gets alpha 0.
SheetPicture DrawFramePicture(const UnitData& data, const UnitAnimation& animation,
                              const AlphaTableNode& frame, const TeamColourTable* teamTable);

// The building picture with its alpha plane; team pixels from `teamTable`, or as the picture
// holds them without one.
SheetPicture BuildingPicture(const BuildingRecord& record, const TeamColourTable* teamTable);

// Keeps only the box of pixels whose alpha is not 0; a picture with none keeps its top-left
// pixel, so that every kept part has a size.
void TrimPicture(SheetPicture& picture);

struct SheetSize {
    int width = 0;
    int height = 0;
};

// Places the kept parts on shelves, tallest first, `spacing` pixels apart, never overlapping;
// the same pictures always land in the same places.
SheetSize PackPictures(std::vector<SheetPicture>& pictures, int spacing);

// The sheet: every kept part copied to its place, transparent elsewhere.
void ComposeSheet(const std::vector<SheetPicture>& pictures, SheetSize size,
                  std::vector<Pixel555>& pixels, std::vector<std::uint8_t>& alpha);

} // namespace fenwold::cli
