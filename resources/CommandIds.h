#pragma once

// Menu and toolbar command identifiers, kept as the tool has always numbered them so that every
// window agrees on them.
namespace fenwold::command {

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kAppAbout = 57664;

inline constexpr int kToolAnimation = 32810;
inline constexpr int kToolCheckBox = 32817;
inline constexpr int kToolSetOriginPoint = 32797;
inline constexpr int kToolAnimationEdit = 32825;

inline constexpr int kSaveUpt = 32855;
inline constexpr int kSaveUtdInfo = 32862;
inline constexpr int kOpenUtdInfo = 32863;
inline constexpr int kSaveUre = 32864;

} // namespace fenwold::command
