// Targa pictures: the reader that keeps the file's pixels, the one that reads straight into the
// working form, and the mask planes made from the first.
#include "FuzzSupport.h"
#include "image/PictureReading.h"
#include "image/TgaReader.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace fenwold;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const CTgaReader reader(file);
    Picture555 picture;
    if (ReadPicture555(file, picture) != reader.error()) {
        fuzz::Broken("the two Targa readers disagree about a file");
    }
    if (!reader.HasAlpha()) {
        return 0;
    }
    const auto n = static_cast<std::size_t>(reader.width()) * reader.height();
    if (reader.pixels().size() != n || reader.alpha().size() != n || picture.pixels.size() != n ||
        picture.alpha.size() != n || picture.width != reader.width() ||
        picture.height != reader.height()) {
        fuzz::Broken("a Targa picture was read with planes of the wrong size");
    }
    if (ReadMaskPlane(reader, MaskKind::Unit).size() != n ||
        ReadMaskPlane(reader, MaskKind::Building).size() != n) {
        fuzz::Broken("a mask plane has the wrong size");
    }
    return 0;
}
