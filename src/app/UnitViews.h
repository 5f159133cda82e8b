#pragma once

#include "app/FrameListWidget.h"
#include "platform/Platform.h"
#include "unit/CSetAnimationView.h"
#include "unit/CUnitView.h"
#include "unit/RegistrationHost.h"

namespace fenwold {

class CUnitDoc;
class ToolWindows;

// The "VQ compression" tab: the window of a CUnitView.
class UnitViewWidget final : public FrameViewWidget<CUnitView>, public UnitViewHost {
public:
    UnitViewWidget(QWidget* parent, CUnitDoc& document, ToolWindows& tools);
    ~UnitViewWidget() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool IsToolOpen(ToolWindow tool) const override;
    void HandOver(ToolWindow tool, const UnitHandOver& handOver, const CUnitView& source) override;
    void ForgetView(const CUnitView& source) override;
    void SetFireSource(const FireAnimationSource& source) override;
    bool RunPropertiesDialog(RegistrationProperties& values) override;
    bool RunTempBufferDialog(TempBufferValues& values) override;
    void Repaint() override { Refresh(); }

    ToolWindows& tools_;
};

// The "Set animation" tab: the window of a CSetAnimationView, with its dialogs. The animation
// player is not part of the program yet, so it is never open.
class SetAnimationViewWidget final : public FrameViewWidget<CSetAnimationView>,
                                     public RegistrationViewHost,
                                     public AnimationPlayerHost {
public:
    SetAnimationViewWidget(QWidget* parent, Platform platform, CUnitDoc& document);
    ~SetAnimationViewWidget() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::optional<AnimationRegistryResult> RunAnimationRegistry() override;
    std::vector<std::string> RunFileSpecial(const FileDialogRequest& request) override;
    bool RunLookupTableDialog(CSetLookupTableDlg& dialog) override;
    bool RunVqComputeDialog(CVqComputeDlg& dialog) override;
    bool RunPropertiesDialog(RegistrationProperties& values) override;
    bool RunTempBufferDialog(TempBufferValues& values) override;
    void Repaint() override { Refresh(); }

    bool IsOpen() const override { return false; }
    void ShowRegistered(const RegisteredAnimation&, const CSetAnimationView&) override {}
    void Forget(const RegisteredAnimation&) override {}
    void CloseWindowsOf(const CSetAnimationView&) override {}

    Platform platform_;
};

} // namespace fenwold
