#pragma once

#include "platform/Platform.h"
#include "unit/AnimationDocument.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace fenwold {

// One open unit: its data, and what the window shows about it (title, file name, modified mark).
// Every question to the user goes through the platform, so each command runs without a display.
class CUnitDoc final : public AnimationDocument {
public:
    static constexpr std::string_view kTitlePrefix = "Unit - ";
    static constexpr std::string_view kCompressionTitle = "VQ Compression - ";

    explicit CUnitDoc(Platform platform)
        : AnimationDocument(platform, kTitlePrefix, "Noname.UTD") {}
    ~CUnitDoc() override { NotifyClosing(); }

    UnitData& Data() { return data_; }
    const UnitData& Data() const { return data_; }

    // 1 when the unit holds tool data: the main frame sets it before opening a .UTD file, a
    // compression result sets it. It chooses the readers on open and the files Save writes.
    bool ToolDataFlag() const { return toolDataFlag_; }
    void SetToolDataFlag(bool flag) { toolDataFlag_ = flag; }
    // Remembers the file the unit belongs to and shows its name in the title.
    void SetPathName(std::filesystem::path path) override;

    // Reads the file by the version word: tool data versions 5 and 6 when ToolDataFlag is set,
    // game file versions 3 and 4 otherwise. A file of another version, one that cannot be read
    // and a malformed one are refused with a message and the unit stays as it was; returns false
    // then, and the window is not opened.
    bool OnOpenDocument(const std::filesystem::path& path);
    // Save clears the modified mark, also when it ran Save As for a unit without a name; Save As
    // leaves the mark as it was. Both ask first when registered animations would be left out.
    bool Save() override;
    bool SaveAs() override;
    void SaveUpt();
    void SaveUtdInfo();
    void OpenUtdInfo();

    // Takes over the animations and the codebook of a finished compression; the unit now holds
    // tool data and is modified. A result whose tables do not fit is refused with a message.
    bool AcceptCompressionResult(CompressionResult result) override;
    // Replaces the groups by consecutive runs of the animation list, one run per member count.
    void RebuildGroups(std::span<const std::int32_t> memberCounts);
    // Replaces the groups: group g holds the animations at the positions memberPositions[g] names.
    void RebuildGroupsAt(std::span<const std::vector<std::int32_t>> memberPositions);
    // Takes the groups the group editor made: every member's working point starts at (0, 0),
    // the unit is modified, and the windows look their groups up again.
    void ReplaceGroups(std::span<const GroupByPosition> groups);

    // What the compression that made the animations lost, in one line for the status bar; empty
    // when the animations were read from a file. Shown at once.
    const std::string& QualityText() const { return qualityText_; }
    void SetQualityText(std::string text);

    // How many of the registration view's animations no file of this unit keeps: registered or
    // changed since the last compression and not saved as a run-length file. The unit files hold
    // only compressed animations, so Save and Save As warn before leaving them out, and the unit
    // stays modified after such a save.
    void SetUnkeptRegistrations(int count) { unkeptRegistrations_ = count; }
    int UnkeptRegistrations() const { return unkeptRegistrations_; }

private:
    // The compression error in <>.
    std::string TitleSuffix() const override;
    std::filesystem::path Locate(const std::filesystem::path& name) const;
    // The warning before a save that leaves registered animations out; false when the artist
    // cancels.
    bool ConfirmSaveWithoutRegistrations();

    bool toolDataFlag_ = false;
    std::string qualityText_;
    int unkeptRegistrations_ = 0;
};

} // namespace fenwold
