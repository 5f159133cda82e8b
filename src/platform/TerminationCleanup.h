#pragma once

#include <filesystem>

namespace fenwold {

// What happens to a save when the program is stopped by SIGINT, SIGTERM or SIGHUP: the
// temporary files of saves in progress are removed, and a save that is already replacing its
// files finishes first, so that a pair of files is never left half replaced. Both programs
// install this at start-up; until then the signals act as usual. A signal the program was
// started with ignored stays ignored.
void InstallTerminationCleanup();

// Registers a temporary file for removal when a termination signal stops the program, for as
// long as the object lives (or until Forget). Registration never fails a save: when every
// place is taken the file is simply not removed on a signal.
class TemporaryFileGuard {
public:
    explicit TemporaryFileGuard(const std::filesystem::path& path);
    ~TemporaryFileGuard() { Forget(); }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    // The file is no longer ours to remove (it was renamed or removed).
    void Forget() noexcept;

private:
    int slot_ = -1;
};

// While one of these lives, a termination signal is held back; it takes effect (removing the
// registered temporary files first) when the last one ends.
class TerminationDeferral {
public:
    TerminationDeferral() noexcept;
    ~TerminationDeferral();
    TerminationDeferral(const TerminationDeferral&) = delete;
    TerminationDeferral& operator=(const TerminationDeferral&) = delete;
};

} // namespace fenwold
