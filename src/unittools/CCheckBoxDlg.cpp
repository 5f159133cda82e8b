#include "unittools/CCheckBoxDlg.h"

namespace fenwold {
namespace {

CCheckBoxDlg::Box StoredBox(const UnitAnimation& animation) {
    return {animation.checkBoxX, animation.checkBoxY, animation.checkBoxWidth,
            animation.checkBoxHeight};
}

} // namespace

CCheckBoxDlg::~CCheckBoxDlg() {
    ReleaseWindowState();
}

void CCheckBoxDlg::OnCreate(CheckBoxHost& host) {
    host_ = &host;
    view_ = std::make_unique<CCheckBoxView>();
    scale_ = 1;
    title_ = kCaption;
    ShowBox();
    Register(host, this);
}

void CCheckBoxDlg::ReleaseWindowState() {
    view_.reset();
    host_ = nullptr;
}

// The view follows the current box; the controls show it.
void CCheckBoxDlg::ShowBox() {
    view_->SetBoxOffset(-current_.x, -current_.y);
    view_->SetBoxSize(current_.width, current_.height);
    view_->SetScale(scale_);
}

void CCheckBoxDlg::Changed() {
    ShowBox();
    host_->ShowState();
}

void CCheckBoxDlg::TakeAnimation(const AnimationHandOver& handOver) {
    const UnitAnimation* animation = handOver.animation.Get();
    if (view_ == nullptr || animation == nullptr) {
        return;
    }
    current_ = committed_ = StoredBox(*animation);
    view_->SetAnimation(handOver.animation);
    Changed();
}

void CCheckBoxDlg::Forget(Feed feed) {
    if (feed == Feed::Main && view_ != nullptr) {
        view_->Forget();
        view_->Tick(); // an empty canvas
        Changed();
    }
}

void CCheckBoxDlg::Redraw() {
    if (host_ != nullptr) {
        host_->RepaintCanvas();
    }
}

void CCheckBoxDlg::Step(int by) {
    const AnimationRef& held = view_->Held();
    const AnimationRef next(*held.Document(), held.Position() + by);
    if (const UnitAnimation* animation = next.Get()) {
        view_->SetAnimation(next);
        current_ = StoredBox(*animation);
    }
    title_ = kChangedCaption;
}

void CCheckBoxDlg::OnKeyDown(const KeyStroke& stroke) {
    if (view_ == nullptr) {
        return;
    }
    switch (stroke.key) {
    case key::kLeft:
        --current_.x;
        break;
    case key::kRight:
        ++current_.x;
        break;
    case key::kUp:
        --current_.y;
        break;
    case key::kDown:
        ++current_.y;
        break;
    case key::kEnter:
        committed_ = current_;
        view_->StoreBox(current_.x, current_.y, current_.width, current_.height);
        title_ = kCaption;
        Changed();
        return;
    case key::kEscape:
        current_ = committed_;
        title_ = kCaption;
        Changed();
        return;
    case key::kPageUp:
    case key::kPageDown:
        if (view_->Held().Get() != nullptr) {
            Step(stroke.key == key::kPageUp ? -1 : 1);
            Changed();
        }
        return;
    default:
        return;
    }
    title_ = kChangedCaption;
    Changed();
}

void CCheckBoxDlg::OnWidthSpin(int width) {
    if (view_ != nullptr) {
        current_.width = width;
        title_ = kChangedCaption;
        Changed();
    }
}

void CCheckBoxDlg::OnHeightSpin(int height) {
    if (view_ != nullptr) {
        current_.height = height;
        title_ = kChangedCaption;
        Changed();
    }
}

void CCheckBoxDlg::OnScaleSpin(int scale) {
    if (view_ != nullptr) {
        scale_ = scale;
        Changed();
    }
}

void CCheckBoxDlg::Tick() {
    if (view_ != nullptr) {
        view_->Tick();
        host_->RepaintCanvas();
    }
}

} // namespace fenwold
