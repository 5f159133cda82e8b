// fenwold-cli run as a user would run it, as a program of its own: where its files go, what it
// refuses, and what signals, concurrent runs and odd targets do to its saves.
#include "image/SampleArt.h"
#include "support/Subprocess.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"
#include "teamcolour/TeamColourFile.h"
#include "unit/OriginInfoFile.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ProgramEnd;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A sample unit (two walking figures, masks, a house) and the pair compressed from it.
class CliRun : public ::testing::Test {
protected:
    CliRun() {
        set = WriteSampleSet(folder.path(),
                             {.animations = 2, .frames = 5, .width = 32, .height = 28, .seed = 3});
        TeamColours colours;
        colours.selection[2] = 17;
        colours.tables[4][9] = 0x7C1F;
        WriteTeamColourFile(folder / "teamcolours.UTC", colours);
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    // Runs in the sample's folder, so that relative names are relative to it.
    ProgramEnd Run(const std::vector<std::string>& arguments) const {
        return test::RunCliProgram(arguments, {.workingFolder = folder.path()});
    }
    std::vector<std::string> Compress(const std::string& base, int seed = 11) const {
        return {
            "compress",           "-q",       "-o", Path(base), "--seed",
            std::to_string(seed), "--lookup", "20", "--group",  Path("unit") + "," + Path("mask")};
    }
    // The same as a whole command line, for a program started apart.
    std::vector<std::string> CompressCommand(const std::string& base, int seed = 11) const {
        auto arguments = Compress(base, seed);
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

    test::TempFolder folder;
    SampleSet set;
};

// Identity of inputs and outputs: an output is compared with the inputs as a file, however
// either is spelled.

using OutputIdentity = CliRun;

TEST_F(OutputIdentity, RenderNeverWritesOverItsInput) {
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

TEST_F(OutputIdentity, BuildingAndCompressNeverWriteOverAnInput) {
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

using SpecialTargets = CliRun;

TEST_F(SpecialTargets, PipesLinksAndReadOnlyFiles) {
    ASSERT_EQ(Run(Compress("hero")).exitStatus, 0);
    ASSERT_EQ(::mkfifo((folder / "pipe.png").c_str(), 0644), 0);
    test::PipeReader reader(folder / "pipe.png");
    EXPECT_EQ(Run({"render", "hero.UTD", "-o", "pipe.png"}).exitStatus, 0);
    const Bytes piped = reader.Finish();
    ASSERT_GT(piped.size(), 8u);
    EXPECT_EQ(piped[1], 'P');
    struct stat info {};
    ASSERT_EQ(::lstat((folder / "pipe.png").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    std::filesystem::create_directory(folder / "real");
    std::filesystem::create_symlink("real/frame.png", folder / "frame.png");
    EXPECT_EQ(Run({"render", "hero.UTD", "-o", "frame.png"}).exitStatus, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "frame.png"));
    EXPECT_EQ(folder.Read("real/frame.png"), piped);

    folder.Write("kept.png", {1});
    ::chmod((folder / "kept.png").c_str(), 0444);
    const ProgramEnd readOnly = Run({"render", "hero.UTD", "-o", "kept.png"});
    EXPECT_EQ(readOnly.exitStatus, 1);
    EXPECT_TRUE(Contains(readOnly.errors, "kept.png: the file is read-only")) << readOnly.errors;
    EXPECT_EQ(folder.Read("kept.png"), Bytes{1});
    EXPECT_EQ(Run({"render", "hero.UTD", "-o", "real"}).exitStatus, 1);
}

// "-o -" is the standard output, for the one file of render; the summary then goes to stderr.
TEST_F(SpecialTargets, StandardOutput) {
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
TEST_F(SpecialTargets, DevicesInAPrivateDevFolder) {
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

// Pairs: both files replaced or neither, whatever fails, and concurrent runs never mix them.

using PairSaves = CliRun;

TEST_F(PairSaves, ATargetThatCannotBeWrittenKeepsBothFiles) {
    folder.Write("b.UTD", {1});
    std::filesystem::create_directory(folder / "b.UPT");
    const ProgramEnd folderInTheWay = Run(Compress("b"));
    EXPECT_EQ(folderInTheWay.exitStatus, 1);
    EXPECT_TRUE(Contains(folderInTheWay.errors, "b.UPT: is a folder")) << folderInTheWay.errors;
    EXPECT_EQ(folder.Read("b.UTD"), Bytes{1});
    std::filesystem::remove(folder / "b.UPT");
    folder.Write("b.UPT", {2});
    ::chmod((folder / "b.UPT").c_str(), 0444);
    EXPECT_EQ(Run(Compress("b")).exitStatus, 1);
    EXPECT_EQ(folder.Read("b.UTD"), Bytes{1});
    EXPECT_EQ(folder.Read("b.UPT"), Bytes{2});
    EXPECT_EQ(Made(), (std::vector<std::string>{"b.UPT", "b.UTD"}));
}

// A full disk, made as a small file system in a mount namespace of its own.
TEST_F(PairSaves, AFullDiskKeepsBothFiles) {
    const auto disk = folder / "disk";
    std::filesystem::create_directory(disk);
    const auto failures = test::InPrivateDevices([&] {
        if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=16k") != 0) {
            return std::string("cannot mount a small file system");
        }
        folder.Write("disk/hero.UTD", {1});
        folder.Write("disk/hero.UPT", {2});
        const ProgramEnd end = test::RunCliProgram(Compress("disk/hero"));
        std::string failures;
        if (end.exitStatus != 1 || !Contains(end.errors, "No space left on device")) {
            failures += "status " + std::to_string(end.exitStatus) + ": " + end.errors;
        }
        if (folder.Read("disk/hero.UTD") != Bytes{1} || folder.Read("disk/hero.UPT") != Bytes{2}) {
            failures += "the old pair was changed\n";
        }
        for (const auto& entry : std::filesystem::directory_iterator(disk)) {
            const auto name = entry.path().filename().string();
            if (name != "hero.UTD" && name != "hero.UPT") {
                failures += "left " + name + "\n";
            }
        }
        return failures;
    });
    if (!failures) {
        GTEST_SKIP() << "no private mount namespace here (needs root)";
    }
    EXPECT_EQ(*failures, "");
}

// While a save holds the folder's lock, another waits with its new files written; it replaces
// both when the lock is free.
TEST_F(PairSaves, RenamesWaitForTheFoldersLock) {
    folder.Write("hero.UTD", {1});
    folder.Write("hero.UPT", {2});
    std::optional<test::HeldLock> lock(std::in_place, folder.path());
    test::Program run(CompressCommand("hero"), {.workingFolder = folder.path()});
    ASSERT_TRUE(test::WaitForLockWaiter(folder.path(), std::chrono::seconds(60)));
    EXPECT_EQ(folder.Read("hero.UTD"), Bytes{1});
    EXPECT_EQ(folder.Read("hero.UPT"), Bytes{2});
    EXPECT_EQ(Made().size(), 4u); // and the two new files, written in full
    lock.reset();
    EXPECT_EQ(run.Wait().exitStatus, 0);
    EXPECT_EQ(Made(), (std::vector<std::string>{"hero.UPT", "hero.UTD"}));
    EXPECT_GT(folder.Read("hero.UTD").size(), 1u);
}

TEST_F(PairSaves, ConcurrentRunsNeverMixAPair) {
    ASSERT_EQ(Run(Compress("five", 5)).exitStatus, 0);
    ASSERT_EQ(Run(Compress("six", 6)).exitStatus, 0);
    const Bytes fiveTool = folder.Read("five.UTD"), fiveGame = folder.Read("five.UPT");
    const Bytes sixTool = folder.Read("six.UTD"), sixGame = folder.Read("six.UPT");
    ASSERT_NE(fiveTool, sixTool);
    for (int round = 0; round < 6; ++round) {
        test::Program a(CompressCommand("hero", 5)), b(CompressCommand("hero", 6));
        EXPECT_EQ(a.Wait().exitStatus, 0);
        EXPECT_EQ(b.Wait().exitStatus, 0);
        const Bytes tool = folder.Read("hero.UTD"), game = folder.Read("hero.UPT");
        EXPECT_TRUE((tool == fiveTool && game == fiveGame) || (tool == sixTool && game == sixGame))
            << round;
    }
    EXPECT_EQ(Made().size(), 6u); // hero, five and six pairs, nothing else
}

// Signals: SIGINT and SIGTERM remove the temporary files and never leave half a pair; SIGKILL
// never leaves a cut file.

class Signals : public CliRun {
protected:
    // The pair a whole run writes, kept aside.
    void SetUp() override {
        ASSERT_EQ(Run(Compress("new")).exitStatus, 0);
        newTool = folder.Read("new.UTD");
        newGame = folder.Read("new.UPT");
        std::filesystem::remove(folder / "new.UTD");
        std::filesystem::remove(folder / "new.UPT");
    }
    // Puts back the old pair (one byte each), starts a run and sends it the signal after a while.
    ProgramEnd SignalARun(int signal, std::chrono::milliseconds after) {
        folder.Write("hero.UTD", {1});
        folder.Write("hero.UPT", {2});
        test::Program run(CompressCommand("hero"));
        std::this_thread::sleep_for(after);
        run.Signal(signal);
        return run.Wait();
    }

    Bytes newTool;
    Bytes newGame;
};

TEST_F(Signals, ASignalWhileWaitingForTheLockRemovesTheNewFiles) {
    for (const int signal : {SIGTERM, SIGINT}) {
        folder.Write("hero.UTD", {1});
        folder.Write("hero.UPT", {2});
        std::optional<test::HeldLock> lock(std::in_place, folder.path());
        test::Program run(CompressCommand("hero"));
        ASSERT_TRUE(test::WaitForLockWaiter(folder.path(), std::chrono::seconds(60)));
        ASSERT_EQ(Made().size(), 4u);
        run.Signal(signal);
        EXPECT_EQ(run.Wait().signal, signal);
        lock.reset();
        EXPECT_EQ(Made(), (std::vector<std::string>{"hero.UPT", "hero.UTD"})) << signal;
        EXPECT_EQ(folder.Read("hero.UTD"), Bytes{1});
        EXPECT_EQ(folder.Read("hero.UPT"), Bytes{2});
    }
}

// Signals at moments spread over a whole run: each run ends with the old pair or the new one,
// and nothing else in the folder.
TEST_F(Signals, ASignalAtAnyMomentLeavesOnePairAndNoLitter) {
    for (int attempt = 0; attempt < 12; ++attempt) {
        const ProgramEnd end =
            SignalARun(attempt % 2 == 0 ? SIGTERM : SIGINT, std::chrono::milliseconds(attempt * 7));
        const Bytes tool = folder.Read("hero.UTD"), game = folder.Read("hero.UPT");
        const bool old = tool == Bytes{1} && game == Bytes{2};
        EXPECT_TRUE(old || (tool == newTool && game == newGame)) << attempt;
        EXPECT_TRUE(old || end.exitStatus == 0 || end.signal != 0) << attempt;
        EXPECT_EQ(Made(), (std::vector<std::string>{"hero.UPT", "hero.UTD"})) << attempt;
    }
}

TEST_F(Signals, SigkillNeverLeavesACutFile) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        SignalARun(SIGKILL, std::chrono::milliseconds(attempt * 9));
        const Bytes tool = folder.Read("hero.UTD"), game = folder.Read("hero.UPT");
        EXPECT_TRUE(tool == Bytes{1} || tool == newTool) << attempt;
        EXPECT_TRUE(game == Bytes{2} || game == newGame) << attempt;
    }
}

// Inputs that are not files (a pipe would hang the run for ever) are refused at once.

using CliInputsThatAreNotFiles = CliRun;

TEST_F(CliInputsThatAreNotFiles, AreRefusedWithStatusOne) {
    ASSERT_EQ(Run(Compress("hero")).exitStatus, 0);
    for (const char* name : {"pipe.UTD", "pipe.UTC", "pipe.tga", "walk/walk_0001.tga"}) {
        std::filesystem::create_directories((folder / name).parent_path());
        ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0) << name;
    }
    auto withColours = Compress("x");
    withColours.insert(withColours.end(), {"--team-colours", "pipe.UTC"});
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"info", "pipe.UTD"},
             {"info", "pipe.tga"},
             {"render", "pipe.UTD", "-o", "x.png"},
             {"building", "-o", "x", "pipe.tga", "--mask", "pipe.tga"},
             {"compress", "-o", "x", "walk/walk_0001.tga"},
             withColours}) {
        const ProgramEnd end = test::RunCliProgram(arguments, {.workingFolder = folder.path()});
        EXPECT_EQ(end.exitStatus, 1) << arguments[0] << " " << arguments[1] << end.errors;
        EXPECT_TRUE(Contains(end.errors, "is a pipe (FIFO), not a file")) << end.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "x.UTD"));
}

// Pictures that end early: read as the reader reads them, but a batch run fails, naming the
// file and the pixels missing.

using TruncatedPictures = CliRun;

TEST_F(TruncatedPictures, FailTheRunNamingTheFileAndTheMissingPixels) {
    const auto picture = folder / "unit/anim01/anim01_0003.tga";
    // A plain 32-bit picture of the same size, cut 5 pixels before its end.
    Bytes cut =
        test::TgaBuilder::Picture(32, 28, std::vector<TgaColor>(32 * 28, 0xFF2040F0u), 32, false);
    cut.resize(cut.size() - 5 * 4);
    folder.Write("unit/anim01/anim01_0003.tga", cut);
    const ProgramEnd compress = Run(Compress("hero"));
    EXPECT_EQ(compress.exitStatus, 1);
    EXPECT_TRUE(Contains(compress.errors, picture.string() +
                                              ": the picture ends early: 5 of its 896 pixels "
                                              "are missing"))
        << compress.errors;
    EXPECT_FALSE(std::filesystem::exists(folder / "hero.UTD"));
    const ProgramEnd info = Run({"info", picture.string()});
    EXPECT_EQ(info.exitStatus, 1);
    EXPECT_TRUE(Contains(info.errors, "5 of its 896 pixels are missing")) << info.errors;

    // A header alone: every pixel missing, not "a picture of 32 x 28".
    folder.Write("alone.tga", test::TgaBuilder(32, 28, 32, true).bytes());
    const ProgramEnd alone = Run({"info", "alone.tga"});
    EXPECT_EQ(alone.exitStatus, 1);
    EXPECT_TRUE(Contains(alone.errors, "896 of its 896 pixels are missing")) << alone.errors;
    const ProgramEnd building =
        Run({"building", "-o", "house", "alone.tga", "--mask", set.buildingMask.string()});
    EXPECT_EQ(building.exitStatus, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "house.BPT"));
}

// Messages: English, naming the file and the reason, also for what the loaders report.

using CliMessages = CliRun;

TEST_F(CliMessages, NameTheFileAndTheReasonInEnglish) {
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

    std::filesystem::remove(folder / "mask/anim01/anim01_mask_0004.tga");
    std::filesystem::remove(folder / "mask/anim01/anim01_mask_0005.tga");
    const ProgramEnd masks =
        Run({"compress", "-q", "-o", "x",
             Path("unit/anim01/anim01_0001.tga") + "," + Path("mask/anim01/anim01_mask_0001.tga")});
    EXPECT_EQ(masks.exitStatus, 1);
    EXPECT_TRUE(Contains(masks.errors, "the mask series has 3 pictures for 5 frames"))
        << masks.errors;
    EXPECT_TRUE(isEnglish(masks.errors)) << masks.errors;

    const ProgramEnd building = Run({"building", "-o", "x", "none.tga", "--mask", "none.tga"});
    EXPECT_EQ(building.exitStatus, 1);
    EXPECT_TRUE(Contains(building.errors, "none.tga: cannot open the file: No such file"))
        << building.errors;
    EXPECT_TRUE(isEnglish(building.errors)) << building.errors;

    const ProgramEnd unknown = Run({"compres", "-o", "x"});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_TRUE(Contains(unknown.errors, "unknown subcommand \"compres\"")) << unknown.errors;
}

// Loose checks: info checks what opening checks, and tells of bytes a format ignores.

using LooseChecks = CliRun;

TEST_F(LooseChecks, InfoRefusesCutFilesAndWarnsOfTrailingBytes) {
    ASSERT_EQ(Run({"ure", "-o", "walk", Path("unit/anim00")}).exitStatus, 0);
    Bytes runLength = folder.Read("walk.URE");
    runLength.resize(runLength.size() / 2);
    folder.Write("half.URE", runLength);
    EXPECT_EQ(Run({"info", "half.URE"}).exitStatus, 1);

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
    EXPECT_EQ(Run({"info", "walk.URE"}).errors, "");

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
