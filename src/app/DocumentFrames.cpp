#include "app/DocumentFrames.h"

#include "app/ProgramIcon.h"
#include "app/QtWindowPainter.h"
#include "app/TeamColourDialogs.h"
#include "app/ToolWindowSet.h"
#include "app/UnitViews.h"
#include "building/BuildingDisplay.h"
#include "image/TgaReader.h"
#include "platform/FileNames.h"

#include <CommandIds.h>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace fenwold {
namespace {

constexpr std::string_view kSetAnimationTitle = "Set animation - ";
constexpr std::string_view kFirstPaintTitle = "VQ Compression -";

// The tab row above the views, in the default interface font.
QWidget* TabbedClient(QTabBar* tabs, QWidget* page) {
    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs->setParent(client);
    tabs->setExpanding(false);
    layout->addWidget(tabs);
    layout->addWidget(page, 1);
    return client;
}

} // namespace

DocumentWindow::DocumentWindow(Document& document) : document_(document) {
    setWindowIcon(ProgramIcon());
}

void DocumentWindow::ShowTitle() {
    setWindowTitle(QString::fromStdString(document_.Title()));
}

void DocumentWindow::CloseAnswered() {
    answered_ = true;
    close();
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    if (!answered_ && !document_.SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

CUnitFrame::CUnitFrame(Platform platform, ToolWindowSet& toolWindows, FileNamedHandler named)
    : DocumentWindow(document_), platform_(platform), named_(std::move(named)), document_(platform),
      tabs_(new QTabBar), pages_(new QStackedWidget) {
    setAttribute(Qt::WA_DeleteOnClose);
    unitView_ = new UnitViewWidget(pages_, platform_, document_, toolWindows);
    setAnimationView_ = new SetAnimationViewWidget(pages_, platform_, document_, toolWindows.hub());
    pages_->addWidget(unitView_);
    pages_->addWidget(setAnimationView_);
    tabs_->addTab("VQ compression");
    tabs_->addTab("Set animation");
    setWidget(TabbedClient(tabs_, pages_));
    // The keyboard goes to the view of the current tab.
    widget()->setFocusProxy(unitView_);
    connect(tabs_, &QTabBar::currentChanged, this, &CUnitFrame::SwitchTab);
    resize(500, 500);
}

CUnitFrame::~CUnitFrame() {
    // The views borrow the document: they go first.
    delete unitView_;
    delete setAnimationView_;
}

void CUnitFrame::SetRunLengthFile(std::string bareName) {
    runLengthFile_ = true;
    runLengthFileName_ = std::move(bareName);
}

bool CUnitFrame::Start() {
    document_.SetTitle(kFirstPaintTitle);
    ShowTitle();
    if (runLengthFile_) {
        if (!setAnimationView_->view().OpenRunLengthFile(runLengthFileName_)) {
            return false;
        }
        setAnimationView_->Refresh();
    }
    return true;
}

void CUnitFrame::SelectTab(int tab) {
    tabs_->setCurrentIndex(tab);
}

void CUnitFrame::SwitchTab(int tab) {
    if (tab == currentTab_) {
        return;
    }
    currentTab_ = tab;
    pages_->setCurrentIndex(tab);
    widget()->setFocusProxy(pages_->currentWidget());
    pages_->currentWidget()->setFocus();
    document_.SetTitle(tab == 0 ? CUnitDoc::kCompressionTitle : kSetAnimationTitle);
    ShowTitle();
}

void CUnitFrame::Save() {
    const bool named = document_.NamedFlag();
    if (document_.Save() && !named) {
        named_(document_.PathName());
    }
    ShowTitle();
}

void CUnitFrame::SaveAs() {
    if (document_.SaveAs()) {
        named_(document_.PathName());
    }
    ShowTitle();
}

void CUnitFrame::SaveUpt() {
    document_.SaveUpt();
    ShowTitle();
}

void CUnitFrame::SaveUre() {
    setAnimationView_->view().OnCommand(command::kSaveUre);
}

void CUnitFrame::SaveUtdInfo() {
    document_.SaveUtdInfo();
}

void CUnitFrame::OpenUtdInfo() {
    document_.OpenUtdInfo();
}

BuildingPictureWidget::BuildingPictureWidget(QWidget* parent, Platform platform,
                                             CFenwoldDoc& document)
    : QWidget(parent), platform_(platform), document_(document), observation_(document, *this) {
    setFocusPolicy(Qt::StrongFocus);
}

void BuildingPictureWidget::OnDocumentEvent(DocumentEvent event) {
    if (event != DocumentEvent::ModifiedChanged && event != DocumentEvent::Closing) {
        update();
    }
}

void BuildingPictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (const BuildingRecord* record = document_.Record()) {
        const std::vector<Pixel555> shown = BuildingDisplayPicture(document_);
        painter.drawImage(0, 0, ImageOf(shown.data(), record->width, record->height));
    }
}

void BuildingPictureWidget::contextMenuEvent(QContextMenuEvent* event) {
    RunContextMenu(event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                               : mapToGlobal(QPoint(0, 0)));
}

void BuildingPictureWidget::keyPressEvent(QKeyEvent* event) {
    // The Menu key reaches the window as a context menu event; Shift+F10 arrives as a key.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        RunContextMenu(mapToGlobal(QPoint(0, 0)));
        return;
    }
    QWidget::keyPressEvent(event);
}

void BuildingPictureWidget::RunContextMenu(QPoint globalPosition) {
    QMenu menu(this);
    connect(menu.addAction("Open Building"), &QAction::triggered, this,
            &BuildingPictureWidget::OpenBuilding);
    QAction* mask = menu.addAction("Open Mask");
    mask->setEnabled(document_.PictureImported());
    connect(mask, &QAction::triggered, this, &BuildingPictureWidget::OpenMask);
    menu.addSeparator();
    QAction* teamColour = menu.addAction("Team color &Setting");
    teamColour->setEnabled(TeamColourSettingEnabled(document_));
    connect(teamColour, &QAction::triggered, this, &BuildingPictureWidget::SetTeamColours);
    menu.exec(globalPosition);
}

void BuildingPictureWidget::SetTeamColours() {
    RunTeamColourSetting(document_, platform_, BuildTeamColourDialog::kPreviewWidth,
                         BuildTeamColourDialog::kPreviewHeight, [this](CBuildTeamColourDlg& model) {
                             BuildTeamColourDialog dialog(this, model);
                             return dialog.exec() == QDialog::Accepted;
                         });
    update();
}

void BuildingPictureWidget::OpenBuilding() {
    const auto chosen = platform_.prompts.AskOpenFile({.filter = std::string(kPictureFilter)});
    if (chosen) {
        document_.ImportPicture(BareNameWithFixedExtension(*chosen, ".TGA"));
        update();
    }
}

void BuildingPictureWidget::OpenMask() {
    const auto chosen = platform_.prompts.AskOpenFile({.filter = std::string(kPictureFilter)});
    if (chosen) {
        document_.ImportMask(BareNameWithFixedExtension(*chosen, ".TGA"));
        update();
    }
}

CChildFrame::CChildFrame(Platform platform, FileNamedHandler named)
    : DocumentWindow(document_), platform_(platform), named_(std::move(named)),
      document_(platform) {
    setAttribute(Qt::WA_DeleteOnClose);
    auto* tabs = new QTabBar;
    tabs->addTab("Open build");
    picture_ = new BuildingPictureWidget(nullptr, platform_, document_);
    setWidget(TabbedClient(tabs, picture_));
    widget()->setFocusProxy(picture_);
    resize(500, 500);
}

CChildFrame::~CChildFrame() {
    delete picture_;
}

void CChildFrame::Start() {
    document_.SetTitle("Open Build-");
    ShowTitle();
}

void CChildFrame::Save() {
    const bool named = document_.NamedFlag();
    if (document_.Save() && !named) {
        named_(document_.PathName());
    }
    ShowTitle();
}

void CChildFrame::SaveAs() {
    document_.SaveAs();
    if (!document_.PathName().empty()) {
        named_(document_.PathName());
    }
    ShowTitle();
}

} // namespace fenwold
