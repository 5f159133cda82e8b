#pragma once

#include "platform/Services.h"

namespace fenwold {

// The steady clock of this machine.
class SystemClock final : public Clock {
public:
    std::uint32_t Milliseconds() override;
    std::int64_t SecondsSinceEpoch() override;
};

// For programs with no sound output (the command-line tool).
class SilentSound final : public SoundPlayer {
public:
    void PlayLooping(int) override {}
    void Stop() override {}
};

// For programs with no status bar.
class NoStatusBar final : public StatusBar {
public:
    void ShowMessage(std::string_view) override {}
    void SetModifiedIndicator(bool) override {}
    void BeginProgress(std::string_view, int) override {}
    void StepProgress() override {}
    void EndProgress() override {}
};

} // namespace fenwold
