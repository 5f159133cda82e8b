#include "app/CMainFrame.h"

#include "app/NewDocumentDialog.h"
#include "platform/FileNames.h"

#include <CommandIds.h>
#include <QApplication>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStyle>
#include <QToolBar>

namespace fenwold {
namespace {

constexpr const char* kOpenFilter =
    "UTD 화일 (*.utd)|*.utd|Unit 화일 (*.upt)|*.upt|Building 화일 (*.bpt)|*.bpt|URE 화일 "
    "(*.ure)|*.ure|모든화일(*.*)|*.*||";

} // namespace

CMainFrame::CMainFrame()
    : statusBar_(new FenwoldStatusBar(this)), services_(*statusBar_),
      documents_(new QMdiArea(this)) {
    services_.dialogParent = this;
    setWindowTitle("Fenwold");
    setCentralWidget(documents_);
    setStatusBar(statusBar_);
    setAcceptDrops(true);
    CreateActions();
    resize(1024, 768);
}

void CMainFrame::CreateActions() {
    QStyle* look = style();
    auto* newAction = new QAction(look->standardIcon(QStyle::SP_FileIcon), "&New", this);
    newAction->setShortcut(QKeySequence::New);
    newAction->setData(command::kFileNew);
    connect(newAction, &QAction::triggered, this, &CMainFrame::OnNew);

    auto* openAction =
        new QAction(look->standardIcon(QStyle::SP_DialogOpenButton), "&Open...", this);
    openAction->setShortcut(QKeySequence::Open);
    openAction->setData(command::kFileOpen);
    connect(openAction, &QAction::triggered, this, &CMainFrame::OnOpen);

    auto* saveAction = new QAction(look->standardIcon(QStyle::SP_DialogSaveButton), "&Save", this);
    saveAction->setShortcut(QKeySequence::Save);
    saveAction->setData(command::kFileSave);
    saveAction->setEnabled(false); // enabled by the active document's window

    auto* aboutAction = new QAction(look->standardIcon(QStyle::SP_MessageBoxInformation),
                                    "&About Fenwold...", this);
    aboutAction->setData(command::kAppAbout);
    connect(aboutAction, &QAction::triggered, this, &CMainFrame::OnAbout);

    auto* exitAction = new QAction("E&xit", this);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* file = menuBar()->addMenu("&File");
    file->addAction(newAction);
    file->addAction(openAction);
    file->addAction(saveAction);
    file->addSeparator();
    recentMenu_ = file->addMenu("Recent &Files");
    file->addSeparator();
    file->addAction(exitAction);
    menuBar()->addMenu("&Help")->addAction(aboutAction);
    RebuildRecentMenu();

    QToolBar* tools = addToolBar("Standard");
    tools->setObjectName("toolbar128");
    tools->addAction(newAction);
    tools->addAction(openAction);
    tools->addAction(saveAction);
    tools->addSeparator();
    tools->addAction(aboutAction);
}

void CMainFrame::RebuildRecentMenu() {
    recentMenu_->clear();
    int number = 1;
    for (const QString& path : recent_.files()) {
        QAction* action =
            recentMenu_->addAction(QString("&%1 %2").arg(number++).arg(QFileInfo(path).fileName()));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (!OpenByExtension(path)) {
                recent_.Remove(path);
                RebuildRecentMenu();
            }
        });
    }
    recentMenu_->setEnabled(!recent_.files().isEmpty());
}

void CMainFrame::CommandFailed() {
    services_.prompts.ShowMessage("Command failed.", MessageButtons::Ok);
}

bool CMainFrame::OpenByExtension(const QString& path) {
    const FileType type = FileTypeOf(path.toStdString());
    if (type == FileType::Other) {
        return false;
    }
    // The document windows are not part of the program yet.
    CommandFailed();
    return false;
}

void CMainFrame::OnNew() {
    NewDocumentDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        CommandFailed();
    }
}

void CMainFrame::OnOpen() {
    const auto chosen = services_.prompts.AskOpenFile({.filter = kOpenFilter});
    if (chosen) {
        OpenByExtension(QString::fromStdString(chosen->string()));
    }
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

} // namespace fenwold
