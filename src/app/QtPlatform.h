#pragma once

#include "platform/Platform.h"
#include "platform/SystemServices.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QSoundEffect>
#include <QStatusBar>

class QWidget;

namespace fenwold {

// Message boxes and dialogs of the desktop program. File dialogs move the working folder to the
// chosen folder, as the Windows dialogs moved the current directory.
class QtPrompts final : public Prompts {
public:
    QtPrompts(WorkingFolder& folder, QWidget*& parent) : folder_(folder), parent_(parent) {}

    MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) override;
    // The tool's message, with the file and the reason under it (unless the message says it).
    void ShowFileProblem(std::string_view text, const std::filesystem::path& file,
                         std::string_view reason) override;
    std::optional<std::filesystem::path> AskOpenFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> AskSaveFile(const FileDialogRequest& request) override;
    std::optional<RgbColour> AskColour(RgbColour initial) override;

private:
    MessageAnswer Show(std::string_view text, const QString& details, MessageButtons buttons);
    std::optional<std::filesystem::path> Chosen(const QString& path);
    WorkingFolder& folder_;
    QWidget*& parent_;
};

// Sound 231 is the chime played, over and over, when a compression has finished.
class QtSound final : public SoundPlayer {
public:
    void PlayLooping(int resourceId) override;
    void Stop() override;

private:
    QSoundEffect effect_;
};

// The main window's status bar: message pane, the active unit's quality pane, modified pane,
// CAP/NUM/SCRL panes and the progress control that long loads show with a caption.
class FenwoldStatusBar final : public QStatusBar, public StatusBar {
public:
    explicit FenwoldStatusBar(QWidget* parent = nullptr);

    void ShowMessage(std::string_view text) override;
    void SetModifiedIndicator(bool modified) override;
    void SetQualityIndicator(std::string_view text) override;
    void BeginProgress(std::string_view caption, int steps) override;
    void StepProgress() override;
    void EndProgress() override;

    // The text of the message pane, under any passing command help.
    QString message() const;

private:
    QLabel* message_;
    QLabel* modified_;
    QLabel* quality_;
    QLabel* caption_;
    QProgressBar* progress_;
    QString messageBeforeProgress_;
    bool busy_ = false;
};

// Every service the documents and views call on, as the desktop program provides them.
struct QtPlatform {
    explicit QtPlatform(FenwoldStatusBar& bar) : prompts(folder, dialogParent), statusBar(bar) {}
    Platform Get() { return Platform{prompts, sound, clock, statusBar, folder}; }

    QWidget* dialogParent = nullptr;
    WorkingFolder folder;
    QtPrompts prompts;
    QtSound sound;
    SystemClock clock;
    FenwoldStatusBar& statusBar;
};

} // namespace fenwold
