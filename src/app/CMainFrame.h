#pragma once

#include "app/QtPlatform.h"
#include "app/RecentFiles.h"
#include "unittools/ToolHub.h"

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMdiArea;
class QMenu;
class QPrinter;

namespace fenwold {

class CChildFrame;
class CUnitFrame;
class ToolWindowSet;

// The main window: documents in child windows, the File, Tools and Help commands, the toolbar,
// the status bar, dropped files and the recent-file list.
class CMainFrame final : public QMainWindow {
public:
    CMainFrame();
    ~CMainFrame() override;

    Platform platform() { return services_.Get(); }
    // Opens a file by its extension; false when nothing could be opened.
    bool OpenByExtension(const QString& path);
    // A new document in its window; null after "Command failed." A unit window opened for a
    // run-length file reads it, by its bare name in the working folder, once it has started.
    CUnitFrame* NewUnitDocument(std::optional<std::string> runLengthFile = std::nullopt);
    CChildFrame* NewBuildingDocument();
    // The active document window, or null when it is not of that kind.
    CUnitFrame* ActiveUnitFrame() const;
    CChildFrame* ActiveBuildingFrame() const;
    QMdiArea* documents() const { return documents_; }
    // The tool windows, which the unit views feed.
    ToolHub& tools() { return *tools_; }
    ToolWindowSet& toolWindows() { return *toolWindows_; }
    // Enables the document commands for the active window and sets the Tools check marks.
    void UpdateCommands();
    QAction* action(int command) const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddCommand(QMenu* menu, int command, const QString& text, void (CMainFrame::*slot)());
    void CreateActions();
    void RebuildRecentMenu();
    void AddRecent(const std::filesystem::path& path);
    void OnNew();
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    void OnSaveUpt();
    void OnSaveUre();
    void OnSaveUtdInfo();
    void OnOpenUtdInfo();
    void OnPrintSetup();
    void OnAbout();
    void CommandFailed();
    bool OpenUnit(const QString& path, bool toolData);
    bool OpenBuilding(const QString& path);

    FenwoldStatusBar* statusBar_;
    QtPlatform services_;
    QMdiArea* documents_;
    QMenu* recentMenu_ = nullptr;
    RecentFiles recent_;
    // On the heap, so that anything reporting to it after it went is caught as a use after free.
    std::unique_ptr<ToolHub> tools_ = std::make_unique<ToolHub>();
    // The tools' objects and windows; they go before the hub they report to.
    std::unique_ptr<ToolWindowSet> toolWindows_;
    std::vector<QAction*> commands_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace fenwold
