#pragma once

namespace fenwold {

// Keys as the windows take them: the virtual key codes of the Windows keyboard. Digits and
// letters are their upper-case characters ('0', 'R'); the window's toolkit side translates its
// own key events into these.
namespace key {
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kEnter = 0x0D;
inline constexpr int kEscape = 0x1B;
inline constexpr int kPageUp = 0x21;
inline constexpr int kPageDown = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kKeypadPlus = 0x6B;
inline constexpr int kKeypadMinus = 0x6D;
} // namespace key

} // namespace fenwold
