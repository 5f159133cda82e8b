#include "unittools/CAnimationDlg.h"

#include "building/CFenwoldDoc.h"

#include <CommandIds.h>
#include <algorithm>

namespace fenwold {

CAnimationDlg::CAnimationDlg(ToolHub& hub, KeyRouter& keys, Platform platform, bool secondInstance)
    : ToolDialog(hub, ToolWindow::Animation, keys,
                 secondInstance ? KeySlot::SecondAnimation : KeySlot::Animation, !secondInstance),
      platform_(platform) {}

CAnimationDlg::~CAnimationDlg() {
    ReleaseWindowState();
}

void CAnimationDlg::OnCreate(AnimationHost& host) {
    host_ = &host;
    zoom_ = 1;
    sliderMaximum_ = 0;
    sliderPosition_ = 0;
    positionText_ = "0/0 frame";
    PlayPositionListener& listener = *this;
    view_ = std::make_unique<CAnimationView>(platform_.clock, listener);
    view_->SetBackAnimationShown(backShown_);
    view_->SetGridShown(gridShown_);
    view_->SetCrosshairShown(crosshairShown_);
    Register(host, this);
}

void CAnimationDlg::ReleaseWindowState() {
    view_.reset();
    host_ = nullptr;
}

bool CAnimationDlg::WantsTicks() const {
    return view_ != nullptr && view_->IsPlaying() && view_->HasMain();
}

void CAnimationDlg::PositionChanged(int position, int length) {
    sliderPosition_ = std::max(position, 0);
    positionText_ = std::to_string(position + 1) + "/" + std::to_string(length) + " frame";
}

void CAnimationDlg::RangeChanged(int position, int length) {
    sliderMaximum_ = std::max(length - 1, 0);
    PositionChanged(position, length);
}

void CAnimationDlg::SetRange(int length) {
    sliderMaximum_ = std::max(length - 1, 0);
    sliderPosition_ = 0;
}

void CAnimationDlg::Show() {
    host_->ShowState();
    host_->RepaintCanvas();
}

void CAnimationDlg::TakeAnimation(const AnimationHandOver& handOver) {
    const UnitAnimation* animation = handOver.animation.Get();
    if (view_ == nullptr || animation == nullptr) {
        return;
    }
    SetRange(animation->sequenceLength);
    view_->SetMainAnimation(handOver.animation);
    Show();
}

void CAnimationDlg::TakeBackAnimation(const AnimationHandOver& handOver) {
    const UnitAnimation* animation = handOver.animation.Get();
    if (view_ == nullptr || animation == nullptr) {
        return;
    }
    SetRange(animation->sequenceLength);
    view_->SetBackAnimation(handOver.animation, handOver.toolData);
    Show();
}

void CAnimationDlg::TakeRegistered(const RegisteredHandOver& handOver) {
    const RegisteredAnimation* animation = handOver.Get();
    if (view_ == nullptr || animation == nullptr) {
        return;
    }
    SetRange(animation->sequenceLength);
    view_->SetMainRegistered(handOver);
    Show();
}

void CAnimationDlg::TakeBuilding(const BuildingHandOver& handOver) {
    if (view_ == nullptr || handOver.building == nullptr) {
        return;
    }
    view_->SetCompositeBuilding(*handOver.building);
    Show();
}

void CAnimationDlg::TakePointIndex(int point) {
    if (view_ != nullptr) {
        view_->SetPointIndex(point);
        Show();
    }
}

void CAnimationDlg::Forget(Feed feed) {
    if (view_ == nullptr) {
        return;
    }
    if (feed == Feed::Main) {
        view_->ForgetMain();
    } else {
        view_->ForgetBack();
    }
    Show();
}

void CAnimationDlg::ForgetBuildingRecord() {
    if (view_ != nullptr) {
        view_->ForgetBuildingRecord();
        Show();
    }
}

void CAnimationDlg::GroupsReplaced(Feed) {
    Redraw(); // groups are looked up by number at every drawing
}

void CAnimationDlg::Redraw() {
    if (view_ != nullptr) {
        view_->Draw();
        Show();
    }
}

CommandTable<CAnimationDlg> CAnimationDlg::Commands() {
    using Dialog = CAnimationDlg;
    static constexpr CommandRow<Dialog> kRows[] = {
        {command::kBackAnimation, "&Back Ani", nullptr,
         [](Dialog& dialog) {
             dialog.backShown_ = !dialog.backShown_;
             dialog.view_->SetBackAnimationShown(dialog.backShown_);
             dialog.view_->Draw();
         },
         nullptr, [](const Dialog& dialog) { return dialog.backShown_; }},
        {command::kShowGrid, "&Check box", nullptr,
         [](Dialog& dialog) {
             dialog.gridShown_ = !dialog.gridShown_;
             dialog.view_->SetGridShown(dialog.gridShown_);
             dialog.view_->Draw();
         },
         nullptr, [](const Dialog& dialog) { return dialog.gridShown_; }},
        {command::kShowCrosshair, "Origin &point", nullptr,
         [](Dialog& dialog) {
             dialog.crosshairShown_ = !dialog.crosshairShown_;
             dialog.view_->SetCrosshairShown(dialog.crosshairShown_);
             dialog.view_->Draw();
         },
         nullptr, [](const Dialog& dialog) { return dialog.crosshairShown_; }},
        {command::kLoadBackground, "&TGA load", nullptr,
         [](Dialog& dialog) { dialog.LoadBackground(); }},
    };
    return kRows;
}

std::vector<MenuItem> CAnimationDlg::ContextMenu() const {
    return MenuItemsOf(Commands(), *this);
}

void CAnimationDlg::OnCommand(int command) {
    if (view_ == nullptr) {
        return;
    }
    switch (command) {
    case kPlayButton:
        view_->Play();
        break;
    case kStopButton:
        view_->Stop();
        break;
    case kBackButton:
        view_->StepBack();
        break;
    case kNextButton:
        view_->StepNext();
        break;
    default:
        RunCommand(Commands(), *this, command);
        break;
    }
    Show();
}

void CAnimationDlg::OnSlider(int position) {
    if (view_ == nullptr) {
        return;
    }
    view_->MoveTo(position);
    // The picture follows the slider at once only when both animations are shown; otherwise the
    // next played step shows it.
    if (view_->HasMain() && view_->HasBack()) {
        view_->Draw();
        Show();
    }
}

void CAnimationDlg::OnZoomSpin(int zoom) {
    if (view_ == nullptr) {
        return;
    }
    zoom_ = std::clamp(zoom, 1, kMaximumZoom);
    Show();
}

void CAnimationDlg::OnKeyDown(const KeyStroke& stroke) {
    if (view_ == nullptr) {
        return;
    }
    if ((stroke.key == key::kPageUp || stroke.key == key::kPageDown) &&
        view_->StepAnimation(stroke.key == key::kPageUp ? -1 : 1)) {
        Show();
    }
}

void CAnimationDlg::Tick() {
    if (view_ != nullptr && view_->Tick()) {
        Show();
    }
}

void CAnimationDlg::LoadBackground() {
    const auto file = platform_.prompts.AskOpenFile({.filter = kBackgroundFilter});
    if (!file) {
        return;
    }
    std::string failure;
    auto picture = ReadBackgroundPicture(*file, failure);
    if (!picture) {
        platform_.prompts.ShowFileProblem("\"" + file->filename().string() +
                                              "\" cannot be shown behind the animation: " + failure,
                                          *file, failure);
    }
    view_->SetBackground(std::move(picture));
    view_->Draw();
}

} // namespace fenwold
