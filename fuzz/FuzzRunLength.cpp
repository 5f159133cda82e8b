// The run-length unit file reader (.URE): every frame it returns must decode to its size.
#include "FuzzSupport.h"
#include "image/FrameStreams.h"
#include "platform/FileError.h"
#include "unit/RunLengthUnitFile.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace fenwold;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        for (const RegisteredAnimation& animation :
             ReadRunLengthUnitFile("fuzz.URE", std::span(data, size))) {
            for (const RegisteredFrame& frame : animation.frames) {
                if (!FramePixelStreamFits(frame.pixelStream, frame.width, frame.height) ||
                    !FrameAlphaStreamFits(frame.alphaStream, frame.width, frame.height)) {
                    fuzz::Broken("a frame read from a run-length unit file does not fit its size");
                }
            }
        }
    } catch (const FileError&) {
    }
    return 0;
}
