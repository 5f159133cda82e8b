// The building file reader (.BPT and 6.BPT, versions 7 and 8) with the table check the document
// makes.
#include "FuzzSupport.h"
#include "building/BuildingFile.h"
#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "unit/UnitRecordIo.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace fenwold;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BinaryReader in("fuzz.BPT", std::span(data, size));
    try {
        BuildingFileContent content = ReadBuildingFile(in);
        const BuildingRecord& record = content.record;
        const std::size_t pixels = record.PixelCount();
        if (record.picture.size() != pixels || record.alpha.size() != pixels ||
            record.teamIndex.size() != pixels || record.teamMask.size() != pixels) {
            fuzz::Broken("a building was read with planes of the wrong size");
        }
        content.animations.Renumber();
        CheckEncodedTables(content.animations, in.name());
        fuzz::DrawEveryFrame(content.animations);
    } catch (const FileError&) {
    }
    return 0;
}
