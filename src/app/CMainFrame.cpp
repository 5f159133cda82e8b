#include "app/CMainFrame.h"

#include "app/DocumentFrames.h"
#include "app/NewDocumentDialog.h"
#include "app/ToolWindowSet.h"
#include "app/UnitViews.h"
#include "platform/FileNames.h"

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

// Commands that only a unit window carries out.
constexpr int kUnitCommands[] = {command::kSaveUpt, command::kSaveUre, command::kSaveUtdInfo,
                                 command::kOpenUtdInfo};

} // namespace

CMainFrame::CMainFrame()
    : statusBar_(new FenwoldStatusBar(this)), services_(*statusBar_),
      documents_(new QMdiArea(this)) {
    services_.dialogParent = this;
    toolWindows_ =
        std::make_unique<ToolWindowSet>(this, *tools_, platform(), [this] { UpdateCommands(); });
    setWindowTitle("Fenwold");
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
    // to still exists; the members go after.
    tools_->CloseAll();
    for (QMdiSubWindow* window : documents_->subWindowList()) {
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
        if (toolWindows_->IsAvailable(tool)) {
            connect(item, &QAction::triggered, this, [this, tool] {
                toolWindows_->Toggle(tool);
                UpdateCommands();
            });
        } else {
            item->setEnabled(false);
            item->setToolTip("not available yet");
        }
        tools->addAction(item);
        commands_.push_back(item);
    }
    tools->setToolTipsVisible(true);

    // The document windows, arranged as in any multiple-document program.
    QMenu* windows = menuBar()->addMenu("&Window");
    windows->addAction("&Cascade", documents_, &QMdiArea::cascadeSubWindows);
    windows->addAction("&Tile", documents_, &QMdiArea::tileSubWindows);
    windows->addSeparator();
    windows->addAction("Ne&xt Window", QKeySequence::NextChild, documents_,
                       &QMdiArea::activateNextSubWindow);
    windows->addAction("Pre&vious Window", QKeySequence::PreviousChild, documents_,
                       &QMdiArea::activatePreviousSubWindow);

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
        connect(item, &QAction::triggered, this, [this, path] {
            if (!OpenByExtension(path)) {
                recent_.Remove(path);
                RebuildRecentMenu();
            }
        });
    }
    recentMenu_->setEnabled(!recent_.files().isEmpty());
}

void CMainFrame::AddRecent(const std::filesystem::path& path) {
    recent_.Add(QString::fromStdString(services_.folder.Absolute(path).string()));
    RebuildRecentMenu();
}

void CMainFrame::CommandFailed() {
    services_.prompts.ShowMessage("Command failed.", MessageButtons::Ok);
}

CUnitFrame* CMainFrame::NewUnitDocument(std::optional<std::string> runLengthFile) {
    CUnitFrame* frame = nullptr;
    try {
        frame = new CUnitFrame(platform(), *tools_,
                               [this](const std::filesystem::path& path) { AddRecent(path); });
    } catch (const std::exception&) {
        CommandFailed();
        return nullptr;
    }
    if (runLengthFile) {
        frame->SetRunLengthFile(std::move(*runLengthFile));
    }
    documents_->addSubWindow(frame);
    frame->show();
    frame->Start();
    UpdateCommands();
    return frame;
}

CChildFrame* CMainFrame::NewBuildingDocument() {
    CChildFrame* frame = nullptr;
    try {
        frame = new CChildFrame(platform(),
                                [this](const std::filesystem::path& path) { AddRecent(path); });
    } catch (const std::exception&) {
        CommandFailed();
        return nullptr;
    }
    documents_->addSubWindow(frame);
    frame->show();
    frame->Start();
    UpdateCommands();
    return frame;
}

bool CMainFrame::OpenUnit(const QString& path, bool toolData) {
    CUnitFrame* frame = NewUnitDocument();
    if (frame == nullptr) {
        return false;
    }
    CUnitDoc& document = frame->document();
    document.SetToolDataFlag(toolData);
    const std::filesystem::path file = path.toStdString();
    if (!document.OnOpenDocument(file)) {
        frame->close();
        return false;
    }
    document.SetPathName(services_.folder.Absolute(file));
    frame->ShowTitle();
    AddRecent(file);
    return true;
}

bool CMainFrame::OpenBuilding(const QString& path) {
    CChildFrame* frame = NewBuildingDocument();
    if (frame == nullptr) {
        return false;
    }
    const std::filesystem::path file = path.toStdString();
    if (!frame->document().OnOpenDocument(file)) {
        frame->close();
        return false;
    }
    frame->document().SetPathName(services_.folder.Absolute(file));
    frame->ShowTitle();
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
    // Every document is asked about its changes; one kept open keeps the program open.
    documents_->closeAllSubWindows();
    if (!documents_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    tools_->CloseAll();
    QMainWindow::closeEvent(event);
}

} // namespace fenwold
