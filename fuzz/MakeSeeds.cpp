// Writes the seed corpus of every fuzz target: small, valid files of every kind, made from the
// sample art through the command-line tool's own commands and the writers, and from the small
// unit and building made in code. Usage: fenwold-fuzz-seeds FOLDER (one sub-folder per target).
#include "FuzzSupport.h"
#include "building/BuildingFile.h"
#include "building/CFenwoldDoc.h"
#include "cli/Cli.h"
#include "image/FrameStreams.h"
#include "image/SampleArt.h"
#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"
#include "platform/ScriptedPlatform.h"
#include "teamcolour/TeamColourFile.h"
#include "unit/GameDataFile.h"
#include "unit/OriginInfoFile.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitRecordIo.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

using namespace fenwold;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class Corpora {
public:
    explicit Corpora(fs::path folder) : folder_(std::move(folder)) {}

    void Add(const std::string& target, const std::string& name, const Bytes& bytes) const {
        fs::create_directories(folder_ / target);
        WriteFileAtomically(folder_ / target / name, bytes);
    }

private:
    fs::path folder_;
};

void Put16(Bytes& bytes, unsigned value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The same file as an older version: its version word changed and the 4-byte field at
// `flagOffset` (the codebook block flag, which the older version lacks) taken out.
Bytes OlderVersion(Bytes file, std::uint8_t version, std::size_t flagOffset) {
    file[32] = version;
    file.erase(file.begin() + static_cast<std::ptrdiff_t>(flagOffset),
               file.begin() + static_cast<std::ptrdiff_t>(flagOffset + 4));
    return file;
}

// Targa pictures of the kinds the plain 32-bit run-length writer does not make: 24 or 32 bits,
// plain or run-length coded (runs of equal pixels, raw packets between them), bottom row first.
Bytes EncodeTga(const SamplePicture& picture, bool runLength, int depth) {
    Bytes file(18, 0);
    file[2] = runLength ? 10 : 2;
    file[12] = static_cast<std::uint8_t>(picture.width);
    file[13] = static_cast<std::uint8_t>(picture.width >> 8);
    file[14] = static_cast<std::uint8_t>(picture.height);
    file[15] = static_cast<std::uint8_t>(picture.height >> 8);
    file[16] = static_cast<std::uint8_t>(depth);
    file[17] = depth == 32 ? 8 : 0;
    std::vector<TgaColor> pixels;
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        pixels.insert(pixels.end(), row, row + picture.width);
    }
    const auto put = [&](TgaColor colour) {
        for (int b = 0; b < depth / 8; ++b) {
            file.push_back(static_cast<std::uint8_t>(colour >> (8 * b)));
        }
    };
    for (std::size_t i = 0; i < pixels.size();) {
        if (!runLength) {
            put(pixels[i++]);
            continue;
        }
        std::size_t run = 1;
        while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) {
            ++run;
        }
        if (run >= 2) {
            file.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            put(pixels[i]);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < pixels.size() && raw < 128 &&
               (i + raw + 1 >= pixels.size() || pixels[i + raw] != pixels[i + raw + 1])) {
            ++raw;
        }
        file.push_back(static_cast<std::uint8_t>(raw - 1));
        for (std::size_t k = 0; k < raw; ++k) {
            put(pixels[i + k]);
        }
        i += raw;
    }
    return file;
}

// The frame stream target's input: width (16 bits), height (8 bits), the stream.
Bytes StreamInput(int width, int height, const Bytes& stream) {
    Bytes input;
    Put16(input, static_cast<unsigned>(width));
    input.push_back(static_cast<std::uint8_t>(height));
    input.insert(input.end(), stream.begin(), stream.end());
    return input;
}

Bytes SlotBytes(const std::vector<std::uint16_t>& slots) {
    Bytes bytes;
    for (const std::uint16_t slot : slots) {
        Put16(bytes, slot);
    }
    return bytes;
}

// The encoded table target's input for one frame, drawn at the buffer's corner.
Bytes TablesInput(const UnitData& unit, const UnitAnimation& animation,
                  const AlphaTableNode& frame) {
    const auto& index = animation.indexTables[static_cast<std::size_t>(frame.index / 4)].bytes;
    Bytes input{static_cast<std::uint8_t>(frame.width),
                static_cast<std::uint8_t>(frame.height),
                static_cast<std::uint8_t>(animation.blockFlag | animation.maskFlag << 1 |
                                          (frame.index % 4) << 2 | 16),
                255,
                static_cast<std::uint8_t>(std::min(unit.codebook.Size(), 255)),
                0,
                0};
    Put16(input, static_cast<unsigned>(index.size()));
    input.insert(input.end(), index.begin(), index.end());
    input.insert(input.end(), frame.bytes.begin(), frame.bytes.end());
    return input;
}

UnitData ReadUnit(const Bytes& file, bool toolData) {
    BinaryReader in("seed", file);
    UnitData unit = toolData ? ReadToolData(in) : ReadGameData(in);
    unit.Renumber();
    CheckEncodedTables(unit, in.name());
    return unit;
}

void RunCli(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"fenwold-cli", "--quiet"});
    std::vector<const char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    if (cli::RunCli(static_cast<int>(argv.size()), argv.data()) != 0) {
        throw FileError(arguments.at(2), "the command failed");
    }
}

void MakeSeeds(const fs::path& folder) {
    const Corpora corpora(folder);
    // Absolute, since the documents resolve names against their working folder.
    const fs::path work = fs::absolute(folder) / "work";
    fs::remove_all(work);
    const SampleOptions options{.animations = 2, .frames = 4, .width = 16, .height = 16};
    const SampleSet set = WriteSampleSet(work / "sample", options);
    const std::string masked = set.firstPictures[0].string() + "," + set.firstMasks[0].string();
    const std::string plain = set.firstPictures[1].string();

    // Pictures: the sample's own, and every other accepted kind.
    corpora.Add("tga", "frame.tga", ReadWholeFile(set.firstPictures[0]));
    corpora.Add("tga", "mask.tga", ReadWholeFile(set.firstMasks[0]));
    const SamplePicture frame = DrawSampleFrame(options, 0, 1);
    corpora.Add("tga", "plain32.tga", EncodeTga(frame, false, 32));
    corpora.Add("tga", "plain24.tga", EncodeTga(frame, false, 24));
    corpora.Add("tga", "rle24.tga", EncodeTga(frame, true, 24));

    // A unit compressed from the sample (one team-coloured animation, one plain), its run-length
    // file, and the small units made in code with either codebook entry size.
    RunCli({"compress", "-o", (work / "unit").string(), "--lookup", "16", "--seed", "1",
            "--threads", "1", masked, plain});
    RunCli({"ure", "-o", (work / "unit.URE").string(), masked, plain});
    const Bytes toolData = ReadWholeFile(work / "unit.UTD");
    const Bytes gameData = ReadWholeFile(work / "unit.UPT");
    const Bytes runLength = ReadWholeFile(work / "unit.URE");
    UnitData unit = ReadUnit(toolData, true);
    UnitData small16 = fuzz::MakeSmallUnit(1);
    UnitData small8 = fuzz::MakeSmallUnit(0);
    const Bytes small8Tool = EncodeToolData(small8, "small8.UTD");
    const Bytes small8Game = EncodeGameData(small8, true, "small8.UPT");
    const std::vector<std::pair<std::string, Bytes>> toolFiles{
        {"unit.UTD", toolData},
        {"small16.UTD", EncodeToolData(small16, "small16.UTD")},
        {"small8.UTD", small8Tool},
        {"small8v5.UTD", OlderVersion(small8Tool, 5, 52)}};
    const std::vector<std::pair<std::string, Bytes>> gameFiles{
        {"unit.UPT", gameData},
        {"small16.UPT", EncodeGameData(small16, true, "small16.UPT")},
        {"small8.UPT", small8Game},
        {"small8v3.UPT", OlderVersion(small8Game, 3, 44)}};
    for (const auto& [name, bytes] : toolFiles) {
        ReadUnit(bytes, true);
        corpora.Add("tool_data", name, bytes);
        corpora.Add("documents", name, bytes);
    }
    for (const auto& [name, bytes] : gameFiles) {
        ReadUnit(bytes, false);
        corpora.Add("game_data", name, bytes);
        corpora.Add("documents", name, bytes);
    }
    corpora.Add("run_length", "unit.URE", runLength);

    // Buildings: the sample frame imported as a one-tile building with its mask, carrying the
    // compressed unit's animations, in both colour variants; the small one with 8-pixel entries
    // as version 7.
    ScriptedPlatform platform(work);
    CFenwoldDoc building(platform.Get());
    if (!building.ImportPicture(set.firstPictures[0]) || !building.ImportMask(set.firstMasks[0])) {
        throw FileError(set.firstPictures[0].string(), "the building picture was not imported");
    }
    ComputeTeamIndices(*building.Record());
    const BuildingRecord& record = *building.Record();
    const BuildingRecord smallRecord = fuzz::MakeSmallBuildingRecord();
    const Bytes small8Building =
        EncodeBuildingFile(smallRecord, small8, ColourVariant::Pixel555, 0);
    const std::vector<std::pair<std::string, Bytes>> buildingFiles{
        {"house.BPT", EncodeBuildingFile(record, unit, ColourVariant::Pixel555, 0)},
        {"house6.BPT", EncodeBuildingFile(record, unit, ColourVariant::Pixel565, 0)},
        {"empty.BPT", EncodeBuildingFile(record, UnitData{}, ColourVariant::Pixel555, 0)},
        {"small16.BPT", EncodeBuildingFile(smallRecord, small16, ColourVariant::Pixel555, 0)},
        {"small8v7.BPT", OlderVersion(small8Building, 7, 48)}};
    for (const auto& [name, bytes] : buildingFiles) {
        BinaryReader in(name, bytes);
        ReadBuildingFile(in);
        corpora.Add("building", name, bytes);
        corpora.Add("documents", name, bytes);
    }

    // Origin info and team colours.
    WriteOriginInfo(unit, work / "unit.OID");
    WriteOriginInfo(small16, work / "small.OID");
    corpora.Add("origin_info", "unit.OID", ReadWholeFile(work / "unit.OID"));
    corpora.Add("origin_info", "small.OID", ReadWholeFile(work / "small.OID"));
    WriteTeamColourFile(work / "small.UTC", small16.teamColours);
    corpora.Add("team_colours", "small.UTC", ReadWholeFile(work / "small.UTC"));

    // Streams: the registered frames' pixel and alpha streams, their alpha-keyed colour stream,
    // and a building tile's alpha-keyed index stream.
    const auto registered = ReadRunLengthUnitFile("unit.URE", runLength);
    const RegisteredFrame& registeredFrame = registered.front().frames.front();
    const int width = registeredFrame.width;
    const int height = registeredFrame.height;
    corpora.Add("frame_streams", "pixels",
                StreamInput(width, height, SlotBytes(registeredFrame.pixelStream)));
    corpora.Add("frame_streams", "alpha", StreamInput(width, height, registeredFrame.alphaStream));
    const auto pixels = DecodeFramePixels(registeredFrame.pixelStream, width, height);
    const auto alpha = DecodeFrameAlpha(registeredFrame.alphaStream, width, height);
    corpora.Add("frame_streams", "keyed16",
                StreamInput(width, height,
                            SlotBytes(EncodeAlphaKeyed16(pixels.data(), alpha.data(), width, height,
                                                         width, width))));
    corpora.Add(
        "frame_streams", "keyed8",
        StreamInput(kTileSize, kTileSize,
                    EncodeAlphaKeyed8(smallRecord.teamIndex.data(), smallRecord.teamMask.data(),
                                      kTileSize, kTileSize, kTileSize, kTileSize)));

    // Encoded tables: a frame of each kind of animation.
    int seed = 0;
    for (const UnitData* source : {&unit, &small16, &small8}) {
        for (const UnitAnimation& animation : source->animations) {
            corpora.Add("encoded_tables", "frame" + std::to_string(seed++),
                        TablesInput(*source, animation, animation.alphaTables.back()));
        }
    }
    fs::remove_all(work);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fenwold-fuzz-seeds FOLDER\n";
        return 2;
    }
    try {
        MakeSeeds(argv[1]);
    } catch (const FileError& error) {
        std::cerr << "fenwold-fuzz-seeds: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
