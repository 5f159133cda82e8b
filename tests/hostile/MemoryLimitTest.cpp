// Every kind of file the tool reads, made to need far more memory than the run may have
// (fenwold-cli under an address space limit, as "ulimit -v" sets it): the run ends with
// status 1 and a message naming the file, never with an abort.
#include "platform/BinaryWriter.h"
#include "support/Subprocess.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"

#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t kLimit = std::uint64_t{64} << 20;
// Larger than the limit, so that reading a file whole cannot succeed.
constexpr std::uint64_t kHugeFile = std::uint64_t{96} << 20;

class MemoryLimit : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::UnderAddressSanitizer()) {
            GTEST_SKIP() << "AddressSanitizer cannot run under an address space limit";
        }
    }

    // `head`, then zeros up to kHugeFile bytes (a sparse file: no disk space used).
    void WriteHuge(const std::string& name, const Bytes& head) const {
        folder.Write(name, head);
        ASSERT_EQ(::truncate((folder / name).c_str(), static_cast<off_t>(kHugeFile)), 0);
    }

    // Runs info on the file under the limit; returns its standard error.
    std::string InfoFails(const std::string& name) const {
        const test::ProgramEnd end =
            test::RunCliProgram({"info", (folder / name).string()}, {.memoryLimit = kLimit});
        EXPECT_EQ(end.exitStatus, 1) << name << ": " << end.errors;
        EXPECT_NE(end.errors.find((folder / name).string() + ": "), std::string::npos)
            << end.errors;
        return end.errors;
    }

    test::TempFolder folder;
};

Bytes Head(std::string_view magic, std::uint32_t version, std::vector<std::uint32_t> fields = {}) {
    BinaryWriter out;
    out.magic(magic);
    out.u32(version);
    for (const auto field : fields) {
        out.u32(field);
    }
    return out.take();
}

// Random bytes: every kind is refused from its head, without reading the rest. A team colour
// file reads its 672 bytes and tells of the rest.
TEST_F(MemoryLimit, RandomBytesOfEveryKind) {
    Bytes noise(kHugeFile);
    std::mt19937_64 random(14);
    for (std::size_t i = 0; i < noise.size(); i += 8) {
        const std::uint64_t value = random();
        std::memcpy(noise.data() + i, &value, 8);
    }
    folder.Write("noise", noise);
    noise = {};
    for (const char* name : {"noise.UTD", "noise.UPT", "noise.URE", "noise.OID", "noise.BPT",
                             "noise.TGA", "noise.UTC"}) {
        std::filesystem::create_hard_link(folder / "noise", folder / name);
    }
    for (const char* name :
         {"noise.UTD", "noise.UPT", "noise.URE", "noise.OID", "noise.BPT", "noise.TGA"}) {
        InfoFails(name);
    }
    const test::ProgramEnd colours =
        test::RunCliProgram({"info", (folder / "noise.UTC").string()}, {.memoryLimit = kLimit});
    EXPECT_EQ(colours.exitStatus, 0) << colours.errors;
    EXPECT_NE(colours.errors.find(std::to_string(kHugeFile - 672) + " bytes after the end"),
              std::string::npos)
        << colours.errors;
}

// Heads that pass, bodies too large to hold: the allocation fails and is reported.
TEST_F(MemoryLimit, FilesTooLargeToHold) {
    WriteHuge("big.UTD", Head("Unit Animation File", 6));
    WriteHuge("big.UPT", Head("Unit Animation File", 4));
    WriteHuge("big.BPT", Head("Build File", 8));
    WriteHuge("big.URE", Head("RLE Encode File", 1, {0}));
    for (const char* name : {"big.UTD", "big.UPT", "big.BPT", "big.URE"}) {
        EXPECT_NE(InfoFails(name).find("out of memory"), std::string::npos) << name;
    }
    // 8000 x 8000 pixels of one colour take 2.5 MB of run packets and 320 MB to hold.
    test::TgaBuilder picture(8000, 8000, 32, true);
    for (int packet = 0; packet < 8000 * 8000 / 128; ++packet) {
        picture.Run(128, 0xFF2040F0u);
    }
    folder.Write("big.tga", picture.bytes());
    EXPECT_NE(InfoFails("big.tga").find("out of memory for a picture of 8000 x 8000 pixels"),
              std::string::npos);
}

// Counts that claim more than the file holds are refused before anything is allocated.
TEST_F(MemoryLimit, CountsBeyondTheFile) {
    WriteHuge("many.OID", Head("Unit Origin Info File", 1, {0, 100000000}));
    EXPECT_NE(InfoFails("many.OID").find("the file ends early"), std::string::npos);
    WriteHuge("many.URE", Head("RLE Encode File", 1, {0x7FFFFFFF}));
    InfoFails("many.URE");
    folder.Write("short.UTC", Bytes(671, 3));
    InfoFails("short.UTC");
}

} // namespace
} // namespace fenwold
