#include "platform/FileIo.h"

#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "support/Subprocess.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string ReasonOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.reason();
    }
    return "no error";
}

void SaveBoth(const std::filesystem::path& first, const Bytes& firstBytes,
              const std::filesystem::path& second, const Bytes& secondBytes) {
    const FileToSave pair[] = {{first, firstBytes}, {second, secondBytes}};
    SaveFilesTogether(pair);
}

Bytes Numbered(std::size_t count) {
    Bytes data(count);
    for (std::size_t i = 0; i < count; ++i) {
        data[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    return data;
}

// Reading.

TEST(InputFile, ReadsTheWholeFileOrOnlyTheHeadItIsAskedFor) {
    test::TempFolder folder;
    folder.Write("big.bin", Numbered(70000));
    EXPECT_EQ(ReadWholeFile(folder / "big.bin"), Numbered(70000));
    folder.Write("empty.bin", {});
    EXPECT_TRUE(ReadWholeFile(folder / "empty.bin").empty());
    folder.Write("unit.UTD", {1, 2, 3, 4, 5, 6});
    const InputFile file(folder / "unit.UTD");
    EXPECT_EQ(file.size(), 6u);
    EXPECT_EQ(file.ReadHead(4), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(file.ReadHead(100), (Bytes{1, 2, 3, 4, 5, 6}));
    // Into a caller's buffer: as many as it holds, or the whole file when it holds more.
    Bytes into(4, 0xEE);
    EXPECT_EQ(file.ReadHeadInto(into), 4u);
    EXPECT_EQ(into, (Bytes{1, 2, 3, 4}));
    into.assign(9, 0xEE);
    EXPECT_EQ(file.ReadHeadInto(into), 6u);
    EXPECT_EQ(into, (Bytes{1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(file.ReadHeadInto(std::span<std::uint8_t>()), 0u);
    const BinaryReader head = BinaryReader::FromFileHead(folder / "unit.UTD", 2);
    EXPECT_EQ(head.size(), 2u);
    EXPECT_EQ(head.fileSize(), 6u);
    EXPECT_EQ(head.bytesAfter(), 6u);
}

// A pipe would block the run until a writer came (for ever, in a batch run); a device may never
// end. Both are refused at once, named for what they are.
TEST(InputsThatAreNotFiles, AreRefusedWithoutWaiting) {
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "walk_0001.tga").c_str(), 0644), 0);
    std::filesystem::create_directory(folder / "house.BPT");
    EXPECT_EQ(ReasonOf([&] { ReadWholeFile(folder / "walk_0001.tga"); }),
              "is a pipe (FIFO), not a file");
    EXPECT_EQ(ReasonOf([&] { BinaryReader::FromFileHead(folder / "walk_0001.tga", 36); }),
              "is a pipe (FIFO), not a file");
    EXPECT_EQ(ReasonOf([&] { ReadWholeFile(folder / "house.BPT"); }), "is a folder, not a file");
    EXPECT_EQ(ReasonOf([&] { ReadWholeFile("/dev/null"); }), "is a character device, not a file");
}

// Saving one file.

// A replaced file keeps its permissions; a new one gets the usual ones; nothing else is left.
TEST(SaveFilesTogether, ReplacesTheTargetKeepingItsPermissions) {
    test::TempFolder folder;
    folder.Write("p.OID", {0});
    ::chmod((folder / "p.OID").c_str(), 0640);
    WriteFileAtomically(folder / "p.OID", Bytes{7, 8});
    WriteFileAtomically(folder / "q.OID", Bytes{9});
    EXPECT_EQ(folder.Read("p.OID"), (Bytes{7, 8}));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"p.OID", "q.OID"}));
    struct stat info {};
    ASSERT_EQ(::stat((folder / "p.OID").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    ASSERT_EQ(::stat((folder / "q.OID").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

// A link keeps its place: the file it leads to is replaced, or made when it is missing.
TEST(SaveFilesTogether, SavesThroughASymbolicLink) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "real");
    folder.Write("real/frame.png", {1});
    std::filesystem::create_symlink("real/frame.png", folder / "frame.png");
    std::filesystem::create_symlink("real/later.png", folder / "later.png");
    WriteFileAtomically(folder / "frame.png", Bytes{2, 3});
    WriteFileAtomically(folder / "later.png", Bytes{4});
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "frame.png"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "later.png"));
    EXPECT_EQ(folder.Read("real/frame.png"), (Bytes{2, 3}));
    EXPECT_EQ(folder.Read("real/later.png"), Bytes{4});
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"frame.png", "later.png", "real"}));
}

// Contents written while they are made: distinct bytes and zero runs longer than one written at
// a time (64 KB), empty appends, more appends than one system call takes, one larger than the
// staging buffer, and bytes overwritten
// afterwards (a total ahead of what it counts, across a zero run); with the bytes they make.
std::pair<FileContents, Bytes> ContentsAndTheirBytes(const Bytes& data) {
    struct Append {
        std::span<const std::uint8_t> bytes;
        std::uint64_t zerosAfter;
    };
    const auto at = [&data](std::size_t offset, std::size_t count) {
        return std::span(data).subspan(offset, count);
    };
    std::vector<Append> appends{{at(0, 5), 0},     {{}, 0}, {{}, 200001},
                                {at(5, 1), 65536}, {{}, 0}, {at(6, 3), 1}};
    for (std::size_t i = 0; i < 1500; ++i) {
        appends.push_back({at(9 + i % 200, 2), i % 3});
    }
    appends.push_back({{}, 70000});
    appends.push_back({at(0, 270000), 3}); // beyond what is gathered before writing
    const Bytes patch{0xA1, 0xB2, 0xC3};
    const std::uint64_t patchAt = 200004; // the last two zeros of a run, then data[5]
    Bytes bytes;
    for (const auto& append : appends) {
        bytes.insert(bytes.end(), append.bytes.begin(), append.bytes.end());
        bytes.resize(bytes.size() + append.zerosAfter, 0);
    }
    std::copy(patch.begin(), patch.end(), bytes.begin() + patchAt);
    std::copy(patch.begin(), patch.end(), bytes.begin());
    // Then bytes read back and appended again: across the run and the overwrite, and the last
    // bytes, still gathered.
    const std::uint64_t readAt = patchAt - 4;
    const Bytes across(bytes.begin() + readAt, bytes.begin() + patchAt + 5);
    bytes.insert(bytes.end(), across.begin(), across.end());
    const Bytes last(bytes.end() - 6, bytes.end());
    bytes.insert(bytes.end(), last.begin(), last.end());
    const auto write = [appends, patch, patchAt, readAt](FileSink& sink) {
        for (const auto& append : appends) {
            sink.Append(append.bytes, append.zerosAfter);
        }
        sink.Overwrite(patchAt, patch);
        sink.Overwrite(0, patch);
        Bytes back(9);
        sink.Read(readAt, back);
        sink.Append(back);
        back.resize(6);
        sink.Read(sink.size() - back.size(), back);
        sink.Append(back);
    };
    return {write, bytes};
}

// A file is saved as its contents are written, appends one after the other with their zeros
// and overwrites in place; in memory the same; a pipe is written straight into and stays a pipe.
// Overwriting past what was written is refused, and the old file stays.
TEST(SaveFilesTogether, WritesTheContentsIntoAFileMemoryOrStraightIntoAPipe) {
    test::TempFolder folder;
    const Bytes data = Numbered(270000);
    const auto [contents, bytes] = ContentsAndTheirBytes(data);
    ASSERT_EQ(bytes.size(),
              5 + 200001 + 1 + 65536 + 3 + 1 + 1500 * 2 + 1500 + 70000 + 270003 + 9 + 6);
    WriteFileAtomically(folder / "walk.URE", contents);
    EXPECT_EQ(folder.Read("walk.URE"), bytes);
    ByteSink memory;
    contents(memory);
    EXPECT_EQ(memory.bytes(), bytes);
    const auto pastTheEnd = [](FileSink& sink) {
        sink.Append(Bytes{1, 2}, 1);
        sink.Overwrite(1, Bytes{3, 4, 5});
    };
    const auto readPastTheEnd = [](FileSink& sink) {
        Bytes back(3);
        sink.Append(Bytes{1, 2}, 1);
        sink.Read(0, back);
        sink.Read(1, back);
    };
    for (const FileContents& refused : {FileContents(pastTheEnd), FileContents(readPastTheEnd)}) {
        ByteSink fresh;
        EXPECT_THROW(refused(fresh), std::out_of_range);
        EXPECT_THROW(WriteFileAtomically(folder / "walk.URE", refused), std::out_of_range);
    }
    EXPECT_EQ(folder.Read("walk.URE"), bytes);

    ASSERT_EQ(::mkfifo((folder / "frame.png").c_str(), 0644), 0);
    test::PipeReader reader(folder / "frame.png");
    EXPECT_NO_THROW(WriteFileAtomically(folder / "frame.png", contents));
    EXPECT_EQ(reader.Finish(), bytes);
    struct stat info {};
    ASSERT_EQ(::lstat((folder / "frame.png").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"frame.png", "walk.URE"}));
}

// A write that fails part way (here at the file size limit, as on a full disk) leaves the old
// files as they were and no temporary file, also when the first file of a pair was written.
TEST(SaveFilesTogether, AWriteFailingPartWayKeepsTheOldFiles) {
    test::TempFolder folder;
    folder.Write("walk.UTD", {3});
    folder.Write("walk.URE", {1, 2});
    const Bytes data = Numbered(270000);
    const Bytes toolData{4}; // a save holds a view of its bytes
    const FileToSave pair[] = {{folder / "walk.UTD", toolData},
                               {folder / "walk.URE", ContentsAndTheirBytes(data).first}};
    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lowered = limit;
    lowered.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const std::string single =
        ReasonOf([&] { WriteFileAtomically(folder / "walk.URE", pair[1].write); });
    const std::string both = ReasonOf([&] { SaveFilesTogether(pair); });
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(single, "cannot write the file: File too large");
    EXPECT_EQ(both, "cannot write the file: File too large");
    EXPECT_EQ(folder.Read("walk.UTD"), Bytes{3});
    EXPECT_EQ(folder.Read("walk.URE"), (Bytes{1, 2}));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"walk.URE", "walk.UTD"}));
}

// Saving a pair.

// Every target is checked before anything is written: a folder in the way, a read-only file (even
// for root) or a missing folder for the second file leaves the first file as it was, and no
// litter.
TEST(SaveFilesTogether, ChecksEveryTargetFirst) {
    test::TempFolder folder;
    folder.Write("b.UTD", {1});
    std::filesystem::create_directory(folder / "b.UPT");
    EXPECT_EQ(ReasonOf([&] { SaveBoth(folder / "b.UTD", {2}, folder / "b.UPT", {3}); }),
              "is a folder; only files, pipes and character devices are written");
    std::filesystem::remove(folder / "b.UPT");
    folder.Write("b.UPT", {4});
    ::chmod((folder / "b.UPT").c_str(), 0444);
    EXPECT_EQ(ReasonOf([&] { SaveBoth(folder / "b.UTD", {2}, folder / "b.UPT", {3}); }),
              "the file is read-only");
    try {
        SaveBoth(folder / "b.UTD", {2}, folder / "gone/b.UPT", {3});
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), (folder / "gone/b.UPT").string()); // the target, named
    }
    EXPECT_EQ(folder.Read("b.UTD"), Bytes{1});
    EXPECT_EQ(folder.Read("b.UPT"), Bytes{4});
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"b.UPT", "b.UTD"}));
}

TEST(SaveFilesTogether, RefusesTwoNamesForOneFile) {
    test::TempFolder folder;
    folder.Write("b.UTD", {1});
    std::filesystem::create_symlink("b.UTD", folder / "b.UPT");
    EXPECT_EQ(ReasonOf([&] { SaveBoth(folder / "b.UTD", {2}, folder / "b.UPT", {3}); }),
              "is the same file as " + (folder / "b.UTD").string() +
                  ", which this save writes too");
    EXPECT_EQ(ReasonOf([&] { SaveBoth(folder / "n.UTD", {2}, folder / "./n.UTD", {3}); }),
              "is the same file as " + (folder / "n.UTD").string() +
                  ", which this save writes too");
    EXPECT_EQ(folder.Read("b.UTD"), Bytes{1});
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"b.UPT", "b.UTD"}));
}

// The renames wait for the folder's lock, which a concurrent save of the same files holds while
// it renames; the new contents are written and synced before.
TEST(SaveFilesTogether, RenamesUnderTheFoldersLock) {
    test::TempFolder folder;
    folder.Write("b.UTD", {1});
    folder.Write("b.UPT", {2});
    std::optional<test::HeldLock> lock(std::in_place, folder.path());
    std::thread save([&] { SaveBoth(folder / "b.UTD", {3}, folder / "b.UPT", {4}); });
    ASSERT_TRUE(test::WaitForLockWaiter(folder.path(), std::chrono::seconds(20)));
    EXPECT_EQ(folder.Read("b.UTD"), Bytes{1});
    EXPECT_EQ(folder.Read("b.UPT"), Bytes{2});
    EXPECT_EQ(folder.Entries().size(), 4u); // and the two temporary files
    lock.reset();
    save.join();
    EXPECT_EQ(folder.Read("b.UTD"), Bytes{3});
    EXPECT_EQ(folder.Read("b.UPT"), Bytes{4});
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"b.UPT", "b.UTD"}));
}

// When a rename fails after another succeeded, the one done is undone: here the second file's
// folder is moved away while the save waits for the locks.
TEST(SaveFilesTogether, UndoesTheRenamesDoneWhenOneFails) {
    test::TempFolder folder;
    folder.Write("x", {});
    folder.Write("y", {});
    if (::renameat2(AT_FDCWD, (folder / "x").c_str(), AT_FDCWD, (folder / "y").c_str(),
                    RENAME_EXCHANGE) != 0) {
        GTEST_SKIP() << "this file system cannot exchange two files, so a rename is not undone";
    }
    std::filesystem::remove(folder / "x");
    std::filesystem::remove(folder / "y");
    std::filesystem::create_directory(folder / "one");
    std::filesystem::create_directory(folder / "two");
    folder.Write("one/a.BPT", {1});
    folder.Write("two/a6.BPT", {2});
    std::optional<test::HeldLock> first(std::in_place, folder / "one");
    std::optional<test::HeldLock> second(std::in_place, folder / "two");
    std::string reason;
    std::thread save([&] {
        reason = ReasonOf([&] { SaveBoth(folder / "one/a.BPT", {3}, folder / "two/a6.BPT", {4}); });
    });
    // The save takes the two locks in an order of its own; it waits on either.
    bool waiting = false;
    for (int tries = 0; tries < 400 && !waiting; ++tries) {
        waiting = test::WaitForLockWaiter(folder / "one", std::chrono::milliseconds(25)) ||
                  test::WaitForLockWaiter(folder / "two", std::chrono::milliseconds(25));
    }
    std::filesystem::rename(folder / "two", folder / "moved");
    first.reset();
    second.reset();
    save.join();
    ASSERT_TRUE(waiting);
    EXPECT_EQ(reason, "cannot replace the file: No such file or directory");
    EXPECT_EQ(folder.Read("one/a.BPT"), Bytes{1});
    EXPECT_EQ(folder.Read("moved/a6.BPT"), Bytes{2});
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"moved", "one"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "one"),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace fenwold
