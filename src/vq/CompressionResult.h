#pragma once

#include "image/RegisteredAnimation.h"

#include <cstdint>
#include <vector>

namespace fenwold {

// One frame's encoded alpha table: rows of the 7-bit scheme (no mask plane) or the 6-bit run
// scheme (mask plane), each row framed by its length prefix.
struct EncodedAlphaTable {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> bytes;
};

// What the compression produces for one registered animation: a copy of its fields and its
// encoded tables, one index table per group of four frames and one alpha table per frame.
struct EncodedAnimation {
    RegisteredAnimationFields fields;
    std::vector<std::vector<std::uint8_t>> indexTables;
    std::vector<EncodedAlphaTable> alphaTables;
};

// A finished compression: the lookup table (48 bytes an entry: 16 pixels of blue, green, red,
// each a 5-bit value in a byte) and the encoded animations in registration order.
struct CompressionResult {
    std::int32_t entryCount = 0;
    std::vector<std::uint8_t> lookupTable;
    std::vector<EncodedAnimation> animations;
    float error = 0.0f;
};

// The document that receives a finished compression (a unit or a building). It may refuse a
// result it cannot hold: it then tells the user why, changes nothing and returns false.
class CompressionResultSink {
public:
    virtual ~CompressionResultSink() = default;
    virtual bool AcceptCompressionResult(CompressionResult result) = 0;
};

} // namespace fenwold
