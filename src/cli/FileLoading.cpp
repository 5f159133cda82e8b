#include "cli/FileLoading.h"

#include "cli/Console.h"
#include "image/LoaderMessages.h"
#include "image/TgaReader.h"
#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/WorkingFolder.h"
#include "teamcolour/TeamColourFile.h"
#include "unit/GameDataFile.h"
#include "unit/OriginInfoFile.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitRecordIo.h"

#include <functional>
#include <new>

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

namespace {

// Reads the file's head first, so that a file of the wrong kind is refused before the rest of
// it is read into memory.
BinaryReader ReadAfterHead(const std::filesystem::path& path,
                           const std::function<void(BinaryReader&)>& checkHead) {
    BinaryReader head = BinaryReader::FromFileHead(path, BinaryReader::kHeadSize);
    checkHead(head);
    return BinaryReader::FromFile(path);
}

LoadedFile LoadUnit(const std::filesystem::path& path, bool toolData) {
    LoadedFile file;
    file.kind = toolData ? FileKind::ToolData : FileKind::GameData;
    BinaryReader in = ReadAfterHead(path, [&](BinaryReader& head) {
        const std::int32_t version = PeekUnitFileVersion(head);
        file.version = static_cast<std::uint32_t>(version);
        if (toolData ? (version != 5 && version != 6) : (version != 3 && version != 4)) {
            head.fail("version " + std::to_string(version) + " cannot be read");
        }
    });
    file.unit = toolData ? ReadToolData(in) : ReadGameData(in);
    file.unit->Renumber();
    CheckEncodedTables(*file.unit, path.string());
    file.trailingBytes = in.bytesAfter();
    return file;
}

LoadedFile LoadBuilding(const std::filesystem::path& path) {
    LoadedFile file;
    file.kind = FileKind::Building;
    BinaryReader in = ReadAfterHead(path, [&](BinaryReader& head) {
        file.version = PeekBuildingFileVersion(head);
        if (file.version != 7 && file.version != 8) {
            head.fail("version " + std::to_string(file.version) + " cannot be read");
        }
    });
    file.building = ReadBuildingFile(in);
    file.building->animations.Renumber();
    CheckEncodedTables(file.building->animations, path.string());
    file.trailingBytes = in.bytesAfter();
    return file;
}

LoadedFile LoadRunLength(const std::filesystem::path& path) {
    LoadedFile file;
    file.kind = FileKind::RunLength;
    BinaryReader in = ReadAfterHead(path, [&](BinaryReader& head) {
        head.expectMagic(kRunLengthUnitMagic);
        file.version = head.u32();
    });
    file.registered = ReadRunLengthUnitFile(in);
    file.trailingBytes = in.bytesAfter();
    return file;
}

// Opening applies the point tables to a unit of the same counts; without a unit, the tables
// the counts call for must all be there.
LoadedFile LoadOriginInfo(const std::filesystem::path& path) {
    LoadedFile file;
    file.kind = FileKind::OriginInfo;
    BinaryReader head = BinaryReader::FromFileHead(path, BinaryReader::kHeadSize + 8);
    head.expectMagic(kOriginInfoMagic);
    file.version = head.u32();
    file.originGroups = head.i32();
    file.originAnimations = head.i32();
    if (file.originGroups < 0 || file.originAnimations < 0) {
        head.fail("the group or animation count is negative");
    }
    const std::uint64_t size =
        OriginInfoFileSize(static_cast<std::uint64_t>(file.originGroups),
                           static_cast<std::uint64_t>(file.originAnimations));
    if (head.fileSize() < size) {
        head.fail("the file ends early: the point tables of " +
                  std::to_string(file.originAnimations) + " animations and " +
                  std::to_string(file.originGroups) + " groups need " + std::to_string(size) +
                  " bytes, the file has " + std::to_string(head.fileSize()));
    }
    file.trailingBytes = head.fileSize() - size;
    return file;
}

LoadedFile LoadTeamColours(const std::filesystem::path& path) {
    LoadedFile file;
    file.kind = FileKind::TeamColours;
    BinaryReader in = BinaryReader::FromFileHead(path, kTeamColourFileSize);
    file.colours = ReadTeamColourFile(in);
    file.trailingBytes = in.bytesAfter();
    return file;
}

LoadedFile LoadTarga(const std::filesystem::path& path) {
    const CTgaReader reader(path);
    if (!reader.HasAlpha()) {
        throw FileError(path.string(), reader.failure());
    }
    if (reader.missingPixels() > 0) {
        throw FileError(path.string(),
                        messages::EndsEarlyReason(reader.missingPixels(), reader.pixels().size()));
    }
    LoadedFile file;
    file.kind = FileKind::Targa;
    file.pictureWidth = reader.width();
    file.pictureHeight = reader.height();
    return file;
}

} // namespace

LoadedFile LoadAnyFile(const std::filesystem::path& named) {
    const std::string extension = UpperExtension(named);
    try {
        // Found as the desktop finds a file: ignoring case when the name itself is missing.
        const std::filesystem::path path = ResolveExisting(named);
        if (extension == ".UTD" || extension == ".UPT") {
            return LoadUnit(path, extension == ".UTD");
        }
        if (extension == ".URE") {
            return LoadRunLength(path);
        }
        if (extension == ".BPT") {
            return LoadBuilding(path);
        }
        if (extension == ".UTC") {
            return LoadTeamColours(path);
        }
        if (extension == ".OID") {
            return LoadOriginInfo(path);
        }
        if (extension == ".TGA") {
            return LoadTarga(path);
        }
    } catch (const FileError& error) {
        throw CliFailure(kExitFileFailure, error.what());
    } catch (const std::bad_alloc&) {
        throw CliFailure(kExitFileFailure, named.string() + ": out of memory reading the file");
    }
    throw CliFailure(kExitUsage, named.string() + ": not a file of the tool (.UTD, .UPT, .URE, "
                                                  ".OID, .BPT, .UTC or .TGA)");
}

} // namespace fenwold::cli
