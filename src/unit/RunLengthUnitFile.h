#pragma once

#include "image/RegisteredAnimation.h"
#include "platform/BinaryReader.h"

#include <cstdint>
#include <filesystem>
#include <list>
#include <span>
#include <string>
#include <vector>

namespace fenwold {

inline constexpr const char* kRunLengthUnitMagic = "RLE Encode File";
inline constexpr const char* kRunLengthUnitFilter = "Unit RLE화일 (*.ure)|*.ure||";

// The registered animations before compression: sequences, points, check boxes, temp buffers and
// every frame as an alpha-keyed colour stream, once in Pixel555 and once in Pixel565. Masks,
// group numbers and positions are not stored.
std::vector<std::uint8_t> EncodeRunLengthUnitFile(const std::list<RegisteredAnimation>& animations);

// Writes the file atomically; raises FileError.
void WriteRunLengthUnitFile(const std::filesystem::path& path,
                            const std::list<RegisteredAnimation>& animations);

// Reads the Pixel555 part back into registered animations (numbered 0, 1, ...; no masks). Every
// count, offset and stream is checked first, and the Pixel565 part must be whole too: a bad file
// raises FileError and nothing is returned.
std::list<RegisteredAnimation> ReadRunLengthUnitFile(const std::filesystem::path& path);
std::list<RegisteredAnimation> ReadRunLengthUnitFile(const std::string& name,
                                                     std::span<const std::uint8_t> bytes);
// The same from a reader, which is left after the Pixel565 part.
std::list<RegisteredAnimation> ReadRunLengthUnitFile(BinaryReader& in);

} // namespace fenwold
