// The team colour file reader (.UTC).
#include "FuzzSupport.h"
#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "teamcolour/TeamColourFile.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace fenwold;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BinaryReader in("fuzz.UTC", std::span(data, size));
    try {
        ReadTeamColourFile(in);
        if (size < kTeamColourFileSize) {
            fuzz::Broken("a short team colour file was taken");
        }
    } catch (const FileError&) {
        if (size >= kTeamColourFileSize) {
            fuzz::Broken("a whole team colour file was refused");
        }
    }
    return 0;
}
