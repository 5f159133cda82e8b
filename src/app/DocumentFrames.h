#pragma once

#include "building/CFenwoldDoc.h"
#include "platform/Platform.h"
#include "unit/UnitDoc.h"

#include <QMdiSubWindow>
#include <functional>
#include <string>

class QTabBar;
class QStackedWidget;
class QWidget;

namespace fenwold {

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

// The picture view of a building: the building picture at the top-left corner, and the context
// menu that imports the picture and its team mask.
class BuildingPictureWidget final : public QWidget, private DocumentObserver {
public:
    BuildingPictureWidget(QWidget* parent, Platform platform, CFenwoldDoc& document);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Under the pointer, or from the keyboard (the Menu key, Shift+F10) at the window's corner.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnDocumentEvent(DocumentEvent event) override;
    void RunContextMenu(QPoint globalPosition);
    void OpenBuilding();
    void OpenMask();
    void SetTeamColours();

    Platform platform_;
    CFenwoldDoc& document_;
    DocumentObservation observation_;
};

// The child window of one building. Only its first tab, "Open build", exists so far.
class CChildFrame final : public DocumentWindow {
public:
    CChildFrame(Platform platform, FileNamedHandler named);
    ~CChildFrame() override;

    CFenwoldDoc& document() { return document_; }
    // Titles the window as its first paint does.
    void Start();
    void Save();
    void SaveAs();

private:
    Platform platform_;
    FileNamedHandler named_;
    CFenwoldDoc document_;
    BuildingPictureWidget* picture_;
};

} // namespace fenwold
