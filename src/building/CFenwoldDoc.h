#pragma once

#include "building/BuildingRecord.h"
#include "image/BuildingPicture.h"
#include "platform/Platform.h"
#include "unit/UnitData.h"
#include "vq/CompressionResult.h"

#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace fenwold {

// One open building: its picture record, its compressed animations with their codebook, and its
// team colours. The animations are the same records as a unit's; they are kept in a UnitData
// whose groups and unit points a building never uses.
class CFenwoldDoc final : public CompressionResultSink {
public:
    static constexpr std::string_view kTitlePrefix = "Build - ";
    static constexpr std::string_view kCompressionTitle = "VQ Compression - ";

    explicit CFenwoldDoc(Platform platform) : platform_(platform) {}

    BuildingRecord* Record() { return record_.get(); }
    const BuildingRecord* Record() const { return record_.get(); }
    UnitData& Animations() { return animations_; }
    const UnitData& Animations() const { return animations_; }
    TeamColours& Colours() { return animations_.teamColours; }
    const TeamColours& Colours() const { return animations_.teamColours; }

    // The registration view's animations, played while the building has no compressed ones.
    void SetRegisteredAnimations(const std::list<RegisteredAnimation>* list) { registered_ = list; }
    const std::list<RegisteredAnimation>* RegisteredAnimations() const { return registered_; }

    bool NamedFlag() const { return namedFlag_; }
    bool OpenedFromFile() const { return openedFromFile_; }
    bool PictureImported() const { return pictureImported_; }
    const std::string& FileName() const { return fileName_; }
    const std::filesystem::path& PathName() const { return pathName_; }
    void SetPathName(std::filesystem::path path) { pathName_ = std::move(path); }
    const std::string& Title() const { return title_; }
    // The title: the prefix, the text, then the file name between double quotes.
    void SetTitle(std::string_view text);
    bool IsModified() const { return modified_; }
    // Stores the mark and shows it in the status bar.
    void SetModifiedFlag(bool modified);
    // Asked before the building closes; false keeps it open.
    bool SaveModified();
    void SetRepaintHandler(std::function<void()> repaint) { repaintView_ = std::move(repaint); }

    void FreeAnimations() { animations_.FreeAnimations(); }
    void FreeBuildingRecord() { record_.reset(); }
    void SetRecord(BuildingRecord record);

    // "Open Building": frees the old record, then imports the picture cut to its visible pixels
    // and centred in whole tiles. Says "그림을 읽을수 없다." when there is nothing to use.
    bool ImportPicture(const std::filesystem::path& name);
    // "Open Mask": the team planes for a picture this document imported. A mask that cannot be
    // read leaves the record as it was and says so.
    bool ImportMask(const std::filesystem::path& name);

    void AcceptCompressionResult(CompressionResult result) override;
    // The byte count the building file announces in its header.
    std::uint32_t GameDataSize() const;

    // Reads a building file of version 7 or 8; a file of another version empties the building
    // and says why. A malformed file is refused with a message and nothing changes.
    bool OnOpenDocument(const std::filesystem::path& path);
    void Save();
    void SaveAs();

private:
    template <typename Operation>
    bool ReportingFileErrors(Operation&& operation);
    // Writes the Pixel555 and the Pixel565 file; false (after a message) when there is nothing
    // to save or a file cannot be written.
    bool WriteBothVariants(const std::filesystem::path& file555,
                           const std::filesystem::path& file565);

    Platform platform_;
    UnitData animations_;
    std::unique_ptr<BuildingRecord> record_;
    // Where the imported picture lay in its Targa picture, to line its mask up with it.
    std::optional<BuildingPicture> importedGeometry_;
    const std::list<RegisteredAnimation>* registered_ = nullptr;
    bool namedFlag_ = false;
    bool openedFromFile_ = false;
    bool pictureImported_ = false;
    bool modified_ = false;
    std::string fileName_ = "Noname.Bpt";
    std::string title_;
    std::filesystem::path pathName_;
    std::function<void()> repaintView_;
};

} // namespace fenwold
