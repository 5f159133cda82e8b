#include "app/DocumentFrames.h"

#include "app/BuildingModeViews.h"
#include "app/BuildingTabWidget.h"
#include "app/ProgramIcon.h"
#include "app/QtWindowPainter.h"
#include "app/TeamColourDialogs.h"
#include "app/ToolWindowSet.h"
#include "app/UnitViews.h"
#include "image/TgaReader.h"
#include "platform/FileNames.h"

#include <CommandIds.h>
#include <QCloseEvent>
#include <QShortcut>
#include <QSignalBlocker>
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

CChildFrame::CChildFrame(Platform platform, ToolWindowSet& toolWindows, FileNamedHandler named)
    : DocumentWindow(document_), platform_(platform), named_(std::move(named)), document_(platform),
      tabs_(document_, *this), tabBar_(new QTabBar), pages_(new QStackedWidget) {
    setAttribute(Qt::WA_DeleteOnClose);
    ToolHub& hub = toolWindows.hub();
    CFenwoldViewHost& pictureHost = *this;
    pictureView_ = std::make_unique<CFenwoldView>(platform_, document_, tabs_, pictureHost, hub);
    const auto showTitle = [this] { ShowTitle(); };
    pageOf_[0] = new BuildingTabWidget(pages_, *pictureView_,
                                       {[this] { return pictureView_->ContextMenu(); },
                                        [this](int command) { pictureView_->OnCommand(command); },
                                        showTitle});
    pageOf_[1] =
        new SetAnimationViewWidget(pages_, platform_,
                                   BuildingRegistration{document_,
                                                        [this](const RegisteredAnimations* list) {
                                                            document_.SetRegisteredAnimations(list);
                                                        }},
                                   hub);
    pageOf_[2] = new UnitViewWidget(pages_, platform_, document_, toolWindows);
    for (int tab = kFirstModeTab; tab < kBuildingTabCount; ++tab) {
        auto& view = modeViews_[static_cast<std::size_t>(tab)];
        view = MakeModeView(tab, document_, hub);
        pageOf_[static_cast<std::size_t>(tab)] =
            new BuildingTabWidget(pages_, *view, {{}, {}, showTitle});
    }
    for (QWidget* page : pageOf_) {
        pages_->addWidget(page);
    }
    tabBar_->addTab(QString::fromUtf8(kBuildingTabs[0].text.data(), kBuildingTabs[0].text.size()));
    setWidget(TabbedClient(tabBar_, pages_));
    widget()->setFocusProxy(pageOf_[0]);
    connect(tabBar_, &QTabBar::currentChanged, this, &CChildFrame::OnTabBarChanged);
    // Keyboard access to the tabs; the views keep the plain Page keys.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this,
            [this] { SelectTab((tabs_.CurrentTab() + 1) % tabs_.TabCount()); });
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this,
            [this] { SelectTab((tabs_.CurrentTab() + tabs_.TabCount() - 1) % tabs_.TabCount()); });
    resize(500, 500);
}

CChildFrame::~CChildFrame() {
    // The windows go before the views they show, and the views before the document.
    delete pages_;
    pictureView_.reset();
    for (auto& view : modeViews_) {
        view.reset();
    }
}

BuildingTabWidget* CChildFrame::tabWidget(int tab) const {
    return tab < 0 || tab >= kBuildingTabCount
               ? nullptr
               : dynamic_cast<BuildingTabWidget*>(pageOf_[static_cast<std::size_t>(tab)]);
}

void CChildFrame::Start() {
    tabs_.Start();
    ShowTitle();
}

void CChildFrame::SelectTab(int tab) {
    tabBar_->setCurrentIndex(tab);
}

void CChildFrame::OnTabBarChanged(int tab) {
    tabs_.SelectTab(tab);
}

void CChildFrame::ShowTabs() {
    const QSignalBlocker quiet(tabBar_);
    for (int tab = tabBar_->count(); tab < tabs_.TabCount(); ++tab) {
        const std::string_view text = kBuildingTabs[static_cast<std::size_t>(tab)].text;
        tabBar_->addTab(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    tabBar_->setCurrentIndex(tabs_.CurrentTab());
    pageOf_[0]->update();
}

void CChildFrame::ShowCurrentTab() {
    QWidget* page = pageOf_[static_cast<std::size_t>(tabs_.CurrentTab())];
    const bool hadFocus = pages_->currentWidget()->hasFocus();
    pages_->setCurrentWidget(page);
    widget()->setFocusProxy(page);
    if (hadFocus || isActiveWindow()) {
        page->setFocus();
    }
    if (auto* building = dynamic_cast<BuildingTabWidget*>(page)) {
        building->Refresh();
    }
    ShowTitle();
}

void CChildFrame::RunTeamColourSetting() {
    fenwold::RunTeamColourSetting(document_, platform_, BuildTeamColourDialog::kPreviewWidth,
                                  BuildTeamColourDialog::kPreviewHeight,
                                  [this](CBuildTeamColourDlg& model) {
                                      BuildTeamColourDialog dialog(this, model);
                                      return dialog.exec() == QDialog::Accepted;
                                  });
}

void CChildFrame::Repaint() {
    tabWidget(0)->Refresh();
}

void CChildFrame::Save() {
    const bool named = document_.NamedFlag();
    if (document_.Save() && !named) {
        named_(document_.PathName());
    }
    ShowTitle();
}

void CChildFrame::SaveAs() {
    if (document_.SaveAs()) {
        named_(document_.PathName());
    }
    ShowTitle();
}

} // namespace fenwold
