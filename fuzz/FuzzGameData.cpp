// The unit game file reader (.UPT, versions 3 and 4) with the table check the documents make.
#include "FuzzSupport.h"
#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "unit/GameDataFile.h"
#include "unit/UnitRecordIo.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace fenwold;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BinaryReader in("fuzz.UPT", std::span(data, size));
    try {
        UnitData unit = ReadGameData(in);
        unit.Renumber();
        CheckEncodedTables(unit, in.name());
        fuzz::DrawEveryFrame(unit);
    } catch (const FileError&) {
    }
    return 0;
}
