#pragma once

#include "app/QtPlatform.h"
#include "app/RecentFiles.h"

#include <QMainWindow>

class QMdiArea;
class QMenu;

namespace fenwold {

// The main window: documents in child windows, the File and Help commands, the toolbar, the
// status bar, dropped files and the recent-file list.
class CMainFrame final : public QMainWindow {
public:
    CMainFrame();

    Platform platform() { return services_.Get(); }
    // Opens a file by its extension; false when nothing could be opened.
    bool OpenByExtension(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void RebuildRecentMenu();
    void OnNew();
    void OnOpen();
    void OnAbout();
    void CommandFailed();

    FenwoldStatusBar* statusBar_;
    QtPlatform services_;
    QMdiArea* documents_;
    QMenu* recentMenu_ = nullptr;
    RecentFiles recent_;
};

} // namespace fenwold
