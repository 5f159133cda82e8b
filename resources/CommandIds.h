#pragma once

// Menu and toolbar command identifiers, kept as the tool has always numbered them, in one place
// so that every window and menu agrees on them. The core's command tables and the Qt menus both
// use these.
namespace fenwold::command {

// File and Help menus.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kAppAbout = 57664;
inline constexpr int kSaveUpt = 32855;
inline constexpr int kSaveUtdInfo = 32862;
inline constexpr int kOpenUtdInfo = 32863;
inline constexpr int kSaveUre = 32864;

// Tools menu.
inline constexpr int kToolAnimation = 32810;
inline constexpr int kToolCheckBox = 32817;
inline constexpr int kToolSetOriginPoint = 32797;
inline constexpr int kToolAnimationEdit = 32825;

// The registration view's context menu (160).
inline constexpr int kRegistrationAni = 32780;
inline constexpr int kRegistrationMask = 32813;
inline constexpr int kAddAnimation = 32818;
inline constexpr int kAddMask = 32819;
inline constexpr int kChangeAnimation = 32793;
inline constexpr int kHoldAnimation = 32796;
inline constexpr int kDeleteAnimation = 32784;
inline constexpr int kDeleteFrame = 32785;
inline constexpr int kVqCompute = 32789;

// The unit view's context menu (191).
inline constexpr int kFireSetting = 32849;
inline constexpr int kSetGroup = 32851;
inline constexpr int kSetTeamColour = 32861;
inline constexpr int kAlphaValueChange = 32858;

// The animation edit window's sequence menu (198).
inline constexpr int kSetDelay = 32826;
inline constexpr int kDeleteEntries = 32827;
inline constexpr int kSetAttrib = 32836;
inline constexpr int kSetLoop = 32847;
inline constexpr int kSetAlphaValue = 32859;

// The animation window's menu (221).
inline constexpr int kBackAnimation = 32865;
inline constexpr int kShowGrid = 32866;
inline constexpr int kLoadBackground = 32867;
inline constexpr int kShowCrosshair = 32868;

// The building picture view's context menu (199).
inline constexpr int kOpenBuilding = 32823;
inline constexpr int kOpenMask = 32824;
inline constexpr int kTeamColourSetting = 32821;

// In both view menus.
inline constexpr int kSetTempBuffer = 32844;
inline constexpr int kProperties = 32795;

} // namespace fenwold::command
