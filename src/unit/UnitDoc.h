#pragma once

#include "platform/Platform.h"
#include "unit/UnitData.h"
#include "vq/CompressionResult.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace fenwold {

// One open unit: its data, and what the window shows about it (title, file name, modified mark).
// Every question to the user goes through the platform, so each command runs without a display.
class CUnitDoc final : public CompressionResultSink {
public:
    static constexpr std::string_view kTitlePrefix = "Unit - ";
    static constexpr std::string_view kCompressionTitle = "VQ Compression - ";

    explicit CUnitDoc(Platform platform) : platform_(platform) {}

    UnitData& Data() { return data_; }
    const UnitData& Data() const { return data_; }

    // 1 when the unit holds tool data: the main frame sets it before opening a .UTD file, a
    // compression result sets it. It chooses the readers on open and the files Save writes.
    bool ToolDataFlag() const { return toolDataFlag_; }
    void SetToolDataFlag(bool flag) { toolDataFlag_ = flag; }
    // 1 once the unit was opened from a file or saved under a name.
    bool NamedFlag() const { return namedFlag_; }
    // The name shown in the title and the save prompt.
    const std::string& FileName() const { return fileName_; }
    const std::string& Title() const { return title_; }
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified) { modified_ = modified; }
    const std::filesystem::path& PathName() const { return pathName_; }
    // Remembers the file the unit belongs to and shows its name in the title.
    void SetPathName(std::filesystem::path path);
    // The title: prefix, text, the file name in double quotes, the compression error in <>.
    void SetTitle(std::string_view text);
    // The unit view asks to be repainted when a compression result replaces the animations.
    void SetRepaintHandler(std::function<void()> repaint) { repaintView_ = std::move(repaint); }

    // Reads the file by the version word: tool data versions 5 and 6 when ToolDataFlag is set,
    // game file versions 3 and 4 otherwise. Another version empties the unit. A file that cannot
    // be read or is malformed is refused with a message and the unit stays as it was; returns
    // false then.
    bool OnOpenDocument(const std::filesystem::path& path);
    // Asked before the unit closes; false keeps it open, also when the unit was to be saved and
    // the save was cancelled or failed.
    bool SaveModified();
    // Both return whether the files were written.
    bool Save();
    bool SaveAs();
    void SaveUpt();
    void SaveUtdInfo();
    void OpenUtdInfo();

    // Takes over the animations and the codebook of a finished compression; the unit now holds
    // tool data and is modified.
    void AcceptCompressionResult(CompressionResult result) override;

private:
    // Runs a file operation; a FileError is shown to the user. Returns whether it succeeded.
    template <typename Operation>
    bool ReportingFileErrors(Operation&& operation);
    std::filesystem::path Locate(const std::filesystem::path& name) const;

    Platform platform_;
    UnitData data_;
    bool namedFlag_ = false;
    bool toolDataFlag_ = false;
    bool modified_ = false;
    std::string fileName_ = "Noname.UTD";
    std::string title_;
    std::filesystem::path pathName_;
    std::function<void()> repaintView_;
};

} // namespace fenwold
