#include "platform/ScriptedPlatform.h"

#include <cstdio>

namespace fenwold {

void ScriptedPrompts::ShowFileProblem(std::string_view text, const std::filesystem::path& file,
                                      std::string_view reason) {
    fileProblems.push_back({file, std::string(reason)});
    ShowMessage(text, MessageButtons::Ok);
}

MessageAnswer ScriptedPrompts::ShowMessage(std::string_view text, MessageButtons buttons) {
    messages.push_back({std::string(text), buttons});
    if (!messageAnswers.empty()) {
        const MessageAnswer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

std::optional<std::filesystem::path>
ScriptedPrompts::AnswerFileDialog(bool save, const FileDialogRequest& request) {
    dialogs.push_back({save, request});
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer) {
        answer = folder_.Absolute(*answer);
        folder_.Set(answer->parent_path());
    }
    return answer;
}

std::optional<std::filesystem::path>
ScriptedPrompts::AskOpenFile(const FileDialogRequest& request) {
    return AnswerFileDialog(false, request);
}

std::optional<std::filesystem::path>
ScriptedPrompts::AskSaveFile(const FileDialogRequest& request) {
    return AnswerFileDialog(true, request);
}

std::optional<RgbColour> ScriptedPrompts::AskColour(RgbColour initial) {
    colourRequests.push_back(initial);
    if (colourAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

void RecordingStatusBar::BeginProgress(std::string_view caption, int steps) {
    captions.emplace_back(caption);
    stepsPlanned = steps;
    stepsTaken = 0;
    progressOpen = true;
}

namespace {

std::string Hex(WindowColour colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", colour);
    return text;
}

} // namespace

void RecordingWindowPainter::Rectangle(int x0, int y0, int x1, int y1, WindowColour colour) {
    calls.push_back("rect " + std::to_string(x0) + "," + std::to_string(y0) + " " +
                    std::to_string(x1) + "," + std::to_string(y1) + " " + Hex(colour));
}

void RecordingWindowPainter::Text(int x, int y, std::string_view text, WindowColour textColour,
                                  WindowColour backgroundColour) {
    calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " \"" +
                    std::string(text) + "\" " + Hex(textColour) + " on " + Hex(backgroundColour));
}

void RecordingWindowPainter::Line(int x0, int y0, int x1, int y1, WindowColour colour) {
    calls.push_back("line " + std::to_string(x0) + "," + std::to_string(y0) + " " +
                    std::to_string(x1) + "," + std::to_string(y1) + " " + Hex(colour));
}

} // namespace fenwold
