#include "unit/UnitDoc.h"

#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/SavePrompt.h"
#include "unit/CompressedAnimations.h"
#include "unit/GameDataFile.h"
#include "unit/OriginInfoFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitRecordIo.h"
#include "vq/TableValidation.h"

#include <cstdio>

namespace fenwold {
namespace {

constexpr const char* kToolDataFilter = "Unit Tool Data 화일 (*.utd)|*.utd||";
constexpr const char* kGameDataFilter = "Unit 화일 (*.upt)|*.upt||";
constexpr const char* kOriginInfoFilter = "Unit Origin Info화일 (*.oid)|*.oid||";

} // namespace

template <typename Operation>
bool CUnitDoc::ReportingFileErrors(Operation&& operation) {
    try {
        operation();
        return true;
    } catch (const FileError& error) {
        platform_.prompts.ShowMessage(error.what());
        return false;
    }
}

std::filesystem::path CUnitDoc::Locate(const std::filesystem::path& name) const {
    return platform_.folder.Locate(name);
}

void CUnitDoc::SetPathName(std::filesystem::path path) {
    pathName_ = std::move(path);
    SetTitle(pathName_.filename().string());
}

void CUnitDoc::SetTitle(std::string_view text) {
    char error[64];
    std::snprintf(error, sizeof error, "%f", static_cast<double>(data_.compressionError));
    title_ = std::string(kTitlePrefix) + std::string(text) + "\"" + fileName_ + "\"<" + error + ">";
}

bool CUnitDoc::OnOpenDocument(const std::filesystem::path& path) {
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
            // Nothing of a file of another version is read and the unit is left empty; its
            // groups go with the animations they borrowed.
            if (!toolDataFlag_) {
                platform_.prompts.ShowMessage("다른 버젼이라 읽을수 없당.");
            }
            data_.groups.clear();
            data_.FreeAnimations();
            data_.codebook.entries8.clear();
            data_.codebook.entries16.clear();
        }
    });
    if (!read) {
        return false;
    }
    fileName_ = path.string();
    SetTitle(kCompressionTitle);
    data_.Renumber();
    namedFlag_ = true;
    return true;
}

bool CUnitDoc::SaveModified() {
    if (!modified_) {
        return true;
    }
    switch (AskToSaveChanges(platform_.prompts, fileName_)) {
    case MessageAnswer::Cancel:
        return false;
    case MessageAnswer::Yes:
        // Closing after a save that did not happen would lose the unit's changes.
        return namedFlag_ ? Save() : SaveAs();
    default:
        return true;
    }
}

bool CUnitDoc::Save() {
    platform_.sound.Stop();
    // A unit named by Save UPT alone has no path to save under yet.
    if (!namedFlag_ || pathName_.empty()) {
        return SaveAs();
    }
    const bool written = ReportingFileErrors([&] {
        if (toolDataFlag_) {
            WriteToolDataWithGameData(data_, true, Locate(WithFixedExtension(pathName_, ".UTD")),
                                      Locate(WithFixedExtension(pathName_, ".UPT")));
        } else {
            WriteGameData(data_, false, Locate(pathName_));
        }
    });
    if (written) {
        SetModifiedFlag(false);
    }
    return written;
}

bool CUnitDoc::SaveAs() {
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
    fileName_ = toolData.string();
    namedFlag_ = true;
    SetTitle(kCompressionTitle);
    // The whole path, so that a later Save lands here even after a dialog moved the folder.
    SetPathName(*chosen);
    return true;
}

void CUnitDoc::SaveUpt() {
    const auto chosen = platform_.prompts.AskSaveFile({.filter = kGameDataFilter});
    if (!chosen) {
        return;
    }
    const std::string name = BareNameWithFixedExtension(*chosen, ".UPT");
    if (ReportingFileErrors([&] { WriteGameData(data_, toolDataFlag_, Locate(name)); })) {
        fileName_ = name;
        namedFlag_ = true;
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
    }
}

void CUnitDoc::AcceptCompressionResult(CompressionResult result) {
    if (!CompressionResultFits(result)) {
        platform_.prompts.ShowMessage(kCompressionResultRefused);
        return;
    }
    Codebook codebook = CodebookFromLookupTable(result.entryCount, result.lookupTable);
    // The groups borrowed the animations being replaced; the compression command rebuilds them.
    data_.groups.clear();
    data_.animations = MakeCompressedAnimations(std::move(result.animations));
    data_.codebook = std::move(codebook);
    data_.compressionError = result.error;
    if (repaintView_) {
        repaintView_();
    }
    SetModifiedFlag(true);
    toolDataFlag_ = true;
}

} // namespace fenwold
