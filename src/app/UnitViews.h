#pragma once

#include "app/FrameListWidget.h"
#include "platform/Platform.h"
#include "unit/CSetAnimationView.h"
#include "unit/CUnitView.h"
#include "unit/RegistrationHost.h"

#include <memory>

namespace fenwold {

class CUnitDoc;
class ToolWindows;

// The "VQ compression" tab: the window of a CUnitView.
class UnitViewWidget final : public FrameListWidget, public UnitViewHost {
public:
    UnitViewWidget(QWidget* parent, CUnitDoc& document, ToolWindows& tools);
    ~UnitViewWidget() override;

    CUnitView& view() { return *view_; }

protected:
    void SetClientSize(int width, int height) override { view_->SetClientSize(width, height); }
    void SetScrollPosition(int y) override { view_->SetScrollPosition(y); }
    ScrollSize GetScrollSize() const override { return view_->GetScrollSize(); }
    std::vector<FramePicture> RenderVisibleFrames() const override {
        return view_->RenderVisibleFrames();
    }
    void PaintOverlays(WindowPainter& window) const override { view_->PaintOverlays(window); }
    void MouseMoved(int x, int y) override;
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
    std::unique_ptr<CUnitView> view_;
};

// The "Set animation" tab: the window of a CSetAnimationView, with its dialogs. The animation
// player is not part of the program yet, so it is never open.
class SetAnimationViewWidget final : public FrameListWidget,
                                     public RegistrationViewHost,
                                     public AnimationPlayerHost {
public:
    SetAnimationViewWidget(QWidget* parent, Platform platform, CUnitDoc& document);
    ~SetAnimationViewWidget() override;

    CSetAnimationView& view() { return *view_; }

protected:
    void SetClientSize(int width, int height) override { view_->SetClientSize(width, height); }
    void SetScrollPosition(int y) override { view_->SetScrollPosition(y); }
    ScrollSize GetScrollSize() const override { return view_->GetScrollSize(); }
    std::vector<FramePicture> RenderVisibleFrames() const override {
        return view_->RenderVisibleFrames();
    }
    void PaintOverlays(WindowPainter& window) const override { view_->PaintOverlays(window); }
    void MouseMoved(int x, int y) override;
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
    std::unique_ptr<CSetAnimationView> view_;
};

} // namespace fenwold
