// The unit tool data reader (.UTD, versions 5 and 6) with the table check the documents make.
#include "FuzzSupport.h"
#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitRecordIo.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace fenwold;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BinaryReader in("fuzz.UTD", std::span(data, size));
    try {
        UnitData unit = ReadToolData(in);
        unit.Renumber();
        CheckEncodedTables(unit, in.name());
        fuzz::DrawEveryFrame(unit);
    } catch (const FileError&) {
    }
    return 0;
}
