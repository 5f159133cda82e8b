#pragma once

#include "building/BuildingTabView.h"
#include "building/CFenwoldDoc.h"
#include "building/CFenwoldView.h"
#include "building/ChildFrameTabs.h"
#include "platform/Platform.h"
#include "unit/UnitDoc.h"

#include <QMdiSubWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

class QTabBar;
class QStackedWidget;
class QWidget;

namespace fenwold {

class BuildingTabWidget;
class SetAnimationViewWidget;
class ToolWindowSet;
class UnitViewWidget;

// Tells the main window that a document now belongs to a file (for the recent-file list).
using FileNamedHandler = std::function<void(const std::filesystem::path&)>;

// The child window of one document: it shows the document's title and the program's icon, and it
// closes only when the document agrees (the save question).
class DocumentWindow : public QMdiSubWindow {
public:
    void ShowTitle();
    Document& baseDocument() { return document_; }
    // Closes the window without the save question, which the document has answered already.
    void CloseAnswered();

protected:
    // The document is the derived window's member: only its address is kept here.
    explicit DocumentWindow(Document& document);
    void closeEvent(QCloseEvent* event) override;

private:
    Document& document_;
    bool answered_ = false;
};

// The child window of one unit: tab "VQ compression" with the compressed animations and tab "Set
// animation" with the registration view.
class CUnitFrame final : public DocumentWindow {
public:
    CUnitFrame(Platform platform, ToolWindowSet& toolWindows, FileNamedHandler named);
    ~CUnitFrame() override;

    CUnitDoc& document() { return document_; }
    UnitViewWidget& unitView() { return *unitView_; }
    SetAnimationViewWidget& setAnimationView() { return *setAnimationView_; }
    int currentTab() const { return currentTab_; }

    // A .URE file opens into the registration view once the window has started.
    void SetRunLengthFile(std::string bareName);
    // Titles the window as its first paint does and reads the run-length file it was opened
    // for; false when that file cannot be read (the window is then not to be shown).
    bool Start();
    void SelectTab(int tab);

    void Save();
    void SaveAs();
    void SaveUpt();
    void SaveUre();
    void SaveUtdInfo();
    void OpenUtdInfo();

private:
    void SwitchTab(int tab);

    Platform platform_;
    FileNamedHandler named_;
    CUnitDoc document_;
    bool runLengthFile_ = false;
    std::string runLengthFileName_;
    int currentTab_ = 0;
    QTabBar* tabs_;
    QStackedWidget* pages_;
    UnitViewWidget* unitView_;
    SetAnimationViewWidget* setAnimationView_;
};

// The child window of one building: tab "Open build" with the picture view, and, once the
// building has a picture, the seven mode tabs with their views. The tabs and views are this
// window's own. Ctrl+PageDown and Ctrl+PageUp choose the next and the previous tab.
class CChildFrame final : public DocumentWindow, private ChildFrameHost, private CFenwoldViewHost {
public:
    CChildFrame(Platform platform, ToolWindowSet& toolWindows, FileNamedHandler named);
    ~CChildFrame() override;

    CFenwoldDoc& document() { return document_; }
    const ChildFrameTabs& tabs() const { return tabs_; }
    QTabBar& tabBar() { return *tabBar_; }
    CFenwoldView& pictureView() { return *pictureView_; }
    // The window of tab 0 or of a mode tab (3 to 7); null for tabs 1 and 2.
    BuildingTabWidget* tabWidget(int tab) const;
    // Titles the window as its first paint does, with the mode tabs for a building from a file.
    void Start();
    void SelectTab(int tab);
    void Save();
    void SaveAs();

private:
    void ShowTabs() override;
    void ShowCurrentTab() override;
    void RunTeamColourSetting() override;
    void Repaint() override;
    void OnTabBarChanged(int tab);

    Platform platform_;
    FileNamedHandler named_;
    CFenwoldDoc document_;
    ChildFrameTabs tabs_;
    QTabBar* tabBar_;
    QStackedWidget* pages_;
    std::unique_ptr<CFenwoldView> pictureView_;
    // The views of the mode tabs 3 to 7, each shown by a BuildingTabWidget.
    std::array<std::unique_ptr<BuildingTabView>, kBuildingTabCount> modeViews_;
    std::array<QWidget*, kBuildingTabCount> pageOf_{};
};

} // namespace fenwold
