#pragma once

#include "image/RegisteredAnimation.h"
#include "unit/CPropertiesDlg.h"
#include "unit/CSetAnimationView.h"
#include "unit/CSetLookupTableDlg.h"
#include "unit/CTempBufferDlg.h"
#include "unit/CVqComputeDlg.h"
#include "unit/RegistrationHost.h"

#include <deque>
#include <functional>
#include <vector>

namespace fenwold::test {

// A registered animation of solid frames, as the loaders leave one: frame f is colour + f,
// opaque but for a transparent first column.
RegisteredAnimation SolidAnimation(int width, int height, int frames, Pixel555 colour);

// Compresses the animations and hands the result to the document, as a finished "VQ Compute"
// does; without a seed in the parameters the run is seeded with 0.
void CompressInto(CompressionResultSink& document, const RegisteredAnimations& animations,
                  const CompressionParameters& parameters);

// Runs the compression window's model as its window does, until it closes; `whileRunning` is
// called once after the start.
CVqComputeDlg::Outcome RunToEnd(CVqComputeDlg& dialog,
                                const std::function<void(CVqComputeDlg&)>& whileRunning = {});

// The window around a registration view in the tests: each dialog runs the test's function, a
// dialog without one is cancelled; the compression window runs until its run has ended.
class ScriptedRegistrationHost final : public RegistrationViewHost {
public:
    std::optional<AnimationRegistryResult> RunAnimationRegistry() override;
    PictureSeries RunFileSpecial(const FileDialogRequest& request) override;
    bool RunLookupTableDialog(CSetLookupTableDlg& dialog) override;
    bool RunVqComputeDialog(CVqComputeDlg& dialog) override;
    bool RunPropertiesDialog(CPropertiesDlg& dialog) override;
    bool RunTempBufferDialog(CTempBufferDlg& dialog) override;
    void Repaint() override { ++repaints; }

    // Answers of the registry and series file dialogs, in turn; none left is a Cancel.
    std::deque<AnimationRegistryResult> registryAnswers;
    std::deque<PictureSeries> fileSpecialAnswers;
    std::function<bool(CSetLookupTableDlg&)> lookupTable;
    // Called once the compression window has been started, before it is polled.
    std::function<void(CVqComputeDlg&)> whileComputing;
    std::function<bool(CPropertiesDlg&)> properties;
    std::function<bool(CTempBufferDlg&)> tempBuffer;

    std::vector<FileDialogRequest> fileSpecialRequests;
    std::vector<CVqComputeDlg::Outcome> computeOutcomes;
    std::vector<CPropertiesDlg> propertiesShown;
    int repaints = 0;
};

} // namespace fenwold::test
