#pragma once

#include <cstdint>
#include <string>

namespace fenwold {

// "Properties": the size of the current animation, the counts of the unit, and the animation from
// which the view starts drawing, chosen with a spin from 0 to animation count - 1. OK hands the
// chosen start back to the view; nothing in the document changes.
class CPropertiesDlg {
public:
    std::int32_t animationCount = 0;
    std::int32_t totalFrameCount = 0;
    std::int32_t startAnimation = 0;
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t codebookSize = 0;

    int SpinMinimum() const { return 0; }
    int SpinMaximum() const { return animationCount - 1; }
    // Moving the spin: the start takes its position, kept inside the spin's range.
    void MoveSpin(int position);
    // The text of each static, "%d".
    static std::string Text(std::int32_t value) { return std::to_string(value); }
};

} // namespace fenwold
