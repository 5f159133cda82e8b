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

class CPropertiesDlg;
class CSetLookupTableDlg;
class CTempBufferDlg;
class CVqComputeDlg;

// What the animation registry dialog hands back on "Registion": with "Set Group" off the series
// registered one by one, with it on the groups, each the series of its sub-folders in order.
struct AnimationRegistryResult {
    bool setGroup = false;
    int totalFileCount = 0; // over every series registered
    std::vector<PictureSeries> series;
    std::vector<std::vector<PictureSeries>> groups;
};

// The window around a registration view: its modal dialogs and its repaint. Each Run method
// runs the dialog on its model and tells whether it closed with OK.
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
    virtual bool RunPropertiesDialog(CPropertiesDlg& dialog) = 0;
    virtual bool RunTempBufferDialog(CTempBufferDlg& dialog) = 0;
    virtual void Repaint() = 0;
};

} // namespace fenwold
