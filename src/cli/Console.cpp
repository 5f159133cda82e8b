#include "cli/Console.h"

#include "vq/CompressionRun.h"
#include "vq/VqEngine.h"

#include <algorithm>
#include <iostream>
#include <unistd.h>

namespace fenwold::cli {
namespace {

std::string_view StageOf(ProgressField field) {
    switch (field) {
    case ProgressField::CollectedBlocks:
        return "collection";
    case ProgressField::Sampling:
        return "sampling";
    case ProgressField::SearchVector:
    case ProgressField::SearchVectorIndex:
        return "search";
    case ProgressField::Loop:
    case ProgressField::Threshold:
    case ProgressField::ErrorGain:
        return "LBG loop";
    }
    return "";
}

// The engine's refusals, which the desktop shows in its own words, in English for a log.
std::string_view InEnglish(std::string_view text) {
    if (text == kNoLbgTooManyBlocks) {
        return "more than 65534 distinct training blocks: --no-lbg cannot compress them";
    }
    if (text == kLookupTableSizeRefused) {
        return "the lookup table size must be 1 to 65534";
    }
    return text;
}

} // namespace

MessageAnswer ConsolePrompts::ShowMessage(std::string_view text, MessageButtons buttons) {
    ++messagesShown_;
    std::cerr << "fenwold-cli: " << InEnglish(text) << '\n';
    return buttons == MessageButtons::YesNoCancel || buttons == MessageButtons::YesNo
               ? MessageAnswer::No
               : MessageAnswer::Ok;
}

void ConsolePrompts::ShowFileProblem(std::string_view, const std::filesystem::path& file,
                                     std::string_view reason) {
    ++messagesShown_;
    std::cerr << "fenwold-cli: " << file.string() << ": " << reason << '\n';
}

ProgressDisplay::ProgressDisplay(bool quiet) : quiet_(quiet), terminal_(::isatty(2) == 1) {}

ProgressDisplay::~ProgressDisplay() {
    Finish();
}

void ProgressDisplay::Finish() {
    if (lineOpen_) {
        std::cerr << '\n';
        lineOpen_ = false;
    }
}

void ProgressDisplay::Show(std::string_view stage, std::string_view detail, int percent) {
    if (quiet_) {
        return;
    }
    const bool newStage = stage != stage_;
    // The compression reports every step it takes; a state shown already is not shown again.
    if (!newStage && percent == lastPercent_ && detail == lastDetail_) {
        return;
    }
    if (terminal_) {
        const auto now = std::chrono::steady_clock::now();
        if (!newStage && percent != 100 && now - lastDraw_ < std::chrono::milliseconds(100)) {
            return;
        }
        lastDraw_ = now;
        if (newStage && lineOpen_) {
            std::cerr << '\n';
        }
        std::string bar;
        if (percent >= 0) {
            const int filled = std::clamp(percent, 0, 100) * 30 / 100;
            bar = "[" + std::string(filled, '#') + std::string(30 - filled, ' ') + "] " +
                  std::to_string(percent) + "% ";
        }
        std::cerr << "\r\033[K" << stage << ": " << bar << detail << std::flush;
        lineOpen_ = true;
    } else {
        // Plain lines: one per stage, then one per tenth of a bar.
        const bool step = percent >= 0 && (percent / 10 != lastPercent_ / 10 || percent == 100);
        if (!newStage && !step) {
            return;
        }
        std::cerr << stage << ": " << (percent >= 0 ? std::to_string(percent) + "% " : "") << detail
                  << '\n';
    }
    stage_ = std::string(stage);
    lastPercent_ = percent;
    lastDetail_ = std::string(detail);
}

void ProgressDisplay::BeginProgress(std::string_view caption, int steps) {
    loadingCaption_ = std::string(caption);
    loadingSteps_ = std::max(steps, 1);
    loadingDone_ = 0;
    Show(loadingCaption_, "", 0);
}

void ProgressDisplay::StepProgress() {
    ++loadingDone_;
    Show(loadingCaption_, std::to_string(loadingDone_) + " / " + std::to_string(loadingSteps_),
         loadingDone_ * 100 / loadingSteps_);
}

void ProgressDisplay::EndProgress() {
    Finish();
    stage_.clear();
}

void ProgressDisplay::ShowText(ProgressField field, std::string_view text) {
    Show(StageOf(field), std::string(ProgressLabel(field)) + " " + std::string(text), -1);
}

void ProgressDisplay::ShowBar(ProgressBar bar, int percent) {
    // A padded last group of four frames takes the count past its total.
    Show(bar == ProgressBar::Collection ? "collection" : "index tables", "",
         std::clamp(percent, 0, 100));
}

} // namespace fenwold::cli
