#pragma once

#include "cli/Json.h"
#include "image/RegisteredAnimation.h"
#include "unit/UnitData.h"
#include "vq/Quality.h"

#include <list>
#include <ostream>
#include <string>

namespace fenwold::cli {

// What the compression of a unit lost, animation by animation, and what reading its pictures
// lost before that.
QualityFigures MeasureUnit(const std::list<RegisteredAnimation>& registered, const UnitData& data);

// An animation as messages name it: its position, and the picture its first frame came from.
std::string AnimationName(const RegisteredAnimation& animation, int index);

// The summary lines: the unit's figure and its worst animation, each animation's, and the
// reading's.
void PrintQuality(std::ostream& out, const QualityFigures& figures);

// The same for --json: "psnr" per animation, "psnr_unit", "worst_animation", "worst_psnr",
// "lossless", "reading_psnr" and "reading_measured" (animations whose pictures could be read
// again); a lossless figure is null.
void AddQualityJson(Json& json, const QualityFigures& figures);

} // namespace fenwold::cli
