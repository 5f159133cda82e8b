#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace fenwold {

// "Temp buffer": the ten values of an animation's temp buffer, any signed numbers. Value 0 is also
// the loop start of the play sequence.
class CTempBufferDlg {
public:
    static constexpr int kValueCount = 10;
    // The edit boxes from top to bottom hold values 0 to 9 in this order of control ids.
    static constexpr std::uint32_t kControlIds[kValueCount] = {1141, 1142, 1144, 1150, 1143,
                                                               1145, 1149, 1146, 1148, 1147};

    std::array<std::int32_t, kValueCount> values{};

    // The value an edit box shows; a box that does not hold a whole number is refused on OK.
    static bool Parse(const std::string& text, std::int32_t& value);
};

} // namespace fenwold
