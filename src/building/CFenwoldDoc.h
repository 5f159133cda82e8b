#pragma once

#include "building/BuildingRecord.h"
#include "image/BuildingPicture.h"
#include "platform/Platform.h"
#include "unit/AnimationDocument.h"

#include <filesystem>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace fenwold {

// One open building: its picture record, its compressed animations with their codebook, and its
// team colours. The animations are the same records as a unit's; they are kept in a UnitData
// whose groups and unit points a building never uses.
class CFenwoldDoc final : public AnimationDocument {
public:
    static constexpr std::string_view kTitlePrefix = "Build - ";
    static constexpr std::string_view kCompressionTitle = "VQ Compression - ";

    explicit CFenwoldDoc(Platform platform)
        : AnimationDocument(platform, kTitlePrefix, "Noname.Bpt") {}
    ~CFenwoldDoc() override { NotifyClosing(); }

    BuildingRecord* Record() { return record_.get(); }
    const BuildingRecord* Record() const { return record_.get(); }
    TeamColours& Colours() { return data_.teamColours; }
    const TeamColours& Colours() const { return data_.teamColours; }

    // The registration view's animations, played while the building has no compressed ones.
    void SetRegisteredAnimations(const std::list<RegisteredAnimation>* list) { registered_ = list; }
    const std::list<RegisteredAnimation>* RegisteredAnimations() const { return registered_; }

    bool OpenedFromFile() const { return openedFromFile_; }
    bool PictureImported() const { return pictureImported_; }

    void FreeAnimations();
    void FreeBuildingRecord();
    void SetRecord(BuildingRecord record);

    // "Open Building": frees the old record, then imports the picture cut to its visible pixels
    // and centred in whole tiles. Says "그림을 읽을수 없다." when there is nothing to use.
    bool ImportPicture(const std::filesystem::path& name);
    // "Open Mask": the team planes for a picture this document imported. A mask that cannot be
    // read leaves the record as it was and says so.
    bool ImportMask(const std::filesystem::path& name);

    // Refuses, with a message, a result whose tables do not fit or that holds more than 200
    // animations.
    bool AcceptCompressionResult(CompressionResult result) override;
    // The byte count the building file announces in its header.
    std::uint32_t GameDataSize() const;

    // Reads a building file of version 7 or 8; a building file of another version empties the
    // building and says why. A file that is no building file (its first bytes are not "Build
    // File") or is malformed is refused with a message and nothing changes.
    bool OnOpenDocument(const std::filesystem::path& path);
    bool Save() override;
    bool SaveAs() override;

private:
    // Writes the Pixel555 and the Pixel565 file; false (after a message) when there is nothing
    // to save or a file cannot be written. The team indices are computed first if nothing has
    // computed them yet, so that the file holds team colour indices, never the mask's 0 and 1.
    bool WriteBothVariants(const std::filesystem::path& file555,
                           const std::filesystem::path& file565);

    std::unique_ptr<BuildingRecord> record_;
    // Where the imported picture lay in its Targa picture, to line its mask up with it.
    std::optional<BuildingPicture> importedGeometry_;
    const std::list<RegisteredAnimation>* registered_ = nullptr;
    bool openedFromFile_ = false;
    bool pictureImported_ = false;
};

} // namespace fenwold
