#pragma once

#include "image/RegisteredAnimation.h"
#include "image/SeriesNames.h"
#include "platform/Prompts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fenwold {

class CSetLookupTableDlg;
class CVqComputeDlg;

// What the animation registry dialog hands back on "Registion": with "Set Group" off the series
// registered one by one, with it on the groups, each the series of its sub-folders in order.
struct AnimationRegistryResult {
    bool setGroup = false;
    int totalFileCount = 0; // over every series registered
    std::vector<PictureSeries> series;
    std::vector<std::vector<PictureSeries>> groups;
};

// What the "Properties" window shows for the registration view; OK hands the start back.
struct RegistrationProperties {
    std::int32_t animationCount = 0;
    std::int32_t totalFrameCount = 0;
    std::int32_t startAnimation = 0;
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t codebookSize = 0;
};

using TempBufferValues = std::array<std::int32_t, kTempBufferSize>;

// The window around a registration view: its modal dialogs and its repaint. Each Run method
// tells whether the dialog closed with OK; values passed in are changed only then.
class RegistrationViewHost {
public:
    virtual ~RegistrationViewHost() = default;
    // The animation registry dialog.
    virtual std::optional<AnimationRegistryResult> RunAnimationRegistry() = 0;
    // The series file dialog: the names its "Make List" put up, with the folder they were listed
    // in; no names after Cancel or without Make List.
    virtual PictureSeries RunFileSpecial(const FileDialogRequest& request) = 0;
    virtual bool RunLookupTableDialog(CSetLookupTableDlg& dialog) = 0;
    // Runs the compression window until it closes.
    virtual bool RunVqComputeDialog(CVqComputeDlg& dialog) = 0;
    virtual bool RunPropertiesDialog(RegistrationProperties& values) = 0;
    virtual bool RunTempBufferDialog(TempBufferValues& values) = 0;
    virtual void Repaint() = 0;
};

} // namespace fenwold
