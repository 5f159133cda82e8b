#pragma once

#include <cstdint>
#include <string_view>

namespace fenwold {

inline constexpr int kCompressionDoneSound = 231;

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays a sound resource over and over until Stop.
    virtual void PlayLooping(int resourceId) = 0;
    // Stops whatever is playing (the purge call made before saving).
    virtual void Stop() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // A millisecond counter that wraps at 2^32, like the multimedia timer.
    virtual std::uint32_t Milliseconds() = 0;
    // Seconds since 1970, like time().
    virtual std::int64_t SecondsSinceEpoch() = 0;
};

// The main window's status bar: the message pane, the modified indicator, the progress control
// that long loads put into it with a caption, and what the active unit's compression lost.
class StatusBar {
public:
    virtual ~StatusBar() = default;
    // What a command did, in the message pane until the next message.
    virtual void ShowMessage(std::string_view text) = 0;
    virtual void SetModifiedIndicator(bool modified) = 0;
    // Empty: nothing to show. Programs without such a pane ignore it.
    virtual void SetQualityIndicator(std::string_view) {}
    virtual void BeginProgress(std::string_view caption, int steps) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;
};

// Shows progress for as long as it lives.
class ProgressScope {
public:
    ProgressScope(StatusBar& bar, std::string_view caption, int steps) : bar_(bar) {
        bar_.BeginProgress(caption, steps);
    }
    ~ProgressScope() { bar_.EndProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void Step() { bar_.StepProgress(); }

private:
    StatusBar& bar_;
};

} // namespace fenwold
