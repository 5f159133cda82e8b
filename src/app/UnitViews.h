#pragma once

#include "app/FrameListWidget.h"
#include "platform/Platform.h"
#include "unit/CSetAnimationView.h"
#include "unit/CUnitView.h"
#include "unit/RegistrationHost.h"

namespace fenwold {

class AnimationDocument;
class CUnitDoc;
class ToolWindowSet;

// The "VQ compression" tab (a building's "VQ view"): the window of a CUnitView.
class UnitViewWidget final : public FrameViewWidget<CUnitView>, public UnitViewHost {
public:
    UnitViewWidget(QWidget* parent, Platform platform, AnimationDocument& document,
                   ToolWindowSet& toolWindows);
    ~UnitViewWidget() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void RunContextMenu(QPoint globalPosition) override;

private:
    bool RunPropertiesDialog(CPropertiesDlg& dialog) override;
    bool RunTempBufferDialog(CTempBufferDlg& dialog) override;
    void RunTeamColourDialog(const AnimationHandOver& current) override;
    void RunGroupEditor(CUnitDoc& unit) override;
    void RunAlphaValueChange(CUnitDoc& unit, int position) override;
    void Repaint() override { Refresh(); }

    Platform platform_;
    ToolWindowSet& toolWindows_;
};

// The "Set animation" tab: the window of a CSetAnimationView, with its dialogs.
class SetAnimationViewWidget final : public FrameViewWidget<CSetAnimationView>,
                                     public RegistrationViewHost {
public:
    SetAnimationViewWidget(QWidget* parent, Platform platform, CUnitDoc& document,
                           ToolHandOvers& tools);
    // A building window's "Set animation": the results go to the building.
    SetAnimationViewWidget(QWidget* parent, Platform platform, BuildingRegistration building,
                           ToolHandOvers& tools);
    ~SetAnimationViewWidget() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void RunContextMenu(QPoint globalPosition) override;

private:
    std::optional<AnimationRegistryResult> RunAnimationRegistry() override;
    PictureSeries RunFileSpecial(const FileDialogRequest& request) override;
    bool RunLookupTableDialog(CSetLookupTableDlg& dialog) override;
    bool RunVqComputeDialog(CVqComputeDlg& dialog) override;
    bool RunPropertiesDialog(CPropertiesDlg& dialog) override;
    bool RunTempBufferDialog(CTempBufferDlg& dialog) override;
    void Repaint() override { Refresh(); }

    Platform platform_;
};

} // namespace fenwold
