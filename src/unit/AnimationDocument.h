#pragma once

#include "platform/Document.h"
#include "unit/UnitData.h"
#include "vq/CompressionResult.h"

namespace fenwold {

// A document that holds compressed animations with their codebook and team colours: a unit, or a
// building (whose groups and unit points stay unused). The views that draw compressed frames and
// the tool windows borrow it, and hear through its observers when the animations are replaced.
class AnimationDocument : public Document, public CompressionResultSink {
public:
    using Document::Document;

    UnitData& Animations() { return data_; }
    const UnitData& Animations() const { return data_; }

protected:
    UnitData data_;
};

} // namespace fenwold
