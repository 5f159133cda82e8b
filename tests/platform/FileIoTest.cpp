#include "platform/FileIo.h"

#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(AtomicFileWriter, ReplacesTheTargetOnlyOnCommit) {
    test::TempFolder folder;
    folder.Write("unit.UTD", {1, 2, 3});
    {
        AtomicFileWriter writer(folder / "unit.UTD");
        writer.Write(Bytes{7, 7});
        // Half written: the old file is still whole.
        EXPECT_EQ(folder.Read("unit.UTD"), (Bytes{1, 2, 3}));
        EXPECT_TRUE(std::filesystem::exists(writer.temporaryPath()));
        writer.Write(Bytes{8});
        writer.Commit();
    }
    EXPECT_EQ(folder.Read("unit.UTD"), (Bytes{7, 7, 8}));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"unit.UTD"});
}

TEST(AtomicFileWriter, AnAbandonedWriteLeavesTheOldFileAndNoLitter) {
    test::TempFolder folder;
    folder.Write("house.BPT", {4, 5, 6});
    try {
        AtomicFileWriter writer(folder / "house.BPT");
        writer.Write(Bytes(1000, 0));
        throw std::runtime_error("the encoder failed half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(folder.Read("house.BPT"), (Bytes{4, 5, 6}));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"house.BPT"});
}

TEST(AtomicFileWriter, AFailedRenameKeepsWhatWasThere) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "taken.UPT");
    folder.Write("taken.UPT/keep", {1});
    BinaryWriter w;
    w.u32(1);
    EXPECT_THROW(w.SaveAtomically(folder / "taken.UPT"), FileError);
    EXPECT_EQ(folder.Read("taken.UPT/keep"), (Bytes{1}));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken.UPT"});
}

TEST(AtomicFileWriter, RefusesAMissingFolderWithTheTargetsName) {
    test::TempFolder folder;
    const auto target = folder / "no/such/folder/a.UTD";
    try {
        WriteFileAtomically(target, Bytes{1});
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), target.string());
    }
}

TEST(AtomicFileWriter, KeepsThePermissionsOfTheReplacedFile) {
    test::TempFolder folder;
    folder.Write("p.OID", {0});
    ::chmod((folder / "p.OID").c_str(), 0640);
    WriteFileAtomically(folder / "p.OID", Bytes{1, 2});
    struct stat info {};
    ASSERT_EQ(::stat((folder / "p.OID").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(ReadWholeFile, ReadsEveryByte) {
    test::TempFolder folder;
    Bytes data(70000);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 7);
    }
    folder.Write("big.bin", data);
    EXPECT_EQ(ReadWholeFile(folder / "big.bin"), data);
    folder.Write("empty.bin", {});
    EXPECT_TRUE(ReadWholeFile(folder / "empty.bin").empty());
}

} // namespace
} // namespace fenwold
