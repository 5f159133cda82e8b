#include "app/UnitViews.h"

#include "app/AlphaChangeWindow.h"
#include "app/AnimationRegistryDialog.h"
#include "app/CommandMenu.h"
#include "app/GroupEditorWindow.h"
#include "app/QtWindowPainter.h"
#include "app/RegistrationWindows.h"
#include "app/TeamColourDialogs.h"
#include "app/ToolWindowSet.h"

#include <CommandIds.h>
#include <QMouseEvent>

namespace fenwold {

UnitViewWidget::UnitViewWidget(QWidget* parent, Platform platform, AnimationDocument& document,
                               ToolWindowSet& toolWindows)
    : FrameViewWidget(parent), platform_(platform), toolWindows_(toolWindows) {
    Own(std::make_unique<CUnitView>(platform, document, *this, toolWindows.hub()));
}

UnitViewWidget::~UnitViewWidget() {
    DestroyView(); // it tells this window, as its host, that it goes
}

void UnitViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        view_->OnLeftButtonDown(event->modifiers().testFlag(Qt::ControlModifier));
    }
}

void UnitViewWidget::RunContextMenu(QPoint globalPosition) {
    if (const auto chosen = ExecCommandMenu(this, view_->ContextMenu(), globalPosition)) {
        view_->OnCommand(*chosen);
    }
}

bool UnitViewWidget::RunPropertiesDialog(CPropertiesDlg& dialog) {
    return PropertiesDialog(this, dialog).exec() == QDialog::Accepted;
}

bool UnitViewWidget::RunTempBufferDialog(CTempBufferDlg& dialog) {
    return TempBufferDialog(this, dialog).exec() == QDialog::Accepted;
}

void UnitViewWidget::RunTeamColourDialog(const AnimationHandOver& current) {
    RunSetTeamColour(current, platform_, toolWindows_.hub(), toolWindows_.keys(),
                     [this](CTeamColourDlg& model) {
                         TeamColourDialog dialog(this, model, toolWindows_);
                         return dialog.exec() == QDialog::Accepted;
                     });
}

void UnitViewWidget::RunGroupEditor(CUnitDoc& unit) {
    RunSetGroupCommand(unit,
                       [this](CSetGroupDlg& dialog) { GroupEditorWindow(this, dialog).exec(); });
}

void UnitViewWidget::RunAlphaValueChange(CUnitDoc& unit, int position) {
    RunAlphaValueChangeCommand(unit, position, [this](CAlphaValueChangeDlg& dialog) {
        return AlphaChangeWindow(this, dialog).exec() == QDialog::Accepted;
    });
}

SetAnimationViewWidget::SetAnimationViewWidget(QWidget* parent, Platform platform,
                                               CUnitDoc& document, ToolHandOvers& tools)
    : FrameViewWidget(parent), platform_(platform) {
    Own(std::make_unique<CSetAnimationView>(platform, *this, tools, document));
}

SetAnimationViewWidget::SetAnimationViewWidget(QWidget* parent, Platform platform,
                                               BuildingRegistration building, ToolHandOvers& tools)
    : FrameViewWidget(parent), platform_(platform) {
    Own(std::make_unique<CSetAnimationView>(platform, *this, tools, std::move(building)));
}

SetAnimationViewWidget::~SetAnimationViewWidget() {
    DestroyView(); // it tells this window, as its host, that it goes
}

void SetAnimationViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        view_->OnLeftButtonDown();
    }
}

void SetAnimationViewWidget::RunContextMenu(QPoint globalPosition) {
    if (const auto chosen = ExecCommandMenu(this, view_->ContextMenu(), globalPosition)) {
        view_->OnCommand(*chosen);
    }
}

std::optional<AnimationRegistryResult> SetAnimationViewWidget::RunAnimationRegistry() {
    CAnimationRegistryDlg model(platform_.prompts, FolderTree::DefaultRoots());
    AnimationRegistryDialog dialog(this, model);
    return model.Close(dialog.exec() == QDialog::Accepted);
}

PictureSeries SetAnimationViewWidget::RunFileSpecial(const FileDialogRequest& request) {
    FileSpecialDialog dialog(this, request, platform_);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.series();
}

bool SetAnimationViewWidget::RunLookupTableDialog(CSetLookupTableDlg& model) {
    return LookupTableDialog(this, model).exec() == QDialog::Accepted;
}

bool SetAnimationViewWidget::RunVqComputeDialog(CVqComputeDlg& model) {
    return VqComputeDialog(this, model).exec() == QDialog::Accepted;
}

bool SetAnimationViewWidget::RunPropertiesDialog(CPropertiesDlg& dialog) {
    return PropertiesDialog(this, dialog).exec() == QDialog::Accepted;
}

bool SetAnimationViewWidget::RunTempBufferDialog(CTempBufferDlg& dialog) {
    return TempBufferDialog(this, dialog).exec() == QDialog::Accepted;
}

} // namespace fenwold
