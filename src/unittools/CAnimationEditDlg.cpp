#include "unittools/CAnimationEditDlg.h"

namespace fenwold {

CAnimationEditDlg::~CAnimationEditDlg() {
    ReleaseWindowState();
}

void CAnimationEditDlg::OnCreate(AnimationEditHost& host) {
    host_ = &host;
    top_ = std::make_unique<CAniEditView1>();
    bottom_ = std::make_unique<CAniEditView2>(host);
    Register(host, nullptr);
}

void CAnimationEditDlg::ReleaseWindowState() {
    top_.reset();
    bottom_.reset();
    held_ = {};
    host_ = nullptr;
}

CAnimationEditDlg::PaneRects CAnimationEditDlg::LayOutPanes(int width, int height) {
    const int split = height / 2;
    return {Rect{0, 0, width, split - 1}, Rect{0, split + 1, width, height}};
}

void CAnimationEditDlg::Show(const AnimationRef& animation) {
    if (top_ == nullptr) {
        return;
    }
    held_ = animation;
    top_->SetAnimation(animation);
    bottom_->SetAnimation(animation);
    host_->Repaint();
}

void CAnimationEditDlg::TakeAnimation(const AnimationHandOver& handOver) {
    Show(handOver.animation);
}

void CAnimationEditDlg::Forget(Feed feed) {
    if (feed == Feed::Main) {
        Show({});
    }
}

void CAnimationEditDlg::Redraw() {
    if (top_ == nullptr) {
        return;
    }
    top_->Relayout();
    bottom_->Relayout();
    host_->Repaint();
}

void CAnimationEditDlg::OnTopPaneClick() {
    if (top_ != nullptr && top_->OnLeftButtonDown()) {
        bottom_->Relayout();
        host_->Repaint();
    }
}

} // namespace fenwold
