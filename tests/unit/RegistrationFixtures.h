#pragma once

#include "image/RegisteredAnimation.h"
#include "platform/ScriptedPlatform.h"
#include "unit/AnimationDocument.h"
#include "unit/CPropertiesDlg.h"
#include "unit/CSetAnimationView.h"
#include "unit/CSetLookupTableDlg.h"
#include "unit/CTempBufferDlg.h"
#include "unit/CVqComputeDlg.h"
#include "unit/FrameGrid.h"
#include "unit/RegistrationHost.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <vector>

namespace fenwold::test {

// A registered animation of solid frames, as the loaders leave one: frame f is colour + f,
// opaque but for a transparent first column.
RegisteredAnimation SolidAnimation(int width, int height, int frames, Pixel555 colour);

// Animations 10, 12, 14 and 16 pixels wide and 8 high, of 2, 1, 1 and 3 solid frames in colours
// 0x0100 to 0x0400.
RegisteredAnimations FourSolidAnimations();

// Compresses the animations and hands the result to the document, as a finished "VQ Compute"
// does; without a seed in the parameters the run is seeded with 0.
void CompressInto(CompressionResultSink& document, const RegisteredAnimations& animations,
                  const CompressionParameters& parameters);

// Compresses the animations without LBG and makes groups of the consecutive runs of `groups`.
void CompressPlain(AnimationDocument& document, const RegisteredAnimations& animations,
                   std::vector<std::int32_t> groups = {});

// The commands of `commands` that the view enables now.
template <typename View>
std::vector<int> EnabledOf(const View& view, std::initializer_list<int> commands) {
    std::vector<int> enabled;
    std::copy_if(commands.begin(), commands.end(), std::back_inserter(enabled),
                 [&view](int command) { return view.IsEnabled(command); });
    return enabled;
}

// Moves the mouse over frame `frame` of the animation at `position`, one pixel inside the cell.
template <typename View>
void HoverCell(View& view, int position, int frame, RecordingWindowPainter& painter) {
    const GridCell& cell = *view.Grid().CellOf(position, frame);
    view.OnMouseMove(cell.x + 1, cell.y + 1, painter);
}

// Runs the compression window's model as its window does, until it closes.
CVqComputeDlg::Outcome RunToEnd(CVqComputeDlg& dialog);

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
    std::function<bool(CPropertiesDlg&)> properties;
    std::function<bool(CTempBufferDlg&)> tempBuffer;

    std::vector<FileDialogRequest> fileSpecialRequests;
    std::vector<CVqComputeDlg::Outcome> computeOutcomes;
    std::vector<CPropertiesDlg> propertiesShown;
    int repaints = 0;
};

} // namespace fenwold::test
