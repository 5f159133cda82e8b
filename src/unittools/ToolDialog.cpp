#include "unittools/ToolDialog.h"

namespace fenwold {

ToolDialog::~ToolDialog() {
    Unregister();
}

void ToolDialog::Register(ToolWindowHost& host, KeyTarget* keyTarget) {
    if (fedByHub_) {
        registration_ = hub_.Open(tool_, *this);
    }
    windowHost_ = &host;
    keyTarget_ = keyTarget;
    if (keySlot_ && keyTarget_ != nullptr) {
        keys_.Register(*keySlot_, *keyTarget_);
    }
}

void ToolDialog::Unregister() {
    if (keySlot_ && keyTarget_ != nullptr) {
        keys_.Unregister(*keySlot_, *keyTarget_);
    }
    keyTarget_ = nullptr;
    windowHost_ = nullptr;
    registration_.End();
}

void ToolDialog::OnDestroy() {
    if (windowHost_ == nullptr) {
        return;
    }
    ReleaseWindowState();
    Unregister();
}

void ToolDialog::CloseWindow() {
    ToolWindowHost* host = windowHost_;
    if (host == nullptr) {
        return;
    }
    host->DestroyWindow();
    // A window that did not tell its tool while it went is forgotten here all the same.
    if (windowHost_ == host) {
        OnDestroy();
    }
}

} // namespace fenwold
