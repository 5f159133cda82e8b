#include "building/CFenwoldDoc.h"

#include "building/BuildingFile.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"
#include "platform/FileNames.h"
#include "unit/Codebook.h"
#include "unit/CompressedAnimations.h"
#include "unit/GameDataFile.h"
#include "unit/UnitRecordIo.h"
#include "vq/TableValidation.h"

#include <utility>

namespace fenwold {

void CFenwoldDoc::FreeAnimations() {
    data_.FreeAnimations();
    Notify(DocumentEvent::AnimationsReplaced);
}

// The tool windows that draw the old record hear of it while it still exists, and find no
// record (or the new one) when they look it up.
void CFenwoldDoc::FreeBuildingRecord() {
    const std::unique_ptr<BuildingRecord> old = std::move(record_);
    Notify(DocumentEvent::BuildingRecordReplaced);
}

void CFenwoldDoc::SetRecord(BuildingRecord record) {
    const std::unique_ptr<BuildingRecord> old =
        std::exchange(record_, std::make_unique<BuildingRecord>(std::move(record)));
    Notify(DocumentEvent::BuildingRecordReplaced);
}

bool CFenwoldDoc::ImportPicture(const std::filesystem::path& name) {
    // Whoever draws the old record lets go of it before it is freed.
    FreeBuildingRecord();
    importedGeometry_.reset();
    std::string failure;
    auto picture = LoadBuildingPicture(platform_.folder.Absolute(name), platform_, &failure);
    if (!picture) {
        platform_.prompts.ShowFileProblem("그림을 읽을수 없다.", name,
                                          "no building was imported: " + failure);
        return false;
    }
    SetRecord(MakeBuildingRecord(std::move(picture->pixels), std::move(picture->alpha),
                                 picture->width, picture->height, picture->cropX, picture->cropY,
                                 picture->boxWidth, picture->boxHeight));
    importedGeometry_ = std::move(picture);
    pictureImported_ = true;
    SetModifiedFlag(true);
    return true;
}

bool CFenwoldDoc::ImportMask(const std::filesystem::path& name) {
    if (!record_ || !importedGeometry_) {
        return false;
    }
    std::string failure;
    if (!LoadBuildingMask(*importedGeometry_, platform_.folder.Absolute(name), platform_.prompts,
                          &failure)) {
        platform_.prompts.ShowFileProblem("\"" + name.string() +
                                              "\": the mask picture cannot be read; the building "
                                              "keeps its team planes as they were.",
                                          name, failure);
        return false;
    }
    record_->teamIndex = std::move(importedGeometry_->maskSelection);
    record_->teamMask = std::move(importedGeometry_->maskCoverage);
    // A new mask needs its indices computed again.
    record_->teamIndicesComputed = 0;
    Notify(DocumentEvent::Repaint);
    SetModifiedFlag(true);
    return true;
}

bool CFenwoldDoc::AcceptCompressionResult(CompressionResult result) {
    if (!CompressionResultFits(result)) {
        platform_.prompts.ShowMessage(kCompressionResultRefused);
        return false;
    }
    if (result.animations.size() > static_cast<std::size_t>(kMaxBuildingAnimations)) {
        platform_.prompts.ShowMessage("A building holds at most 200 animations; this compression "
                                      "made " +
                                      std::to_string(result.animations.size()) + ".");
        return false;
    }
    Codebook codebook = CodebookFromLookupTable(result.entryCount, result.lookupTable);
    data_.FreeAnimations();
    data_.codebook = std::move(codebook);
    data_.animations = MakeCompressedAnimations(std::move(result.animations));
    Notify(DocumentEvent::AnimationsReplaced);
    SetModifiedFlag(true);
    return true;
}

std::uint32_t CFenwoldDoc::GameDataSize() const {
    // A building announces its animations and codebook as a unit's game file does.
    return fenwold::GameDataSize(data_);
}

bool CFenwoldDoc::WriteBothVariants(const std::filesystem::path& file555,
                                    const std::filesystem::path& file565) {
    if (!record_) {
        platform_.prompts.ShowMessage("멀 저장하란 말이냐?");
        return false;
    }
    if (!record_->HasTeamPlanes()) {
        platform_.prompts.ShowMessage("Mask 없이는 저장할 수 없다..");
        return false;
    }
    if (data_.AnimationCount() > kMaxBuildingAnimations) {
        platform_.prompts.ShowMessage("A building holds at most 200 animations.");
        return false;
    }
    ComputeTeamIndices(*record_);
    const std::uint32_t size = GameDataSize();
    return ReportingFileErrors([&] {
        const auto bytes555 = EncodeBuildingFile(*record_, data_, ColourVariant::Pixel555, size);
        const auto bytes565 = EncodeBuildingFile(*record_, data_, ColourVariant::Pixel565, size);
        const FileToSave pair[] = {{platform_.folder.Locate(file555), bytes555},
                                   {platform_.folder.Locate(file565), bytes565}};
        SaveFilesTogether(pair);
    });
}

bool CFenwoldDoc::Save() {
    platform_.sound.Stop();
    if (!NamedFlag() || PathName().empty()) {
        return SaveAs();
    }
    // The .BPT is written under the stored name itself; its 6.BPT beside it.
    if (!WriteBothVariants(PathName(), CutAtFirstDot(PathName()).string() + "6.BPT")) {
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CFenwoldDoc::SaveAs() {
    const auto chosen = platform_.prompts.AskSaveFile({.filter = kBuildingFilter});
    if (!chosen) {
        return false;
    }
    const std::string base = CutAtFirstDot(*chosen).string();
    if (!WriteBothVariants(base + ".BPT", base + "6.BPT")) {
        return false;
    }
    // The name of the file written, so that a later Save replaces the same two files.
    SetPathName(base + ".BPT");
    SetFileName(PathName().filename().string());
    SetNamedFlag(true);
    SetTitle(PathName().filename().string());
    SetModifiedFlag(false);
    return true;
}

bool CFenwoldDoc::OnOpenDocument(const std::filesystem::path& path) {
    std::optional<BuildingFileContent> content;
    bool otherVersion = false;
    const bool read = ReportingFileErrors([&] {
        const auto file = platform_.folder.Locate(path);
        // The version decides before the rest of the file is read, if at all.
        BinaryReader head = BinaryReader::FromFileHead(file, BinaryReader::kHeadSize);
        // Only a building file of another version opens empty; anything else is refused.
        head.expectMagic(kBuildingMagic);
        head.seek(0);
        const std::uint32_t version = PeekBuildingFileVersion(head);
        if (version == 7 || version == 8) {
            BinaryReader in = BinaryReader::FromFile(file);
            content = ReadBuildingFile(in);
            content->animations.Renumber();
            CheckEncodedTables(content->animations, in.name());
        } else {
            otherVersion = true;
            platform_.prompts.ShowMessage(head.name() + ": a building file of version " +
                                          std::to_string(version) +
                                          " cannot be read; the building stays empty.");
        }
    });
    if (!read) {
        return false;
    }
    data_.FreeAnimations();
    data_.codebook = Codebook{};
    if (content) {
        record_ = std::make_unique<BuildingRecord>(std::move(content->record));
        data_ = std::move(content->animations);
    } else if (otherVersion) {
        record_.reset();
    }
    SetFileName(path.string());
    SetPathName(path);
    SetTitle(kCompressionTitle);
    data_.Renumber();
    SetNamedFlag(true);
    openedFromFile_ = true;
    Notify(DocumentEvent::BuildingRecordReplaced);
    Notify(DocumentEvent::AnimationsReplaced);
    return true;
}

} // namespace fenwold
