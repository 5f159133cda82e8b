#pragma once

#include "platform/Platform.h"
#include "platform/WindowPainter.h"

#include <deque>
#include <string>
#include <vector>

namespace fenwold {

// Test double of the platform: prompts answer from queues filled by the test and everything shown
// is recorded. An unscripted message is answered Ok (or Cancel when Ok is not offered), an
// unscripted dialog is cancelled.
class ScriptedPrompts final : public Prompts {
public:
    struct ShownMessage {
        std::string text;
        MessageButtons buttons;
    };
    struct ShownDialog {
        bool save;
        FileDialogRequest request;
    };

    explicit ScriptedPrompts(WorkingFolder& folder) : folder_(folder) {}

    MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) override;
    // Recorded as a message (its text) and in fileProblems.
    void ShowFileProblem(std::string_view text, const std::filesystem::path& file,
                         std::string_view reason) override;
    std::optional<std::filesystem::path> AskOpenFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> AskSaveFile(const FileDialogRequest& request) override;
    std::optional<RgbColour> AskColour(RgbColour initial) override;

    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::optional<std::filesystem::path>> fileAnswers;
    std::deque<std::optional<RgbColour>> colourAnswers;

    struct FileProblem {
        std::filesystem::path file;
        std::string reason;
    };

    std::vector<ShownMessage> messages;
    std::vector<FileProblem> fileProblems;
    std::vector<ShownDialog> dialogs;
    std::vector<RgbColour> colourRequests;

private:
    std::optional<std::filesystem::path> AnswerFileDialog(bool save,
                                                          const FileDialogRequest& request);
    WorkingFolder& folder_;
};

class RecordingSound final : public SoundPlayer {
public:
    void PlayLooping(int resourceId) override { played.push_back(resourceId); }
    void Stop() override { ++stops; }
    std::vector<int> played;
    int stops = 0;
};

class ManualClock final : public Clock {
public:
    std::uint32_t Milliseconds() override { return milliseconds; }
    std::int64_t SecondsSinceEpoch() override { return seconds; }
    std::uint32_t milliseconds = 0;
    std::int64_t seconds = 0;
};

class RecordingStatusBar final : public StatusBar {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void SetModifiedIndicator(bool value) override { modified = value; }
    void SetQualityIndicator(std::string_view text) override { quality = text; }
    void BeginProgress(std::string_view caption, int steps) override;
    void StepProgress() override { ++stepsTaken; }
    void EndProgress() override { progressOpen = false; }

    std::vector<std::string> messages;
    bool modified = false;
    std::string quality;
    bool progressOpen = false;
    std::vector<std::string> captions;
    int stepsPlanned = 0;
    int stepsTaken = 0;
};

// Records what a view draws on its window, one line of text per call.
class RecordingWindowPainter final : public WindowPainter {
public:
    void Rectangle(int x0, int y0, int x1, int y1, WindowColour colour) override;
    void Text(int x, int y, std::string_view text, WindowColour textColour,
              WindowColour backgroundColour) override;
    void Line(int x0, int y0, int x1, int y1, WindowColour colour) override;
    std::vector<std::string> calls;
};

struct ScriptedPlatform {
    explicit ScriptedPlatform(std::filesystem::path folder = ".")
        : workingFolder(std::move(folder)), prompts(workingFolder) {}
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    Platform Get() { return Platform{prompts, sound, clock, statusBar, workingFolder}; }

    WorkingFolder workingFolder;
    ScriptedPrompts prompts;
    RecordingSound sound;
    ManualClock clock;
    RecordingStatusBar statusBar;
};

} // namespace fenwold
