// fenwold-cli run as a user would run it, as a program of its own: where its files go, what it
// refuses, and what signals, concurrent runs and odd targets do to its saves.
#include "cli/SampleFolder.h"
#include "support/Subprocess.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"
#include "teamcolour/TeamColourFile.h"
#include "unit/OriginInfoFile.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ProgramEnd;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A sample unit (two walking figures, masks, a house) and the pair compressed from it.
class CliRun : public test::SampleFolder {
protected:
    CliRun() : SampleFolder({.animations = 2, .frames = 5, .width = 32, .height = 28, .seed = 3}) {
        TeamColours colours;
        colours.selection[2] = 17;
        colours.tables[4][9] = 0x7C1F;
        WriteTeamColourFile(folder / "teamcolours.UTC", colours);
    }

    // Runs in the sample's folder, so that relative names are relative to it.
    ProgramEnd Run(const std::vector<std::string>& arguments) const {
        return test::RunCliProgram(arguments, {.workingFolder = folder.path()});
    }
    std::vector<std::string> Compress(const std::string& base) const {
        auto arguments = CompressGroup(base, 11, 20);
        arguments.insert(arguments.begin() + 1, "-q");
        return arguments;
    }
    // The same as a whole command line, for a program started apart.
    std::vector<std::string> CompressCommand(const std::string& base) const {
        auto arguments = Compress(base);
        arguments.insert(arguments.begin(), test::CliProgram());
        return arguments;
    }
    // The names in the folder other than the sample's own.
    std::vector<std::string> Made() const {
        std::vector<std::string> names;
        for (const auto& name : folder.Entries()) {
            if (name != "unit" && name != "mask" && name != "building" &&
                name != "teamcolours.UTC") {
                names.push_back(name);
            }
        }
        return names;
    }
};

// Identity of inputs and outputs: an output is compared with the inputs as a file, however
// either is spelled.

TEST_F(CliRun, RenderNeverWritesOverItsInput) {
    ASSERT_EQ(Run(Compress("hero")).exitStatus, 0);
    const Bytes unit = folder.Read("hero.UTD");
    std::filesystem::create_directory(folder / "sub");
    std::filesystem::create_symlink("hero.UTD", folder / "link.UTD");
    std::filesystem::create_hard_link(folder / "hero.UTD", folder / "hard.UTD");
    for (const std::string& output :
         {std::string("./hero.UTD"), Path("hero.UTD"), std::string("sub/../hero.UTD"),
          std::string("link.UTD"), std::string("hard.UTD")}) {
        const ProgramEnd end = Run({"render", "hero.UTD", "-o", output});
        EXPECT_EQ(end.exitStatus, 2) << output;
        EXPECT_TRUE(Contains(end.errors, "is the input file")) << end.errors;
    }
    // The input as found ignoring case, the way the tool finds files.
    const ProgramEnd found = Run({"render", "HERO.utd", "-o", "hero.UTD"});
    EXPECT_EQ(found.exitStatus, 2) << found.errors;
    EXPECT_EQ(folder.Read("hero.UTD"), unit);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.UTD"));
}

TEST_F(CliRun, BuildingAndCompressNeverWriteOverAnInput) {
    // A building picture named h.BPT, given as H.BPT: found as h.BPT, the output's own name.
    std::filesystem::copy_file(set.building, folder / "h.BPT");
    const Bytes picture = folder.Read("h.BPT");
    const ProgramEnd building =
        Run({"building", "-o", "h", "H.BPT", "--mask", set.buildingMask.string()});
    EXPECT_EQ(building.exitStatus, 2) << building.errors;
    EXPECT_EQ(folder.Read("h.BPT"), picture);
    // A team colour file named like the game file to be written.
    std::filesystem::copy_file(folder / "teamcolours.UTC", folder / "out.UPT");
    auto arguments = Compress("./out");
    arguments.insert(arguments.end(), {"--team-colours", Path("out.UPT")});
    EXPECT_EQ(Run(arguments).exitStatus, 2);
    EXPECT_EQ(folder.Read("out.UPT"), folder.Read("teamcolours.UTC"));
    EXPECT_FALSE(std::filesystem::exists(folder / "out.UTD"));
}

// Special targets: pipes and devices are written straight into, links are kept, read-only
// files and folders are refused.

// "-o -" is the standard output, for the one file of render; the summary then goes to stderr.
TEST_F(CliRun, StandardOutputTakesOnlyOneFile) {
    ASSERT_EQ(Run(Compress("hero")).exitStatus, 0);
    const ProgramEnd png = Run({"render", "hero.UTD", "-o", "-"});
    EXPECT_EQ(png.exitStatus, 0);
    ASSERT_GT(png.output.size(), 8u);
    EXPECT_EQ(png.output.substr(1, 3), "PNG");
    EXPECT_TRUE(Contains(png.errors, "wrote - ("));
    const ProgramEnd raw = Run({"render", "hero.UTD", "--raw", "--canvas", "4x2", "-o", "-"});
    EXPECT_EQ(raw.output.size(), 4u * 2u * 2u);
    EXPECT_FALSE(std::filesystem::exists(folder / "-"));
    for (const char* command : {"compress", "ure", "building"}) {
        const ProgramEnd refused = Run({command, "-o", "-", Path("unit/anim00")});
        EXPECT_EQ(refused.exitStatus, 2) << command << refused.errors;
    }
    EXPECT_EQ(Made(), (std::vector<std::string>{"hero.UPT", "hero.UTD"}));
}

// The real device names, in a mount namespace of their own: /dev/full says the disk is full,
// /dev/null takes everything, /dev/stdout goes where the standard output goes; all stay as
// they were.
TEST_F(CliRun, DevicesInAPrivateDevFolder) {
    ASSERT_EQ(Run(Compress("hero")).exitStatus, 0);
    const auto unit = Path("hero.UTD");
    const auto stdoutFile = folder / "stdout.png";
    const auto failures = test::InPrivateDevices([&] {
        std::string failures;
        const auto check = [&](bool ok, const std::string& what) {
            if (!ok) {
                failures += what + "\n";
            }
        };
        const ProgramEnd full = test::RunCliProgram({"render", unit, "-o", "/dev/full"});
        check(full.exitStatus == 1, "/dev/full: status " + std::to_string(full.exitStatus));
        check(Contains(full.errors, "/dev/full: cannot write the file: No space left on device"),
              "/dev/full: " + full.errors);
        const ProgramEnd null = test::RunCliProgram({"render", unit, "-o", "/dev/null"});
        check(null.exitStatus == 0, "/dev/null: " + null.errors);
        const ProgramEnd out =
            test::RunCliProgram({"render", unit, "-o", "/dev/stdout"}, {.outputFile = stdoutFile});
        check(out.exitStatus == 0, "/dev/stdout: " + out.errors);
        struct stat info {};
        check(::lstat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode), "/dev/full replaced");
        check(::lstat("/dev/null", &info) == 0 && S_ISCHR(info.st_mode), "/dev/null replaced");
        check(::lstat("/dev/stdout", &info) == 0 && S_ISLNK(info.st_mode), "/dev/stdout replaced");
        return failures;
    });
    if (!failures) {
        GTEST_SKIP() << "no private mount namespace here (needs root)";
    }
    EXPECT_EQ(*failures, "");
    const Bytes png = folder.Read("stdout.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
}

// Signals: SIGINT and SIGTERM remove the new files and leave the old pair. While another save
// holds the folder's lock, a run waits with both new files written; the lock and the files'
// cleanup are pinned on their own, this checks the program installs and uses them.

TEST_F(CliRun, ASignalWhileWaitingForTheLockRemovesTheNewFiles) {
    for (const int signal : {SIGTERM, SIGINT, 0}) {
        folder.Write("hero.UTD", {1});
        folder.Write("hero.UPT", {2});
        std::optional<test::HeldLock> lock(std::in_place, folder.path());
        test::Program run(CompressCommand("hero"));
        ASSERT_TRUE(test::WaitForLockWaiter(folder.path(), std::chrono::seconds(60)));
        ASSERT_EQ(Made().size(), 4u); // the old pair and both new files, written in full
        EXPECT_EQ(folder.Read("hero.UTD"), Bytes{1});
        if (signal == 0) {
            // Unsignalled, it replaces both once the lock is free.
            lock.reset();
            EXPECT_EQ(run.Wait().exitStatus, 0);
            EXPECT_GT(folder.Read("hero.UTD").size(), 1u);
            EXPECT_GT(folder.Read("hero.UPT").size(), 1u);
        } else {
            run.Signal(signal);
            EXPECT_EQ(run.Wait().signal, signal);
            lock.reset();
            EXPECT_EQ(folder.Read("hero.UTD"), Bytes{1});
            EXPECT_EQ(folder.Read("hero.UPT"), Bytes{2});
        }
        EXPECT_EQ(Made(), (std::vector<std::string>{"hero.UPT", "hero.UTD"})) << signal;
    }
}

// Inputs that are not files (a pipe would hang the run for ever) are refused at once.

TEST_F(CliRun, InputsThatAreNotFilesAreRefusedWithStatusOne) {
    ASSERT_EQ(Run(Compress("hero")).exitStatus, 0);
    for (const char* name : {"pipe.UTD", "pipe.UTC", "walk/walk_0001.tga"}) {
        std::filesystem::create_directories((folder / name).parent_path());
        ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0) << name;
    }
    auto withColours = Compress("x");
    withColours.insert(withColours.end(), {"--team-colours", "pipe.UTC"});
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"info", "pipe.UTD"}, {"compress", "-o", "x", "walk/walk_0001.tga"}, withColours}) {
        const ProgramEnd end = test::RunCliProgram(arguments, {.workingFolder = folder.path()});
        EXPECT_EQ(end.exitStatus, 1) << arguments[0] << " " << arguments[1] << end.errors;
        EXPECT_TRUE(Contains(end.errors, "is a pipe (FIFO), not a file")) << end.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "x.UTD"));
}

// Pictures that end early: read as the reader reads them, but a batch run fails, naming the
// file and the pixels missing.

TEST_F(CliRun, TruncatedPicturesFailTheRunNamingTheFileAndTheMissingPixels) {
    const auto picture = folder / "unit/anim01/anim01_0003.tga";
    // A plain 32-bit picture of the same size, cut 5 pixels before its end.
    Bytes cut =
        test::TgaBuilder::Picture(32, 28, std::vector<TgaColor>(32 * 28, 0xFF2040F0u), 32, false);
    cut.erase(cut.end() - 5 * 4, cut.end());
    folder.Write("unit/anim01/anim01_0003.tga", cut);
    const ProgramEnd compress = Run(Compress("hero"));
    EXPECT_EQ(compress.exitStatus, 1);
    EXPECT_TRUE(Contains(compress.errors, picture.string() +
                                              ": the picture ends early: 5 of its 896 pixels "
                                              "are missing"))
        << compress.errors;
    EXPECT_FALSE(std::filesystem::exists(folder / "hero.UTD"));
}

// Messages: English, naming the file and the reason, also for what the loaders report. The
// loaders' own reasons are pinned with them; this checks the program passes them on.

TEST_F(CliRun, MessagesNameTheFileAndTheReasonInEnglish) {
    const auto isEnglish = [](const std::string& text) {
        return std::all_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    folder.Write("unit/anim00/anim00_0002.tga",
                 test::TgaBuilder(4, 4).Type(1).Depth(8).Descriptor(0).bytes());
    const ProgramEnd mapped = Run(Compress("hero"));
    EXPECT_EQ(mapped.exitStatus, 1);
    EXPECT_TRUE(Contains(mapped.errors, Path("unit/anim00/anim00_0002.tga") +
                                            ": the tool does not read this kind of Targa "
                                            "picture: a colour-mapped picture"))
        << mapped.errors;
    EXPECT_TRUE(isEnglish(mapped.errors)) << mapped.errors;

    const ProgramEnd unknown = Run({"compres", "-o", "x"});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_TRUE(Contains(unknown.errors, "unknown subcommand \"compres\"")) << unknown.errors;
}

// Loose checks: info checks what opening checks, and tells of bytes a format ignores.

TEST_F(CliRun, InfoWarnsOfTrailingBytesAndRefusesMissingPoints) {
    ASSERT_EQ(Run({"ure", "-o", "walk", Path("unit/anim00")}).exitStatus, 0);
    EXPECT_EQ(Run({"info", "walk.URE"}).errors, "");
    Bytes colours = folder.Read("teamcolours.UTC");
    colours.resize(colours.size() + 100, 0x3C);
    folder.Write("long.UTC", colours);
    const ProgramEnd longColours = Run({"info", "long.UTC"});
    EXPECT_EQ(longColours.exitStatus, 0);
    EXPECT_TRUE(Contains(longColours.errors,
                         "warning: long.UTC: 100 bytes after the end of its data are ignored"))
        << longColours.errors;

    ASSERT_EQ(Run(Compress("hero")).exitStatus, 0);
    Bytes unit = folder.Read("hero.UTD");
    unit.push_back(9);
    folder.Write("long.UTD", unit);
    const ProgramEnd longUnit = Run({"info", "long.UTD"});
    EXPECT_EQ(longUnit.exitStatus, 0);
    EXPECT_TRUE(Contains(longUnit.errors, "long.UTD: 1 bytes after the end")) << longUnit.errors;
    EXPECT_EQ(Run({"info", "hero.UTD"}).errors, "");

    // An origin info file must hold the point tables its counts call for.
    UnitData data;
    data.AddAnimation({});
    data.AddAnimation({});
    WriteOriginInfo(data, folder / "points.OID");
    EXPECT_EQ(Run({"info", "points.OID"}).exitStatus, 0);
    Bytes points = folder.Read("points.OID");
    points.pop_back();
    folder.Write("cut.OID", points);
    const ProgramEnd cutPoints = Run({"info", "cut.OID"});
    EXPECT_EQ(cutPoints.exitStatus, 1);
    EXPECT_TRUE(Contains(cutPoints.errors, "the point tables of 2 animations and 0 groups"))
        << cutPoints.errors;
}

} // namespace
} // namespace fenwold
