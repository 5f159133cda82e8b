#include "platform/TerminationCleanup.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace fenwold {
namespace {

// Everything here is read by a signal handler: fixed storage and lock-free atomics only.
enum SlotState : int { kFree, kFilling, kReady, kRemoving };

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

constexpr int kSlotCount = 64;
std::array<Slot, kSlotCount> slots;
std::atomic<int> deferrals{0};
std::atomic<int> heldSignal{0};

constexpr std::array kTerminationSignals{SIGINT, SIGTERM, SIGHUP};

static_assert(std::atomic<int>::is_always_lock_free);

void RemoveTemporaryFiles() noexcept {
    for (Slot& slot : slots) {
        int ready = kReady;
        if (slot.state.compare_exchange_strong(ready, kRemoving)) {
            ::unlink(slot.path);
        }
    }
}

// Ends the program as the signal would have without the handler.
[[noreturn]] void TerminateWith(int signal) noexcept {
    RemoveTemporaryFiles();
    struct sigaction usual {};
    usual.sa_handler = SIG_DFL;
    ::sigemptyset(&usual.sa_mask);
    ::sigaction(signal, &usual, nullptr);
    sigset_t only;
    ::sigemptyset(&only);
    ::sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal); // not reached: the default action ends the program
}

void OnTerminationSignal(int signal) {
    if (deferrals.load() == 0) {
        TerminateWith(signal);
    }
    heldSignal.store(signal);
    // The last deferral may have ended on another thread in the meantime: whoever takes the
    // held signal back acts on it.
    if (deferrals.load() == 0 && heldSignal.exchange(0) != 0) {
        TerminateWith(signal);
    }
}

} // namespace

void InstallTerminationCleanup() {
    for (const int signal : kTerminationSignals) {
        struct sigaction previous {};
        ::sigaction(signal, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) {
            continue; // started under nohup or the like
        }
        struct sigaction action {};
        action.sa_handler = OnTerminationSignal;
        ::sigemptyset(&action.sa_mask);
        for (const int other : kTerminationSignals) {
            ::sigaddset(&action.sa_mask, other);
        }
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
}

TemporaryFileGuard::TemporaryFileGuard(const std::filesystem::path& path) {
    const std::string& text = path.native();
    if (text.size() >= PATH_MAX) {
        return;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        int free = kFree;
        if (slots[i].state.compare_exchange_strong(free, kFilling)) {
            std::memcpy(slots[i].path, text.c_str(), text.size() + 1);
            slots[i].state.store(kReady);
            slot_ = i;
            return;
        }
    }
}

void TemporaryFileGuard::Forget() noexcept {
    if (slot_ < 0) {
        return;
    }
    // A slot a handler is emptying stays taken: the program is ending.
    int ready = kReady;
    slots[slot_].state.compare_exchange_strong(ready, kFree);
    slot_ = -1;
}

TerminationDeferral::TerminationDeferral() noexcept {
    deferrals.fetch_add(1);
}

TerminationDeferral::~TerminationDeferral() {
    if (deferrals.fetch_sub(1) == 1) {
        if (const int signal = heldSignal.exchange(0)) {
            TerminateWith(signal);
        }
    }
}

} // namespace fenwold
