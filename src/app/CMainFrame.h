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
class DocumentWindow;

// The main window: documents in child windows, the File, Tools, Window and Help commands, the
// toolbar, the status bar, dropped files and the recent-file list. Its title names the active
// document.
class CMainFrame final : public QMainWindow {
public:
    CMainFrame();
    ~CMainFrame() override;

    Platform platform() { return services_.Get(); }
    // Opens a file by its extension; false when nothing could be opened. A file that cannot be
    // read opens no window (only a building file of another version opens, empty).
    bool OpenByExtension(const QString& path);
    // A recent-file entry: opens it, or says why it cannot be opened (a missing file, or one of
    // no known kind, leaves the list).
    void OpenRecent(const QString& path);
    const RecentFiles& recentFiles() const { return recent_; }
    // A new document in its window; null after "Command failed." A unit window opened for a
    // run-length file reads it, by its bare name in the working folder, before it is shown, and
    // is not shown when the file cannot be read.
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
    // The Window menu: the arrangement commands, then one checkable entry per document window.
    QMenu* windowMenu() const { return windowMenu_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddCommand(QMenu* menu, int command, const QString& text, void (CMainFrame::*slot)());
    void CreateActions();
    void RebuildRecentMenu();
    void RebuildWindowMenu();
    // The title: the program's name, then the active document's title.
    void UpdateTitle();
    void AddRecent(const std::filesystem::path& path);
    CUnitFrame* CreateUnitFrame();
    CChildFrame* CreateBuildingFrame();
    void ShowDocumentWindow(DocumentWindow* window);
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
    QMenu* windowMenu_ = nullptr;
    QAction* closeWindow_ = nullptr;
    // The Window menu's entries that list the document windows.
    std::vector<QAction*> windowEntries_;
    RecentFiles recent_;
    // On the heap, so that anything reporting to it after it went is caught as a use after free.
    std::unique_ptr<ToolHub> tools_ = std::make_unique<ToolHub>();
    // The tools' objects and windows; they go before the hub they report to.
    std::unique_ptr<ToolWindowSet> toolWindows_;
    std::vector<QAction*> commands_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace fenwold
