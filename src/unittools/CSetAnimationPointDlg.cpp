#include "unittools/CSetAnimationPointDlg.h"

#include "building/CFenwoldDoc.h"
#include "unit/AnimationDocument.h"

namespace fenwold {

using HeldKey = CAniPointView::HeldKey;
using Mode = CAniPointView::Mode;

namespace {

// The held key an arrow or Ctrl stands for.
std::optional<HeldKey> HeldKeyOf(int code) {
    switch (code) {
    case key::kLeft:
        return HeldKey::Left;
    case key::kRight:
        return HeldKey::Right;
    case key::kUp:
        return HeldKey::Up;
    case key::kDown:
        return HeldKey::Down;
    case key::kControl:
        return HeldKey::Control;
    default:
        return std::nullopt;
    }
}

} // namespace

CSetAnimationPointDlg::~CSetAnimationPointDlg() {
    ReleaseWindowState();
}

void CSetAnimationPointDlg::OnCreate(OriginPointHost& host) {
    host_ = &host;
    view_ = std::make_unique<CAniPointView>();
    view_->SetHalf(half_);
    zoom_ = 1;
    title_ = kCaption;
    groupIndex_ = -1;
    memberCount_ = 0;
    Register(host, this);
}

void CSetAnimationPointDlg::ReleaseWindowState() {
    view_.reset(); // the held keys go with it
    host_ = nullptr;
    mainHandOver_ = {};
    backHandOver_ = {};
}

std::string CSetAnimationPointDlg::CoordinatesText() const {
    const auto point = view_ != nullptr ? view_->CurrentPoint().value_or(CAniPointView::Point{})
                                        : CAniPointView::Point{};
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

int CSetAnimationPointDlg::ModeIndex() const {
    return view_ != nullptr ? static_cast<int>(view_->GetMode()) : 0;
}

void CSetAnimationPointDlg::Changed() {
    if (host_ != nullptr) {
        host_->ShowState();
    }
}

void CSetAnimationPointDlg::SetTitle() {
    title_ = std::string(kCaption) + " - " + std::to_string(view_->PointIndex());
}

void CSetAnimationPointDlg::ReportGroup() {
    const UnitAnimation* animation = view_->Main().Get();
    const UnitGroup* group = view_->MainGroup();
    groupIndex_ = group != nullptr ? animation->groupIndex : -1;
    memberCount_ = group != nullptr ? group->MemberCount() : 0;
}

void CSetAnimationPointDlg::TellPointIndex() {
    if (!view_->BuildingMode()) {
        Hub().HandOverPointIndex(ToolWindow::Animation, view_->PointIndex());
    }
}

void CSetAnimationPointDlg::SetPoint(int point) {
    view_->SetPointIndex(point);
    SetTitle();
    TellPointIndex();
}

void CSetAnimationPointDlg::TakeAnimation(const AnimationHandOver& handOver) {
    const UnitAnimation* animation = handOver.animation.Get();
    if (view_ == nullptr || animation == nullptr) {
        return;
    }
    mainHandOver_ = handOver;
    view_->SetPointIndex(0);
    view_->SetMainAnimation(handOver.animation);
    mainNumber_ = animation->saveIndex;
    SetTitle();
    ReportGroup();
    TellPointIndex();
    Changed();
}

void CSetAnimationPointDlg::TakeBackAnimation(const AnimationHandOver& handOver) {
    const UnitAnimation* animation = handOver.animation.Get();
    if (view_ == nullptr || animation == nullptr) {
        return;
    }
    backHandOver_ = handOver;
    view_->SetBackAnimation(handOver.animation);
    backNumber_ = animation->saveIndex;
    Changed();
}

void CSetAnimationPointDlg::TakeBuilding(const BuildingHandOver& handOver) {
    if (view_ == nullptr || handOver.building == nullptr) {
        return;
    }
    view_->SetBuilding(*handOver.building);
    mainHandOver_ = {};
    backHandOver_ = {};
    ReportGroup();
    Changed();
}

void CSetAnimationPointDlg::Forget(Feed feed) {
    if (view_ == nullptr) {
        return;
    }
    if (feed == Feed::Main) {
        view_->ForgetMain();
        mainHandOver_ = {};
        ReportGroup();
    } else {
        view_->ForgetBack();
        backHandOver_ = {};
    }
    view_->Tick(); // an empty canvas
    Changed();
}

void CSetAnimationPointDlg::GroupsReplaced(Feed) {
    if (view_ != nullptr) {
        view_->GroupsReplaced();
        ReportGroup();
        Changed();
    }
}

void CSetAnimationPointDlg::ForgetBuildingRecord() {
    if (view_ != nullptr) {
        view_->ForgetBuildingRecord();
        Changed();
    }
}

void CSetAnimationPointDlg::Redraw() {
    if (host_ != nullptr) {
        host_->RepaintCanvas();
    }
}

void CSetAnimationPointDlg::KeepOthersInStep() {
    const AnimationHandOver handOver{view_->Main(), mainHandOver_.source, mainHandOver_.toolData};
    Hub().HandOver(ToolWindow::Animation, Feed::Main, handOver);
    Hub().HandOverPointIndex(ToolWindow::Animation, view_->PointIndex());
    Hub().HandOver(ToolWindow::CheckBox, Feed::Main, handOver);
    Hub().HandOver(ToolWindow::AnimationEdit, Feed::Main, handOver);
}

void CSetAnimationPointDlg::StepMain(int by) {
    const AnimationRef& main = view_->Main();
    if (main.Get() == nullptr) {
        return;
    }
    const AnimationRef next(*main.Document(), main.Position() + by);
    if (const UnitAnimation* animation = next.Get()) {
        view_->SetMainAnimation(next);
        mainNumber_ = animation->saveIndex;
        ReportGroup();
        KeepOthersInStep();
    }
}

void CSetAnimationPointDlg::StepBack(int by) {
    const AnimationRef& back = view_->Back();
    if (back.Get() == nullptr) {
        return;
    }
    const AnimationRef next(*back.Document(), back.Position() + by);
    if (const UnitAnimation* animation = next.Get()) {
        view_->SetBackAnimation(next);
        backNumber_ = animation->saveIndex;
        Hub().HandOver(ToolWindow::Animation, Feed::Back,
                       {next, backHandOver_.source, backHandOver_.toolData});
    }
}

void CSetAnimationPointDlg::OnKeyDown(const KeyStroke& stroke) {
    if (view_ == nullptr) {
        return;
    }
    if (const auto held = HeldKeyOf(stroke.key)) {
        view_->SetHeld(*held, true);
        return;
    }
    const int code = stroke.key;
    if (code >= '0' && code <= '9') {
        SetPoint(code - '0');
    } else if (code == 'R') {
        view_->ResetPoint();
    } else if (code == key::kPageUp || code == key::kPageDown || code == key::kHome ||
               code == key::kEnd) {
        if (view_->BuildingMode()) {
            return;
        }
        if (code == key::kPageUp || code == key::kPageDown) {
            StepMain(code == key::kPageUp ? -1 : 1);
        } else {
            StepBack(code == key::kHome ? -1 : 1);
        }
        SetTitle();
    } else {
        return;
    }
    Changed();
}

void CSetAnimationPointDlg::OnKeyUp(const KeyStroke& stroke) {
    if (view_ == nullptr) {
        return;
    }
    if (const auto held = HeldKeyOf(stroke.key)) {
        view_->SetHeld(*held, false);
    }
}

void CSetAnimationPointDlg::OnFocusLost() {
    if (view_ != nullptr) {
        view_->ReleaseHeldKeys();
    }
}

void CSetAnimationPointDlg::OnRightButton() {
    if (view_ != nullptr) {
        SetPoint((view_->PointIndex() + 1) % kPointCount);
        Changed();
    }
}

// Computed from the list position, so that any number, however far off, finds nothing rather
// than some other animation.
AnimationRef CSetAnimationPointDlg::Walk(const AnimationRef& from, long long number) {
    const UnitAnimation* start = from.Get();
    if (start == nullptr) {
        return {};
    }
    const long long position = from.Position() + (number - start->saveIndex);
    if (position < 0 || position >= from.Document()->Animations().AnimationCount()) {
        return {};
    }
    return {*from.Document(), static_cast<int>(position)};
}

void CSetAnimationPointDlg::OnMainNumber(long long number) {
    if (view_ == nullptr || view_->BuildingMode()) {
        return;
    }
    const AnimationRef found = Walk(view_->Main(), number);
    const UnitAnimation* animation = found.Get();
    if (animation == nullptr) {
        return;
    }
    view_->SetPointIndex(0);
    view_->SetMainAnimation(found);
    mainNumber_ = animation->saveIndex;
    SetTitle();
    ReportGroup();
    KeepOthersInStep();
    Changed();
}

void CSetAnimationPointDlg::OnBackNumber(long long number) {
    if (view_ == nullptr || view_->BuildingMode()) {
        return;
    }
    const AnimationRef found = Walk(view_->Back(), number);
    const UnitAnimation* animation = found.Get();
    if (animation == nullptr) {
        return;
    }
    // The animation window shows it; Home and End still walk from the view's own back animation.
    Hub().HandOver(ToolWindow::Animation, Feed::Back,
                   {found, backHandOver_.source, backHandOver_.toolData});
    backNumber_ = animation->saveIndex;
    SetPoint(0);
    Changed();
}

void CSetAnimationPointDlg::OnZoomSpin(int zoom) {
    if (view_ != nullptr && zoom >= 1 && zoom <= kMaximumZoom) {
        zoom_ = zoom;
        Changed();
    }
}

void CSetAnimationPointDlg::OnModeSelected(int index) {
    if (view_ == nullptr || index < 0 || index > static_cast<int>(Mode::Reverse)) {
        return;
    }
    view_->SetMode(static_cast<Mode>(index));
    Changed();
}

void CSetAnimationPointDlg::OnHalf(bool half) {
    half_ = half;
    if (view_ != nullptr) {
        view_->SetHalf(half);
    }
}

void CSetAnimationPointDlg::Tick() {
    if (view_ == nullptr) {
        return;
    }
    const bool moved = view_->Tick();
    if (moved) {
        if (!view_->BuildingMode()) {
            Hub().Refresh(ToolWindow::Animation);
        }
        Changed();
    }
    host_->RepaintCanvas();
}

} // namespace fenwold
