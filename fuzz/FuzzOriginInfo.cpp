// The origin info reader (.OID), applied to a unit with the counts the file names (when they
// are small): a file it refuses must leave the unit as it was.
#include "FuzzSupport.h"
#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "platform/ScriptedPlatform.h"
#include "unit/OriginInfoFile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using namespace fenwold;

namespace {

constexpr int kLargestUnit = 300;

std::vector<std::int64_t> Points(const UnitData& unit) {
    std::vector<std::int64_t> points(unit.unitPointX.begin(), unit.unitPointX.end());
    points.insert(points.end(), unit.unitPointY.begin(), unit.unitPointY.end());
    for (const auto& animation : unit.animations) {
        points.insert(points.end(), animation.pointX.begin(), animation.pointX.end());
        points.insert(points.end(), animation.pointY.begin(), animation.pointY.end());
    }
    for (const auto& group : unit.groups) {
        points.insert(points.end(), group.pointX.begin(), group.pointX.end());
        points.insert(points.end(), group.pointY.begin(), group.pointY.end());
    }
    return points;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    // The counts at offsets 36 (groups) and 40 (animations).
    fuzz::InputCursor counts(file.size() > 36 ? file.subspan(36) : std::span<const std::uint8_t>{});
    const int groups = counts.u16() % (kLargestUnit + 1);
    counts.u16();
    const int animations = counts.u16() % (kLargestUnit + 1);
    UnitData unit;
    for (int a = 0; a < animations; ++a) {
        unit.AddAnimation({}).pointX[a % kPointCount] = static_cast<std::int16_t>(a + 1);
    }
    for (int g = 0; g < groups; ++g) {
        unit.AddGroup().pointY[g % kPointCount] = -g - 1;
    }
    unit.unitPointX[4] = 44;
    const auto before = Points(unit);

    ScriptedPlatform platform;
    BinaryReader in("fuzz.OID", file);
    try {
        ReadOriginInfo(unit, in, platform.prompts);
    } catch (const FileError&) {
        if (Points(unit) != before) {
            fuzz::Broken("a refused origin info file changed the unit");
        }
    }
    return 0;
}
