// Targa pictures: the reader that keeps the file's pixels, the one that reads straight into the
// working form, the outline and the mask form read straight from the file.
#include "FuzzSupport.h"
#include "image/PictureBox.h"
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
    PictureOutline outline;
    if (ReadPictureOutline(file, outline) != tga::kNoError || outline.width != picture.width ||
        outline.height != picture.height || outline.missingPixels != picture.missingPixels ||
        outline.visible != OpaqueBox(picture.alpha, picture.width, picture.height)) {
        fuzz::Broken("a picture's outline differs from the picture read");
    }
    for (const MaskKind kind : {MaskKind::Unit, MaskKind::Building}) {
        MaskPicture mask;
        if (ReadMaskPicture(file, kind, mask) != tga::kNoError || mask.plane.size() != n ||
            mask.missingPixels != reader.missingPixels()) {
            fuzz::Broken("a mask picture has the wrong size");
        }
    }
    return 0;
}
