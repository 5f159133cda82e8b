#pragma once

#include "platform/Platform.h"
#include "platform/SystemServices.h"
#include "vq/CompressionProgress.h"

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

namespace fenwold::cli {

// Exit statuses of fenwold-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFileFailure = 1;
inline constexpr int kExitUsage = 2;
// compress --min-psnr: an animation lost more than the floor allows; nothing was written.
inline constexpr int kExitBelowFloor = 3;

// Ends a command with a message and an exit status.
struct CliFailure : std::runtime_error {
    CliFailure(int status, const std::string& message)
        : std::runtime_error(message), status(status) {}
    int status;
};

// Messages go to stderr and are counted, so that a command can fail when anything was wrong
// with its input; no dialog is ever answered.
class ConsolePrompts final : public Prompts {
public:
    MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) override;
    // Says the file and the reason, in English, in place of the desktop's message.
    void ShowFileProblem(std::string_view text, const std::filesystem::path& file,
                         std::string_view reason) override;
    std::optional<std::filesystem::path> AskOpenFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    // Answered once with the path given here, then cancelled again: the commands that save as
    // the desktop's Save As does name their file this way.
    std::optional<std::filesystem::path> AskSaveFile(const FileDialogRequest&) override {
        return std::exchange(saveAnswer_, std::nullopt);
    }
    void answerSaveWith(std::filesystem::path path) { saveAnswer_ = std::move(path); }
    std::optional<RgbColour> AskColour(RgbColour) override { return std::nullopt; }

    int messagesShown() const { return messagesShown_; }

private:
    int messagesShown_ = 0;
    std::optional<std::filesystem::path> saveAnswer_;
};

// Progress of long work on stderr: a bar redrawn in place on a terminal, plain lines otherwise,
// nothing when quiet. It serves both the picture loading (as the status bar) and the
// compression run (named stages: collection, sampling, search, LBG loop, index tables).
class ProgressDisplay final : public StatusBar, public CompressionProgress {
public:
    explicit ProgressDisplay(bool quiet);
    ~ProgressDisplay() override;

    // Each command prints its own summary instead of the desktop's status messages.
    void ShowMessage(std::string_view) override {}
    void SetModifiedIndicator(bool) override {}
    void BeginProgress(std::string_view caption, int steps) override;
    void StepProgress() override;
    void EndProgress() override;

    void ShowText(ProgressField field, std::string_view text) override;
    void ShowBar(ProgressBar bar, int percent) override;

    // Ends the line in progress, if any.
    void Finish();

private:
    void Show(std::string_view stage, std::string_view detail, int percent);

    bool quiet_;
    bool terminal_;
    std::string stage_;
    int lastPercent_ = -1;
    std::string lastDetail_;
    bool lineOpen_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
    std::string loadingCaption_;
    int loadingSteps_ = 0;
    int loadingDone_ = 0;
};

// The services a command runs with: no display, working folder = the process's.
struct ConsolePlatform {
    explicit ConsolePlatform(bool quiet) : progress(quiet) {}
    Platform Get() { return Platform{prompts, sound, clock, progress, folder}; }

    ConsolePrompts prompts;
    SilentSound sound;
    SystemClock clock;
    ProgressDisplay progress;
    WorkingFolder folder;
};

} // namespace fenwold::cli
