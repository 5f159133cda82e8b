#include "unit/UnitDoc.h"

#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "unit/CompressedAnimations.h"
#include "unit/GameDataFile.h"
#include "unit/OriginInfoFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitRecordIo.h"
#include "vq/TableValidation.h"

#include <cstdio>
#include <optional>

namespace fenwold {
namespace {

constexpr const char* kToolDataFilter = "Unit Tool Data 화일 (*.utd)|*.utd||";
constexpr const char* kGameDataFilter = "Unit 화일 (*.upt)|*.upt||";
constexpr const char* kOriginInfoFilter = "Unit Origin Info화일 (*.oid)|*.oid||";

} // namespace

std::filesystem::path CUnitDoc::Locate(const std::filesystem::path& name) const {
    return platform_.folder.Locate(name);
}

void CUnitDoc::SetPathName(std::filesystem::path path) {
    AnimationDocument::SetPathName(std::move(path));
    SetTitle(PathName().filename().string());
}

std::string CUnitDoc::TitleSuffix() const {
    char error[64];
    std::snprintf(error, sizeof error, "%f", static_cast<double>(data_.compressionError));
    return std::string("<") + error + ">";
}

bool CUnitDoc::OnOpenDocument(const std::filesystem::path& path) {
    std::optional<std::int32_t> otherVersion;
    const bool read = ReportingFileErrors([&] {
        const auto file = Locate(path);
        // The version decides before the rest of the file is read, if at all.
        BinaryReader head = BinaryReader::FromFileHead(file, BinaryReader::kHeadSize);
        const std::int32_t version = PeekUnitFileVersion(head);
        if (toolDataFlag_ ? (version == 5 || version == 6) : (version == 3 || version == 4)) {
            BinaryReader in = BinaryReader::FromFile(file);
            UnitData read = toolDataFlag_ ? ReadToolData(in) : ReadGameData(in);
            read.Renumber();
            CheckEncodedTables(read, in.name());
            data_ = std::move(read);
        } else {
            otherVersion = version;
        }
    });
    if (!read) {
        return false;
    }
    if (otherVersion) {
        // Nothing of it is read, and an empty unit in its window would look like the file.
        const std::string reason = "version " + std::to_string(*otherVersion) +
                                   " cannot be read; " +
                                   (toolDataFlag_ ? "unit tool data files have version 5 or 6"
                                                  : "unit game files have version 3 or 4");
        if (toolDataFlag_) {
            platform_.prompts.ShowMessage(FileError(path.string(), reason).what());
        } else {
            platform_.prompts.ShowFileProblem("다른 버젼이라 읽을수 없당.", path, reason);
        }
        return false;
    }
    SetFileName(path.string());
    SetTitle(kCompressionTitle);
    data_.Renumber();
    SetNamedFlag(true);
    SetQualityText({});
    Notify(DocumentEvent::AnimationsReplaced);
    return true;
}

bool CUnitDoc::ConfirmSaveWithoutRegistrations() {
    if (unkeptRegistrations_ == 0) {
        return true;
    }
    const std::string text =
        std::to_string(unkeptRegistrations_) +
        " registered animation(s) of the \"Set animation\" tab are not compressed, and this save "
        "writes only the compressed unit. Registered series are kept only by \"Save URE\" or by "
        "compressing them (\"VQ Compute\"). Save without them?";
    return platform_.prompts.ShowMessage(text, MessageButtons::OkCancel) == MessageAnswer::Ok;
}

bool CUnitDoc::Save() {
    platform_.sound.Stop();
    // A unit named by Save UPT alone has no path to save under yet.
    if (!NamedFlag() || PathName().empty()) {
        // This Save saved the unit whole, under the name it asked for.
        const bool written = SaveAs();
        if (written) {
            SetModifiedFlag(unkeptRegistrations_ > 0);
        }
        return written;
    }
    if (!ConfirmSaveWithoutRegistrations()) {
        return false;
    }
    const bool written = ReportingFileErrors([&] {
        if (toolDataFlag_) {
            WriteToolDataWithGameData(data_, true, Locate(WithFixedExtension(PathName(), ".UTD")),
                                      Locate(WithFixedExtension(PathName(), ".UPT")));
        } else {
            WriteGameData(data_, false, Locate(PathName()));
        }
    });
    if (written) {
        // What the files do not hold keeps the mark.
        SetModifiedFlag(unkeptRegistrations_ > 0);
    }
    return written;
}

bool CUnitDoc::SaveAs() {
    if (!ConfirmSaveWithoutRegistrations()) {
        return false;
    }
    const auto chosen = platform_.prompts.AskSaveFile({.filter = kToolDataFilter});
    if (!chosen) {
        return false;
    }
    const auto toolData = WithFixedExtension(*chosen, ".UTD");
    const bool written = ReportingFileErrors([&] {
        WriteToolDataWithGameData(data_, toolDataFlag_, Locate(toolData),
                                  Locate(WithFixedExtension(*chosen, ".UPT")));
    });
    if (!written) {
        return false;
    }
    SetFileName(toolData.string());
    SetNamedFlag(true);
    SetTitle(kCompressionTitle);
    // The whole path of the file written, with its extension, so that a later Save lands here
    // even after a dialog moved the folder, and the recent-file list names a file that exists.
    SetPathName(toolData);
    return true;
}

void CUnitDoc::SaveUpt() {
    const auto chosen = platform_.prompts.AskSaveFile({.filter = kGameDataFilter});
    if (!chosen) {
        return;
    }
    const std::string name = BareNameWithFixedExtension(*chosen, ".UPT");
    if (ReportingFileErrors([&] { WriteGameData(data_, toolDataFlag_, Locate(name)); })) {
        SetFileName(name);
        SetNamedFlag(true);
    }
}

void CUnitDoc::SaveUtdInfo() {
    if (const auto chosen = platform_.prompts.AskSaveFile({.filter = kOriginInfoFilter})) {
        ReportingFileErrors(
            [&] { WriteOriginInfo(data_, Locate(BareNameWithFixedExtension(*chosen, ".OID"))); });
    }
}

void CUnitDoc::OpenUtdInfo() {
    if (const auto chosen = platform_.prompts.AskOpenFile({.filter = kOriginInfoFilter})) {
        ReportingFileErrors([&] {
            ReadOriginInfo(data_, Locate(BareNameWithFixedExtension(*chosen, ".OID")),
                           platform_.prompts);
        });
        Notify(DocumentEvent::Repaint);
    }
}

bool CUnitDoc::AcceptCompressionResult(CompressionResult result) {
    if (!CompressionResultFits(result)) {
        platform_.prompts.ShowMessage(kCompressionResultRefused);
        return false;
    }
    Codebook codebook = CodebookFromLookupTable(result.entryCount, result.lookupTable);
    // The groups borrowed the animations being replaced; the compression command rebuilds them.
    data_.groups.clear();
    data_.animations = MakeCompressedAnimations(std::move(result.animations));
    data_.codebook = std::move(codebook);
    data_.compressionError = result.error;
    toolDataFlag_ = true;
    // Whoever ran the compression says what it lost.
    SetQualityText({});
    Notify(DocumentEvent::AnimationsReplaced);
    SetModifiedFlag(true);
    return true;
}

void CUnitDoc::SetQualityText(std::string text) {
    qualityText_ = std::move(text);
    platform_.statusBar.SetQualityIndicator(qualityText_);
}

void CUnitDoc::RebuildGroups(std::span<const std::int32_t> memberCounts) {
    data_.RebuildGroups(memberCounts);
    Notify(DocumentEvent::GroupsReplaced);
}

void CUnitDoc::RebuildGroupsAt(std::span<const std::vector<std::int32_t>> memberPositions) {
    data_.RebuildGroupsAt(memberPositions);
    Notify(DocumentEvent::GroupsReplaced);
}

void CUnitDoc::ReplaceGroups(std::span<const GroupByPosition> groups) {
    data_.ReplaceGroups(groups);
    for (UnitGroup& group : data_.groups) {
        for (UnitAnimation* member : group.members) {
            member->workingPointX = 0.0f;
            member->workingPointY = 0.0f;
        }
    }
    SetModifiedFlag(true);
    Notify(DocumentEvent::GroupsReplaced);
}

} // namespace fenwold
