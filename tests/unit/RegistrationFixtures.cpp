#include "unit/RegistrationFixtures.h"

#include "image/FrameStreams.h"
#include "vq/VqFixtures.h"

#include <thread>

namespace fenwold::test {

RegisteredAnimation SolidAnimation(int width, int height, int frames, Pixel555 colour) {
    RegisteredAnimation animation;
    animation.width = static_cast<std::uint16_t>(width);
    animation.height = static_cast<std::uint16_t>(height);
    animation.frameCount = frames;
    animation.sequenceLength = frames;
    const auto size = static_cast<std::size_t>(width * height);
    for (int f = 0; f < frames; ++f) {
        std::vector<Pixel555> pixels(size, static_cast<Pixel555>(colour + f));
        std::vector<std::uint8_t> alpha(size, 248);
        for (int y = 0; y < height; ++y) {
            alpha[static_cast<std::size_t>(y * width)] = 0;
        }
        RegisteredFrame frame;
        frame.width = width;
        frame.height = height;
        frame.pixelStream = EncodeFramePixels(pixels, width, height);
        frame.alphaStream = EncodeFrameAlpha(alpha, width, height);
        animation.frames.push_back(std::move(frame));
        animation.frameNumber[static_cast<std::size_t>(f)] = static_cast<std::uint16_t>(f);
    }
    return animation;
}

RegisteredAnimations FourSolidAnimations() {
    RegisteredAnimations list;
    list.push_back(SolidAnimation(10, 8, 2, 0x0100));
    list.push_back(SolidAnimation(12, 8, 1, 0x0200));
    list.push_back(SolidAnimation(14, 8, 1, 0x0300));
    list.push_back(SolidAnimation(16, 8, 3, 0x0400));
    return list;
}

void CompressPlain(AnimationDocument& document, const RegisteredAnimations& animations,
                   std::vector<std::int32_t> groups) {
    CompressionParameters parameters;
    parameters.noLbg = true;
    CompressInto(document, animations, parameters);
    if (!groups.empty()) {
        document.Animations().RebuildGroups(groups);
    }
}

void CompressInto(CompressionResultSink& document, const RegisteredAnimations& animations,
                  const CompressionParameters& parameters) {
    RecordingProgress progress;
    document.AcceptCompressionResult(
        CompressAnimations(RefsTo(animations), parameters, parameters.seed.value_or(0), progress));
}

CVqComputeDlg::Outcome RunToEnd(CVqComputeDlg& dialog) {
    CVqComputeDlg::Outcome outcome = dialog.Start();
    while (outcome == CVqComputeDlg::Outcome::Running) {
        std::this_thread::yield();
        outcome = dialog.Poll();
    }
    return outcome;
}

std::optional<AnimationRegistryResult> ScriptedRegistrationHost::RunAnimationRegistry() {
    if (registryAnswers.empty()) {
        return std::nullopt;
    }
    AnimationRegistryResult answer = std::move(registryAnswers.front());
    registryAnswers.pop_front();
    return answer;
}

PictureSeries ScriptedRegistrationHost::RunFileSpecial(const FileDialogRequest& request) {
    fileSpecialRequests.push_back(request);
    if (fileSpecialAnswers.empty()) {
        return {};
    }
    PictureSeries answer = std::move(fileSpecialAnswers.front());
    fileSpecialAnswers.pop_front();
    return answer;
}

bool ScriptedRegistrationHost::RunLookupTableDialog(CSetLookupTableDlg& dialog) {
    return lookupTable && lookupTable(dialog);
}

bool ScriptedRegistrationHost::RunVqComputeDialog(CVqComputeDlg& dialog) {
    const CVqComputeDlg::Outcome outcome = RunToEnd(dialog);
    computeOutcomes.push_back(outcome);
    return outcome == CVqComputeDlg::Outcome::Ok;
}

bool ScriptedRegistrationHost::RunPropertiesDialog(CPropertiesDlg& dialog) {
    propertiesShown.push_back(dialog);
    return properties && properties(dialog);
}

bool ScriptedRegistrationHost::RunTempBufferDialog(CTempBufferDlg& dialog) {
    return tempBuffer && tempBuffer(dialog);
}

} // namespace fenwold::test
