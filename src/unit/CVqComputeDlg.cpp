#include "unit/CVqComputeDlg.h"

#include "vq/TrainingBlocks.h"

#include <algorithm>

namespace fenwold {

CVqComputeDlg::CVqComputeDlg(const std::list<RegisteredAnimation>& animations,
                             const CompressionParameters& parameters, CompressionResultSink& sink,
                             Platform platform)
    : animations_(animations), parameters_(parameters), sink_(sink), platform_(platform) {}

CVqComputeDlg::Outcome CVqComputeDlg::Start() {
    if (run_ || outcome_ != Outcome::Running) {
        return outcome_;
    }
    run_ = StartCompression(RefsTo(animations_), parameters_, *this, platform_);
    if (!run_) {
        outcome_ = Outcome::Cancel;
    }
    return outcome_;
}

CVqComputeDlg::Outcome CVqComputeDlg::Poll() {
    if (!run_ || outcome_ != Outcome::Running || run_->Status() == RunStatus::Running) {
        return outcome_;
    }
    outcome_ =
        run_->Finish(sink_, platform_) == RunStatus::Finished ? Outcome::Ok : Outcome::Cancel;
    if (outcome_ == Outcome::Ok) {
        quality_ = run_->Quality();
    }
    return outcome_;
}

std::vector<std::string> CVqComputeDlg::QualityLines() const {
    return quality_ ? fenwold::QualityLines(*quality_) : std::vector<std::string>();
}

std::string CVqComputeDlg::QualitySummary() const {
    return quality_ ? fenwold::QualitySummary(*quality_) : std::string();
}

void CVqComputeDlg::Cancel() {
    if (run_) {
        run_->Cancel();
    }
}

void CVqComputeDlg::ClickEndLbg(bool checked) {
    if (!checked && run_) {
        run_->RaiseLbgStop();
    }
}

std::string CVqComputeDlg::Text(ProgressField field) const {
    const std::lock_guard lock(progressLock_);
    return texts_[static_cast<std::size_t>(field)];
}

int CVqComputeDlg::Bar(ProgressBar bar) const {
    const std::lock_guard lock(progressLock_);
    return bars_[static_cast<std::size_t>(bar)];
}

void CVqComputeDlg::ShowText(ProgressField field, std::string_view text) {
    const std::lock_guard lock(progressLock_);
    texts_[static_cast<std::size_t>(field)] = text;
}

void CVqComputeDlg::ShowBar(ProgressBar bar, int percent) {
    const std::lock_guard lock(progressLock_);
    // The bars run from 0 to 100; a padded last group of frames takes the count past its total.
    bars_[static_cast<std::size_t>(bar)] = std::clamp(percent, 0, 100);
}

} // namespace fenwold
