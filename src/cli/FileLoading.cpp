#include "cli/FileLoading.h"

#include "cli/Console.h"
#include "image/TgaReader.h"
#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "teamcolour/TeamColourFile.h"
#include "unit/GameDataFile.h"
#include "unit/OriginInfoFile.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitRecordIo.h"

namespace fenwold::cli {
namespace {

std::string UpperExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return extension;
}

} // namespace

std::string_view KindName(FileKind kind) {
    switch (kind) {
    case FileKind::ToolData:
        return "unit tool data";
    case FileKind::GameData:
        return "unit game file";
    case FileKind::RunLength:
        return "run-length unit file";
    case FileKind::OriginInfo:
        return "origin info file";
    case FileKind::Building:
        return "building file";
    case FileKind::TeamColours:
        return "team colour file";
    case FileKind::Targa:
        return "Targa picture";
    }
    return "";
}

LoadedFile LoadAnyFile(const std::filesystem::path& path) {
    const std::string extension = UpperExtension(path);
    try {
        if (extension == ".UTD" || extension == ".UPT") {
            BinaryReader in = BinaryReader::FromFile(path);
            const std::int32_t version = PeekUnitFileVersion(in);
            const bool toolData = extension == ".UTD";
            LoadedFile file;
            file.kind = toolData ? FileKind::ToolData : FileKind::GameData;
            file.version = static_cast<std::uint32_t>(version);
            if (toolData ? (version != 5 && version != 6) : (version != 3 && version != 4)) {
                in.fail("version " + std::to_string(version) + " cannot be read");
            }
            file.unit = toolData ? ReadToolData(in) : ReadGameData(in);
            file.unit->Renumber();
            CheckEncodedTables(*file.unit, path.string());
            return file;
        }
        if (extension == ".URE") {
            LoadedFile file;
            file.kind = FileKind::RunLength;
            file.version = 1;
            file.registered = ReadRunLengthUnitFile(path);
            return file;
        }
        if (extension == ".BPT") {
            BinaryReader in = BinaryReader::FromFile(path);
            LoadedFile file;
            file.kind = FileKind::Building;
            file.version = PeekBuildingFileVersion(in);
            file.building = ReadBuildingFile(in);
            file.building->animations.Renumber();
            CheckEncodedTables(file.building->animations, path.string());
            return file;
        }
        if (extension == ".UTC") {
            LoadedFile file;
            file.kind = FileKind::TeamColours;
            file.colours = ReadTeamColourFile(path);
            return file;
        }
        if (extension == ".OID") {
            BinaryReader in = BinaryReader::FromFile(path);
            in.expectMagic(kOriginInfoMagic);
            LoadedFile file;
            file.kind = FileKind::OriginInfo;
            file.version = in.u32();
            file.originGroups = in.i32();
            file.originAnimations = in.i32();
            return file;
        }
        if (extension == ".TGA") {
            const CTgaReader reader(path);
            if (!reader.HasAlpha()) {
                throw FileError(path.string(), "not a Targa picture the tool can read (error " +
                                                   std::to_string(reader.error()) + ")");
            }
            LoadedFile file;
            file.kind = FileKind::Targa;
            file.pictureWidth = reader.width();
            file.pictureHeight = reader.height();
            return file;
        }
    } catch (const FileError& error) {
        throw CliFailure(kExitFileFailure, error.what());
    }
    throw CliFailure(kExitUsage, path.string() + ": not a file of the tool (.UTD, .UPT, .URE, "
                                                 ".OID, .BPT, .UTC or .TGA)");
}

} // namespace fenwold::cli
