#pragma once

#include "image/RegisteredAnimation.h"
#include "platform/Platform.h"
#include "vq/CompressionProgress.h"
#include "vq/CompressionResult.h"
#include "vq/CompressionRun.h"

#include <array>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace fenwold {

// "VQ Compute": runs one compression over the registered animations and hands a finished result
// to the document. The window starts it on its first paint and polls it with a 4 ms timer; the
// run's worker reports progress here and the window shows the stored texts and bars whenever it
// polls, so no control is touched from the worker.
class CVqComputeDlg final : public CompressionProgress {
public:
    static constexpr std::string_view kCaption = "VQ Compute";
    static constexpr int kPollMilliseconds = 4;

    // How the window closes: not yet, with OK (the document took the result) or with Cancel.
    enum class Outcome { Running, Ok, Cancel };

    // The animations must stay unchanged until the window has closed.
    CVqComputeDlg(const std::list<RegisteredAnimation>& animations,
                  const CompressionParameters& parameters, CompressionResultSink& sink,
                  Platform platform);
    ~CVqComputeDlg() override = default;
    CVqComputeDlg(const CVqComputeDlg&) = delete;
    CVqComputeDlg& operator=(const CVqComputeDlg&) = delete;

    // The first paint: starts the run. Parameters no run can take are refused with a message and
    // the window closes with Cancel.
    Outcome Start();
    // The timer: once the run has ended, a finished run goes to the document (with the
    // compression sound) and the window closes with OK, once the user has seen what the
    // compression lost; a cancelled one closes it with Cancel.
    Outcome Poll();
    // The Cancel button: the run stops after its current group of four frames; no effect once it
    // has finished.
    void Cancel();
    // A click on "End Lbg", with the box's state after the click. The window reads the box into
    // its copy and inverts the copy, so it is the click that clears the box again that stops the
    // LBG refinement; the click that checks it does nothing.
    void ClickEndLbg(bool checked);

    std::string Text(ProgressField field) const;
    int Bar(ProgressBar bar) const;

    // Once the window closed with OK: what the compression lost, as the lines the window shows
    // at its end and as one line for the status bar. Empty before.
    std::vector<std::string> QualityLines() const;
    std::string QualitySummary() const;

    void ShowText(ProgressField field, std::string_view text) override;
    void ShowBar(ProgressBar bar, int percent) override;

private:
    const std::list<RegisteredAnimation>& animations_;
    CompressionParameters parameters_;
    CompressionResultSink& sink_;
    Platform platform_;
    Outcome outcome_ = Outcome::Running;
    std::optional<QualityFigures> quality_;

    mutable std::mutex progressLock_;
    std::array<std::string, 7> texts_;
    std::array<int, 2> bars_{};

    // Last, so that a run still going is stopped before the progress it reports to goes away.
    std::unique_ptr<CompressionRun> run_;
};

} // namespace fenwold
