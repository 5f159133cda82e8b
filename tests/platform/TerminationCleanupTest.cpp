// What SIGINT, SIGTERM and SIGHUP do to a save in progress: each case runs in a child process,
// which the signal ends.
#include "platform/TerminationCleanup.h"

#include "support/TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fenwold {
namespace {

TEST(TerminationCleanup, ASignalRemovesTheTemporaryFilesAndEndsTheProgram) {
    test::TempFolder folder;
    folder.Write(".a.UTD.tmp-1", {1});
    folder.Write(".a.UPT.tmp-2", {2});
    folder.Write("a.UTD", {3});
    EXPECT_EXIT(
        {
            InstallTerminationCleanup();
            TemporaryFileGuard first(folder / ".a.UTD.tmp-1");
            TemporaryFileGuard second(folder / ".a.UPT.tmp-2");
            TemporaryFileGuard renamed(folder / "a.UTD");
            renamed.Forget();
            std::raise(SIGTERM);
            ::_exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"a.UTD"});
}

// Held back while a save replaces its files, the signal ends the program when it is done.
TEST(TerminationCleanup, ASignalWaitsForTheRenamesToEnd) {
    test::TempFolder folder;
    folder.Write(".a.UPT.tmp-2", {2});
    EXPECT_EXIT(
        {
            InstallTerminationCleanup();
            TemporaryFileGuard pending(folder / ".a.UPT.tmp-2");
            {
                const TerminationDeferral outer;
                {
                    const TerminationDeferral inner;
                    std::raise(SIGINT);
                }
                folder.Write("a.UPT", {1}); // the save goes on after the signal came
            }
            folder.Write("after", {1});
            ::_exit(0);
        },
        ::testing::KilledBySignal(SIGINT), "");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"a.UPT"});
}

TEST(TerminationCleanup, ASignalIgnoredAtStartStaysIgnored) {
    test::TempFolder folder;
    folder.Write("x.tmp", {1});
    EXPECT_EXIT(
        {
            std::signal(SIGHUP, SIG_IGN);
            InstallTerminationCleanup();
            TemporaryFileGuard guard(folder / "x.tmp");
            std::raise(SIGHUP);
            ::_exit(3);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"x.tmp"});
}

} // namespace
} // namespace fenwold
