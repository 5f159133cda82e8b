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

// "Temp buffer": the ten values of an animation's temp buffer, any signed numbers. Value 0 is also
// the loop start of the play sequence.
class CTempBufferDlg {
public:
    static constexpr int kValueCount = 10;
    // The edit boxes from top to bottom hold values 0 to 9 in this order of control ids.
    static constexpr std::uint32_t kControlIds[kValueCount] = {1141, 1142, 1144, 1150, 1143,
                                                               1145, 1149, 1146, 1148, 1147};

    std::int32_t values[kValueCount] = {};

    // The value an edit box shows; a box that does not hold a whole number is refused on OK.
    static bool Parse(const std::string& text, std::int32_t& value);
};

} // namespace fenwold
