#include "app/CMainFrame.h"

#include "app/DocumentFrames.h"
#include "app/NewDocumentDialog.h"
#include "app/ProgramIcon.h"
#include "app/ToolWindowSet.h"
#include "app/UnitViews.h"
#include "platform/FileNames.h"
#include "unittools/RadialTables.h"

#include <CommandIds.h>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>

namespace fenwold {
namespace {

constexpr const char* kOpenFilter =
    "UTD 화일 (*.utd)|*.utd|Unit 화일 (*.upt)|*.upt|Building 화일 (*.bpt)|*.bpt|URE 화일 "
    "(*.ure)|*.ure|모든화일(*.*)|*.*||";

struct ToolCommand {
    int id;
    const char* text;
};
constexpr ToolCommand kToolCommands[] = {
    {command::kToolAnimation, "&Animation"},
    {command::kToolCheckBox, "&Check Box"},
    {command::kToolSetOriginPoint, "&Set Origin Point"},
    {command::kToolAnimationEdit, "Animation &Edit"},
};
constexpr ToolWindow kTools[] = {ToolWindow::Animation, ToolWindow::CheckBox,
                                 ToolWindow::OriginPoint, ToolWindow::AnimationEdit};

constexpr const char* kProgramName = "Fenwold";

// Commands that only a unit window carries out.
constexpr int kUnitCommands[] = {command::kSaveUpt, command::kSaveUre, command::kSaveUtdInfo,
                                 command::kOpenUtdInfo};

} // namespace

CMainFrame::CMainFrame()
    : statusBar_(new FenwoldStatusBar(this)), services_(*statusBar_),
      documents_(new QMdiArea(this)) {
    services_.dialogParent = this;
    Radial(); // the origin-point window's cosine and sine tables, filled once at start-up
    toolWindows_ =
        std::make_unique<ToolWindowSet>(this, *tools_, platform(), [this] { UpdateCommands(); });
    setWindowIcon(ProgramIcon());
    setWindowTitle(kProgramName);
    setCentralWidget(documents_);
    setStatusBar(statusBar_);
    setAcceptDrops(true);
    CreateActions();
    connect(documents_, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateCommands);
    UpdateCommands();
    resize(1024, 768);
}

CMainFrame::~CMainFrame() {
    disconnect(documents_, nullptr, this, nullptr);
    // The tool windows close first, then the document windows go while the tool hub they report
    // to still exists; the members go after. A window closed but not yet deleted has left the
    // area's list and is found as a child.
    tools_->CloseAll();
    for (QMdiSubWindow* window : documents_->findChildren<QMdiSubWindow*>()) {
        disconnect(window, nullptr, this, nullptr);
        delete window;
    }
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text,
                                void (CMainFrame::*slot)()) {
    auto* item = new QAction(text, this);
    item->setData(id);
    connect(item, &QAction::triggered, this, slot);
    menu->addAction(item);
    commands_.push_back(item);
    return item;
}

QAction* CMainFrame::action(int id) const {
    for (QAction* item : commands_) {
        if (item->data().toInt() == id) {
            return item;
        }
    }
    return nullptr;
}

void CMainFrame::CreateActions() {
    QStyle* look = style();
    QMenu* file = menuBar()->addMenu("&File");
    QAction* newAction = AddCommand(file, command::kFileNew, "&New", &CMainFrame::OnNew);
    newAction->setIcon(look->standardIcon(QStyle::SP_FileIcon));
    newAction->setShortcut(QKeySequence::New);
    QAction* openAction = AddCommand(file, command::kFileOpen, "&Open...", &CMainFrame::OnOpen);
    openAction->setIcon(look->standardIcon(QStyle::SP_DialogOpenButton));
    openAction->setShortcut(QKeySequence::Open);
    QAction* saveAction = AddCommand(file, command::kFileSave, "&Save", &CMainFrame::OnSave);
    saveAction->setIcon(look->standardIcon(QStyle::SP_DialogSaveButton));
    saveAction->setShortcut(QKeySequence::Save);
    AddCommand(file, command::kFileSaveAs, "Save &As...", &CMainFrame::OnSaveAs);
    AddCommand(file, command::kSaveUpt, "Save U&PT", &CMainFrame::OnSaveUpt);
    AddCommand(file, command::kSaveUre, "Save &URE", &CMainFrame::OnSaveUre);
    AddCommand(file, command::kSaveUtdInfo, "Save UTD &Info", &CMainFrame::OnSaveUtdInfo);
    AddCommand(file, command::kOpenUtdInfo, "Open UTD I&nfo", &CMainFrame::OnOpenUtdInfo);
    file->addSeparator();
    AddCommand(file, command::kPrintSetup, "P&rint Setup...", &CMainFrame::OnPrintSetup);
    // Fly-by help: the status bar says what the command under the pointer does.
    const std::pair<int, const char*> helpTexts[] = {
        {command::kFileNew, "Create a new building or unit"},
        {command::kFileOpen, "Open a unit (.UTD, .UPT, .URE) or a building (.BPT)"},
        {command::kFileSave, "Save the active document"},
        {command::kFileSaveAs, "Save the active document under a new name"},
        {command::kSaveUpt, "Save the unit's game file (.UPT) only"},
        {command::kSaveUre, "Save the registered animations as a run-length file (.URE)"},
        {command::kSaveUtdInfo, "Save the unit's points as an origin info file (.OID)"},
        {command::kOpenUtdInfo, "Read the unit's points from an origin info file (.OID)"},
        {command::kPrintSetup, "Choose the printer and paper"},
    };
    for (const auto& [id, text] : helpTexts) {
        action(id)->setStatusTip(text);
    }
    file->addSeparator();
    recentMenu_ = file->addMenu("Recent &Files");
    file->addSeparator();
    auto* exitAction = new QAction("E&xit", this);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    file->addAction(exitAction);

    // Each Tools command opens its window or closes it; the check mark shows which are open.
    QMenu* tools = menuBar()->addMenu("&Tools");
    for (std::size_t i = 0; i < std::size(kToolCommands); ++i) {
        auto* item = new QAction(kToolCommands[i].text, this);
        item->setData(kToolCommands[i].id);
        item->setCheckable(true);
        const ToolWindow tool = kTools[i];
        connect(item, &QAction::triggered, this, [this, tool] {
            toolWindows_->Toggle(tool);
            UpdateCommands();
        });
        tools->addAction(item);
        commands_.push_back(item);
    }
    tools->setToolTipsVisible(true);

    // The document windows, arranged as in any multiple-document program and listed by title.
    windowMenu_ = menuBar()->addMenu("&Window");
    windowMenu_->addAction("&Cascade", documents_, &QMdiArea::cascadeSubWindows);
    windowMenu_->addAction("&Tile", documents_, &QMdiArea::tileSubWindows);
    windowMenu_->addSeparator();
    windowMenu_->addAction("Ne&xt Window", QKeySequence::NextChild, documents_,
                           &QMdiArea::activateNextSubWindow);
    windowMenu_->addAction("Pre&vious Window", QKeySequence::PreviousChild, documents_,
                           &QMdiArea::activatePreviousSubWindow);
    // The document window's own close key works only while the keyboard is inside the window,
    // which its canvases do not take; this one works wherever the keyboard is.
    closeWindow_ = windowMenu_->addAction("C&lose", documents_, &QMdiArea::closeActiveSubWindow);
    QList<QKeySequence> closeKeys = QKeySequence::keyBindings(QKeySequence::Close);
    if (!closeKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_F4))) {
        closeKeys.prepend(QKeySequence(Qt::CTRL | Qt::Key_F4));
    }
    closeWindow_->setShortcuts(closeKeys);
    windowMenu_->addSeparator();
    connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::RebuildWindowMenu);

    QMenu* help = menuBar()->addMenu("&Help");
    QAction* aboutAction =
        AddCommand(help, command::kAppAbout, "&About Fenwold...", &CMainFrame::OnAbout);
    aboutAction->setStatusTip("Show the program's name and version");
    aboutAction->setIcon(look->standardIcon(QStyle::SP_MessageBoxInformation));
    RebuildRecentMenu();

    QToolBar* bar = addToolBar("Standard");
    bar->setObjectName("toolbar128");
    bar->addAction(newAction);
    bar->addAction(openAction);
    bar->addAction(saveAction);
    bar->addSeparator();
    bar->addAction(aboutAction);
}

void CMainFrame::UpdateCommands() {
    const bool unit = ActiveUnitFrame() != nullptr;
    const bool document = unit || ActiveBuildingFrame() != nullptr;
    action(command::kFileSave)->setEnabled(document);
    action(command::kFileSaveAs)->setEnabled(document);
    closeWindow_->setEnabled(document);
    for (const int id : kUnitCommands) {
        action(id)->setEnabled(unit);
    }
    for (std::size_t i = 0; i < std::size(kToolCommands); ++i) {
        action(kToolCommands[i].id)->setChecked(tools_->IsOpen(kTools[i]));
    }
    // The Modified pane shows the active document's state, the quality pane the active unit's.
    const Document* active = nullptr;
    std::string quality;
    if (CUnitFrame* frame = ActiveUnitFrame()) {
        active = &frame->document();
        quality = frame->document().QualityText();
    } else if (CChildFrame* frame = ActiveBuildingFrame()) {
        active = &frame->document();
    }
    statusBar_->SetModifiedIndicator(active != nullptr && active->IsModified());
    statusBar_->SetQualityIndicator(quality);
    UpdateTitle();
    RebuildWindowMenu();
}

void CMainFrame::UpdateTitle() {
    const auto* active = dynamic_cast<DocumentWindow*>(documents_->activeSubWindow());
    // A maximised document window adds its own title in brackets after this one.
    const bool maximised = active != nullptr && active->isMaximized();
    setWindowTitle(active == nullptr || maximised
                       ? QString(kProgramName)
                       : QString("%1 - %2").arg(kProgramName, active->windowTitle()));
}

void CMainFrame::RebuildWindowMenu() {
    for (QAction* entry : windowEntries_) {
        windowMenu_->removeAction(entry);
        delete entry;
    }
    windowEntries_.clear();
    const QList<QMdiSubWindow*> windows = documents_->subWindowList();
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        const QString text = number < 10 ? QString("&%1 %2").arg(number).arg(window->windowTitle())
                                         : QString("%1 %2").arg(number).arg(window->windowTitle());
        ++number;
        auto* entry = new QAction(text, windowMenu_);
        entry->setCheckable(true);
        entry->setChecked(window == documents_->activeSubWindow());
        connect(entry, &QAction::triggered, this,
                [this, window] { documents_->setActiveSubWindow(window); });
        windowMenu_->addAction(entry);
        windowEntries_.push_back(entry);
    }
}

CUnitFrame* CMainFrame::ActiveUnitFrame() const {
    return dynamic_cast<CUnitFrame*>(documents_->activeSubWindow());
}

CChildFrame* CMainFrame::ActiveBuildingFrame() const {
    return dynamic_cast<CChildFrame*>(documents_->activeSubWindow());
}

void CMainFrame::RebuildRecentMenu() {
    recentMenu_->clear();
    int number = 1;
    for (const QString& path : recent_.files()) {
        QAction* item =
            recentMenu_->addAction(QString("&%1 %2").arg(number++).arg(QFileInfo(path).fileName()));
        item->setToolTip(path);
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recentMenu_->setEnabled(!recent_.files().isEmpty());
}

void CMainFrame::OpenRecent(const QString& path) {
    const std::filesystem::path file = path.toStdString();
    std::string reason;
    if (!QFileInfo::exists(path)) {
        reason = "the file no longer exists";
    } else if (FileTypeOf(file.string()) == FileType::Other) {
        reason = "it is no unit (.UTD, .UPT, .URE) or building (.BPT) file";
    }
    if (!reason.empty()) {
        services_.prompts.ShowMessage(file.string() + ": " + reason +
                                          "; it is taken off the recent-file list.",
                                      MessageButtons::Ok);
        recent_.Remove(path);
        RebuildRecentMenu();
        return;
    }
    // A file that cannot be read says why itself, and stays on the list.
    OpenByExtension(path);
}

void CMainFrame::AddRecent(const std::filesystem::path& path) {
    recent_.Add(QString::fromStdString(services_.folder.Absolute(path).string()));
    RebuildRecentMenu();
}

void CMainFrame::CommandFailed() {
    services_.prompts.ShowMessage("Command failed.", MessageButtons::Ok);
}

CUnitFrame* CMainFrame::CreateUnitFrame() {
    try {
        return new CUnitFrame(platform(), *toolWindows_,
                              [this](const std::filesystem::path& path) { AddRecent(path); });
    } catch (const std::exception&) {
        CommandFailed();
        return nullptr;
    }
}

CChildFrame* CMainFrame::CreateBuildingFrame() {
    try {
        return new CChildFrame(platform(), *toolWindows_,
                               [this](const std::filesystem::path& path) { AddRecent(path); });
    } catch (const std::exception&) {
        CommandFailed();
        return nullptr;
    }
}

void CMainFrame::ShowDocumentWindow(DocumentWindow* window) {
    documents_->addSubWindow(window);
    // The main title and the Window menu follow the document's title.
    connect(window, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateTitle);
    connect(window, &QWidget::windowTitleChanged, this, &CMainFrame::RebuildWindowMenu);
    connect(window, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::UpdateTitle);
    window->show();
    UpdateCommands();
}

CUnitFrame* CMainFrame::NewUnitDocument(std::optional<std::string> runLengthFile) {
    std::unique_ptr<CUnitFrame> frame(CreateUnitFrame());
    if (!frame) {
        return nullptr;
    }
    if (runLengthFile) {
        frame->SetRunLengthFile(std::move(*runLengthFile));
    }
    if (!frame->Start()) {
        return nullptr;
    }
    ShowDocumentWindow(frame.get());
    return frame.release();
}

CChildFrame* CMainFrame::NewBuildingDocument() {
    std::unique_ptr<CChildFrame> frame(CreateBuildingFrame());
    if (!frame) {
        return nullptr;
    }
    frame->Start();
    ShowDocumentWindow(frame.get());
    return frame.release();
}

// A document window is shown only once its file was read: an empty window must never stand for
// a file that could not be read.
bool CMainFrame::OpenUnit(const QString& path, bool toolData) {
    std::unique_ptr<CUnitFrame> frame(CreateUnitFrame());
    if (!frame) {
        return false;
    }
    CUnitDoc& document = frame->document();
    document.SetToolDataFlag(toolData);
    const std::filesystem::path file = path.toStdString();
    if (!document.OnOpenDocument(file)) {
        return false;
    }
    document.SetPathName(services_.folder.Absolute(file));
    // Titled as its first paint titles it, after the open's own titles.
    frame->Start();
    ShowDocumentWindow(frame.release());
    AddRecent(file);
    return true;
}

bool CMainFrame::OpenBuilding(const QString& path) {
    std::unique_ptr<CChildFrame> frame(CreateBuildingFrame());
    if (!frame) {
        return false;
    }
    const std::filesystem::path file = path.toStdString();
    if (!frame->document().OnOpenDocument(file)) {
        return false;
    }
    frame->document().SetPathName(services_.folder.Absolute(file));
    frame->Start();
    ShowDocumentWindow(frame.release());
    AddRecent(file);
    return true;
}

bool CMainFrame::OpenByExtension(const QString& path) {
    switch (FileTypeOf(path.toStdString())) {
    case FileType::Building:
        return OpenBuilding(path);
    case FileType::Unit:
        return OpenUnit(path, false);
    case FileType::ToolData:
        return OpenUnit(path, true);
    case FileType::Pcx:
        return NewBuildingDocument() != nullptr;
    case FileType::RunLength: {
        // The unit window reads the file by its bare name in the working folder; a path from
        // the command line moves the folder there, as the file dialog does.
        const std::filesystem::path file = path.toStdString();
        if (file.has_parent_path()) {
            services_.folder.Set(services_.folder.Absolute(file).parent_path());
        }
        return NewUnitDocument(file.filename().string()) != nullptr;
    }
    case FileType::Other:
        break;
    }
    return false;
}

void CMainFrame::OnNew() {
    NewDocumentDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (dialog.buildingChosen()) {
        NewBuildingDocument();
    } else {
        NewUnitDocument();
    }
}

void CMainFrame::OnOpen() {
    const auto chosen = services_.prompts.AskOpenFile({.filter = kOpenFilter});
    if (chosen) {
        // The dialog left the working folder at the file's folder: the bare name is enough.
        OpenByExtension(QString::fromStdString(chosen->filename().string()));
    }
}

void CMainFrame::OnSave() {
    if (CUnitFrame* unit = ActiveUnitFrame()) {
        unit->Save();
    } else if (CChildFrame* building = ActiveBuildingFrame()) {
        building->Save();
    }
}

void CMainFrame::OnSaveAs() {
    if (CUnitFrame* unit = ActiveUnitFrame()) {
        unit->SaveAs();
    } else if (CChildFrame* building = ActiveBuildingFrame()) {
        building->SaveAs();
    }
}

void CMainFrame::OnSaveUpt() {
    if (CUnitFrame* unit = ActiveUnitFrame()) {
        unit->SaveUpt();
    }
}

void CMainFrame::OnSaveUre() {
    if (CUnitFrame* unit = ActiveUnitFrame()) {
        unit->SaveUre();
    }
}

void CMainFrame::OnSaveUtdInfo() {
    if (CUnitFrame* unit = ActiveUnitFrame()) {
        unit->SaveUtdInfo();
    }
}

void CMainFrame::OnOpenUtdInfo() {
    if (CUnitFrame* unit = ActiveUnitFrame()) {
        unit->OpenUtdInfo();
    }
}

void CMainFrame::OnPrintSetup() {
    // No view prints, but the printer and paper chosen here are kept for the session.
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>();
    }
    QPageSetupDialog(printer_.get(), this).exec();
}

void CMainFrame::OnAbout() {
    QMessageBox::about(this, "About Fenwold",
                       QString("<b>Fenwold</b> %1<br>Sprite authoring for units and buildings.")
                           .arg(QApplication::applicationVersion()));
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    // Only buildings and game files open by dropping.
    for (const QUrl& url : event->mimeData()->urls()) {
        const QString path = url.toLocalFile();
        const FileType type = FileTypeOf(path.toStdString());
        if (type == FileType::Building || type == FileType::Unit) {
            OpenByExtension(path);
        }
    }
    event->acceptProposedAction();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Every modified document is asked in turn, in front while it is asked. Cancel on any
    // question keeps the program and every document open; only when all have answered do they
    // close, without being asked again.
    const QList<QMdiSubWindow*> windows = documents_->subWindowList();
    for (QMdiSubWindow* window : windows) {
        auto* document = dynamic_cast<DocumentWindow*>(window);
        if (document == nullptr || !document->baseDocument().IsModified()) {
            continue;
        }
        documents_->setActiveSubWindow(window);
        if (!document->baseDocument().SaveModified()) {
            event->ignore();
            return;
        }
    }
    for (QMdiSubWindow* window : windows) {
        if (auto* document = dynamic_cast<DocumentWindow*>(window)) {
            document->CloseAnswered();
        } else {
            window->close();
        }
    }
    tools_->CloseAll();
    QMainWindow::closeEvent(event);
}

} // namespace fenwold
