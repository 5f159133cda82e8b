#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace fenwold {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A file dialog as the tool asks for it. The filter is given in the Windows form
// "Description (*.ext)|*.ext|...||".
struct FileDialogRequest {
    std::string filter = {};
    std::string title = {};
    std::string initialName = {};
};

struct RgbColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

// Everything that asks the user something. File dialogs leave the working folder at the folder of
// the chosen file, as the Windows dialogs left the current directory.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual MessageAnswer ShowMessage(std::string_view text,
                                      MessageButtons buttons = MessageButtons::Ok) = 0;
    // A problem with one file: the desktop shows the tool's message `text`; a batch run, which
    // speaks to people reading a log, says the file and the reason instead.
    virtual void ShowFileProblem(std::string_view text,
                                 [[maybe_unused]] const std::filesystem::path& file,
                                 [[maybe_unused]] std::string_view reason) {
        ShowMessage(text);
    }
    virtual std::optional<std::filesystem::path> AskOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::filesystem::path> AskSaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<RgbColour> AskColour(RgbColour initial) = 0;
};

} // namespace fenwold
