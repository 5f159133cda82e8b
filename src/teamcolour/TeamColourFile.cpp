#include "teamcolour/TeamColourFile.h"

#include "platform/BinaryReader.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"

namespace fenwold {

TeamColours ReadTeamColourFile(const std::filesystem::path& path) {
    auto reader = BinaryReader::FromFileHead(path, kTeamColourFileSize);
    return ReadTeamColourFile(reader);
}

TeamColours ReadTeamColourFile(BinaryReader& reader) {
    if (reader.remaining() < kTeamColourFileSize) {
        reader.fail("a team colour file has " + std::to_string(kTeamColourFileSize) +
                    " bytes, this one " + std::to_string(reader.remaining()));
    }
    TeamColours colours;
    reader.read(colours.selection);
    for (auto& table : colours.tables) {
        reader.read(table);
    }
    return colours;
}

void WriteTeamColourFile(const std::filesystem::path& path, const TeamColours& colours) {
    BinaryWriter writer;
    writer.bytes(colours.selection);
    for (const auto& table : colours.tables) {
        writer.write(table);
    }
    writer.SaveAtomically(path);
}

bool LoadTeamColours(const Platform& platform, TeamColours& colours) {
    const auto chosen = platform.prompts.AskOpenFile({.filter = kTeamColourFilter});
    if (!chosen) {
        return false;
    }
    try {
        colours =
            ReadTeamColourFile(platform.folder.Locate(BareNameWithFixedExtension(*chosen, ".UTC")));
        return true;
    } catch (const FileError& error) {
        platform.prompts.ShowMessage(error.what());
        return false;
    }
}

bool SaveTeamColours(const Platform& platform, const TeamColours& colours) {
    const auto chosen = platform.prompts.AskSaveFile({.filter = kTeamColourFilter});
    if (!chosen) {
        return false;
    }
    try {
        WriteTeamColourFile(platform.folder.Locate(BareNameWithFixedExtension(*chosen, ".UTC")),
                            colours);
        return true;
    } catch (const FileError& error) {
        platform.prompts.ShowMessage(error.what());
        return false;
    }
}

} // namespace fenwold
