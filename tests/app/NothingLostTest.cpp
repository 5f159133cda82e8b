#include "ModalAnswers.h"
#include "WindowFixtures.h"
#include "app/CMainFrame.h"
#include "app/DocumentFrames.h"
#include "app/ProgramIcon.h"
#include "app/RegistrationWindows.h"
#include "app/UnitViews.h"
#include "building/BuildingFile.h"
#include "image/LoaderMessages.h"
#include "image/SampleArt.h"
#include "platform/BinaryReader.h"
#include "unit/UnitDoc.h"

#include <CommandIds.h>
#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <random>

namespace fenwold {
namespace {

// In the series dialog: lists the series of `first` and registers it.
void ListAndRegister(QWidget& dialog, const std::filesystem::path& first) {
    auto* files = dialog.findChild<QFileDialog*>();
    files->setDirectory(QString::fromStdString(first.parent_path().string()));
    // Typed, as the name field has the focus (selectFile leaves a focused field alone).
    files->findChild<QLineEdit*>("fileNameEdit")
        ->setText(QString::fromStdString(first.filename().string()));
    test::ButtonNamed(dialog, "&Make List")->click();
    test::ButtonNamed(dialog, "Registration")->click();
}

// A new unit window, on its registration tab, with the series of `first` registered.
CUnitFrame* RegisterInNewUnit(CMainFrame& frame, test::ModalAnswers& answers,
                              const std::filesystem::path& first) {
    CUnitFrame* unit = frame.NewUnitDocument();
    unit->SelectTab(1);
    answers.Then([&](QWidget& dialog) { ListAndRegister(dialog, first); });
    unit->setAnimationView().view().OnCommand(command::kAddAnimation);
    return unit;
}

bool StatusShows(CMainFrame& frame, const QString& text) {
    for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>()) {
        if (label->isVisible() && label->text() == text) {
            return true;
        }
    }
    return false;
}

void WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Deletes the windows that closed.
void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

class NothingLostTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void RegisteringAndCompressingSayWhatTheyDid();
    void ExitAsksEveryModifiedDocumentAndCancelKeepsThemAll();
    void JunkFilesOpenNoWindow();
    void AFileProblemNamesTheFileAndTheReason();
    void ASavedUnitClosesWithoutAQuestionAndReopensFromTheRecentList();
    void TheMainTitleAndTheWindowMenuFollowTheActiveDocument();
    void TheKeyboardOpensTheContextMenuAtTheHoveredFrame();

private:
    QTemporaryDir settings_;
};

void NothingLostTest::initTestCase() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
}

// The series dialog registers a series, as the status bar says. However short the run, the
// pointer is busy while it runs, and the status bar says what the compression made once its
// window has gone. (Saving a unit of registered series only is pinned without Qt.)
void NothingLostTest::RegisteringAndCompressingSayWhatTheyDid() {
    QTemporaryDir scratch;
    const SampleSet sample = WriteSampleSet(
        scratch.path().toStdString(), {.animations = 1, .frames = 3, .width = 16, .height = 16});
    CMainFrame frame;
    frame.show();
    CUnitFrame* unit = nullptr;
    {
        test::ModalAnswers answers;
        unit = RegisterInNewUnit(frame, answers, sample.firstPictures.front());
        QVERIFY(answers.Done());
    }
    QVERIFY(StatusShows(frame, "Registered 1 animation (3 frames)."));
    QCOMPARE(QApplication::overrideCursor(), nullptr); // the busy pointer went with the load

    // The settings are taken as they are; the pointer is looked at as often as the compression
    // window is seen, the first time before the window polls its run. Once the run has
    // finished, the window stays until OK, saying what the compression lost.
    std::vector<Qt::CursorShape> seen;
    bool saidWhatWasLost = false;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* settings = dynamic_cast<LookupTableDialog*>(modal)) {
            settings->accept();
        } else if (auto* compute = dynamic_cast<VqComputeDialog*>(modal)) {
            const QCursor* cursor = QApplication::overrideCursor();
            seen.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
            if (QPushButton* ok = test::ButtonNamed(*compute, "OK")) {
                for (const QLabel* label : compute->findChildren<QLabel*>()) {
                    saidWhatWasLost =
                        saidWhatWasLost ||
                        (label->text().startsWith("PSNR against the registered frames: unit ") &&
                         label->text().contains("\nPSNR of the registered frames against the "
                                                "pictures read: "));
                }
                ok->click();
            }
        }
    });
    watch.start();
    unit->setAnimationView().view().OnCommand(command::kVqCompute);
    watch.stop();
    QVERIFY(!seen.empty());
    QVERIFY(saidWhatWasLost);
    QVERIFY(std::find(seen.begin(), seen.end(), Qt::BusyCursor) != seen.end());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(unit->document().Data().AnimationCount(), 1);
    bool told = false;
    for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>()) {
        told = told || label->text().startsWith("VQ Compute done: 1 animations, 3 frames, ");
    }
    QVERIFY(told);
    unit->document().SetModifiedFlag(false);
}

void NothingLostTest::ExitAsksEveryModifiedDocumentAndCancelKeepsThemAll() {
    CMainFrame frame;
    frame.show();
    CUnitFrame* first = frame.NewUnitDocument();
    CUnitFrame* second = frame.NewUnitDocument();
    CChildFrame* clean = frame.NewBuildingDocument();
    first->document().SetModifiedFlag(true);
    second->document().SetModifiedFlag(true);
    test::ModalAnswers answers;

    // No on the first, Cancel on the second: nothing closes and nothing more is asked.
    answers.Press(QMessageBox::No);
    answers.Press(QMessageBox::Cancel);
    QVERIFY(!frame.close());
    Settle();
    QCOMPARE(answers.messages.size(), std::size_t{2});
    QCOMPARE(frame.documents()->subWindowList().size(), 3);
    QVERIFY(first->document().IsModified());
    QVERIFY(second->document().IsModified());
    QVERIFY(frame.isVisible());

    // No to both: every window closes, the unmodified one without a question.
    answers.Press(QMessageBox::No);
    answers.Press(QMessageBox::No);
    QVERIFY(frame.close());
    Settle();
    QCOMPARE(answers.messages.size(), std::size_t{4});
    QVERIFY(frame.documents()->subWindowList().isEmpty());
    QVERIFY(answers.unexpected.empty());
    Q_UNUSED(clean);
}

// Junk, and names of no known kind, open no window.
void NothingLostTest::JunkFilesOpenNoWindow() {
    QTemporaryDir scratch;
    std::mt19937 random(5);
    std::vector<std::uint8_t> junk(3000);
    for (auto& byte : junk) {
        byte = static_cast<std::uint8_t>(random());
    }
    CMainFrame frame;
    frame.show();
    test::ModalAnswers answers;
    QVERIFY(!frame.OpenByExtension("ab"));
    for (const char* name : {"x.UPT", "x.BPT", "x.UTD", "x.URE"}) {
        WriteBytes(scratch.filePath(name), junk);
        answers.Press(QMessageBox::Ok);
        QVERIFY2(!frame.OpenByExtension(scratch.filePath(name)), name);
        Settle();
        QVERIFY2(frame.documents()->subWindowList().isEmpty(), name);
        QVERIFY2(answers.Done(), name); // each said why
    }
    // The tool's own message names neither the file nor the reason: the box says both under it.
    QVERIFY(answers.details[0].startsWith(scratch.filePath("x.UPT") + ": "));
    QVERIFY(answers.messages[1].contains("not a \"Build File\" file"));

    // A building file of another version opens (empty, as the document's test pins), as a
    // building file of that name.
    std::vector<std::uint8_t> future(BinaryReader::kHeadSize, 0);
    const std::string magic = kBuildingMagic;
    std::copy(magic.begin(), magic.end(), future.begin());
    future[32] = 9;
    WriteBytes(scratch.filePath("future.BPT"), future);
    answers.Press(QMessageBox::Ok);
    QVERIFY(frame.OpenByExtension(scratch.filePath("future.BPT")));
    CChildFrame* building = frame.ActiveBuildingFrame();
    QVERIFY(building != nullptr);
    QCOMPARE(building->windowTitle(),
             QString("Build - Open Build-\"%1\"").arg(scratch.filePath("future.BPT")));
    QVERIFY(answers.unexpected.empty());
}

void NothingLostTest::AFileProblemNamesTheFileAndTheReason() {
    CMainFrame frame;
    frame.show();
    Prompts& prompts = frame.platform().prompts;
    test::ModalAnswers answers;
    const std::filesystem::path first = "/art/short/mask_0001.tga";
    answers.Press(QMessageBox::Ok);
    prompts.ShowFileProblem(messages::WithName(messages::kMaskCountMismatch, "mask_0001.tga"),
                            first, messages::MaskCountReason(4, 8));
    QCOMPARE(answers.messages[0],
             QString("\"mask_0001.tga\", 화일부분이 Image와 mask 수가 같지 않습니다."));
    QCOMPARE(answers.details[0],
             QString("/art/short/mask_0001.tga: the mask series has 4 pictures for 8 frames."));
    // A message that gives the reason itself is not repeated under it.
    answers.Press(QMessageBox::Ok);
    prompts.ShowFileProblem("\"mask_0001.tga\": too small; not added.", first, "too small");
    QCOMPARE(answers.details[1], QString());
    QVERIFY(answers.Done());
    QVERIFY(answers.unexpected.empty());
}

void NothingLostTest::ASavedUnitClosesWithoutAQuestionAndReopensFromTheRecentList() {
    QTemporaryDir scratch;
    QSettings("Local AppWizard-Generated Applications", "Fenwold").clear();
    CMainFrame frame;
    frame.show();
    CUnitFrame* unit = frame.NewUnitDocument();
    QVERIFY(test::CompressRedAndBlue(unit->document()));
    QVERIFY(unit->document().IsModified());
    test::ModalAnswers answers;
    // Save of a unit without a name asks for one, typed without an extension.
    answers.Choose(scratch.filePath("hero"));
    frame.action(command::kFileSave)->trigger();
    QVERIFY(answers.Done());
    QVERIFY(QFile::exists(scratch.filePath("hero.UTD")));
    QVERIFY(QFile::exists(scratch.filePath("hero.UPT")));
    QVERIFY(!unit->document().IsModified());
    QVERIFY(unit->close()); // nothing asked
    Settle();
    QVERIFY(frame.documents()->subWindowList().isEmpty());
    QVERIFY(answers.messages.empty());

    // The list names the file written, with its extension, and opens it again.
    const QString saved = scratch.filePath("hero.UTD");
    QCOMPARE(frame.recentFiles().files().value(0), saved);
    frame.OpenRecent(saved);
    CUnitFrame* reopened = frame.ActiveUnitFrame();
    QVERIFY(reopened != nullptr);
    QVERIFY(reopened->document().ToolDataFlag());
    QCOMPARE(reopened->document().Data().AnimationCount(), 2);
    QCOMPARE(
        reopened->windowTitle(),
        QString("Unit - VQ Compression -\"%1\"<%2>")
            .arg(saved)
            .arg(static_cast<double>(reopened->document().Data().compressionError), 0, 'f', 6));

    // Entries that cannot be opened say why and leave the list.
    QFile::remove(saved);
    answers.Press(QMessageBox::Ok);
    frame.OpenRecent(saved);
    QCOMPARE(answers.messages.back(),
             saved + ": the file no longer exists; it is taken off the recent-file list.");
    WriteBytes(scratch.filePath("notes.txt"), {1, 2, 3});
    answers.Press(QMessageBox::Ok);
    frame.OpenRecent(scratch.filePath("notes.txt"));
    QVERIFY(answers.messages.back().contains("it is no unit (.UTD, .UPT, .URE) or building"));
    QVERIFY(!frame.recentFiles().files().contains(saved));
    QCOMPARE(frame.documents()->subWindowList().size(), 1);
    QVERIFY(answers.unexpected.empty());
}

void NothingLostTest::TheMainTitleAndTheWindowMenuFollowTheActiveDocument() {
    CMainFrame frame;
    frame.show();
    QCOMPARE(frame.windowTitle(), QString("Fenwold"));
    CUnitFrame* unit = frame.NewUnitDocument();
    CChildFrame* building = frame.NewBuildingDocument();
    QCOMPARE(frame.windowTitle(), "Fenwold - " + building->windowTitle());
    QCOMPARE(building->windowTitle(), QString("Build - Open Build-\"Noname.Bpt\""));
    frame.documents()->setActiveSubWindow(unit);
    QCOMPARE(frame.windowTitle(),
             QString("Fenwold - Unit - VQ Compression -\"Noname.UTD\"<-1.000000>"));
    unit->SelectTab(1);
    QCOMPARE(frame.windowTitle(),
             QString("Fenwold - Unit - Set animation - \"Noname.UTD\"<-1.000000>"));
    QVERIFY(unit->setAnimationView().isVisible());
    QVERIFY(!unit->unitView().isVisible());
    unit->SelectTab(0); // back on its first tab, the title has a space the first title lacks
    QCOMPARE(unit->windowTitle(), QString("Unit - VQ Compression - \"Noname.UTD\"<-1.000000>"));
    // A maximised window adds its title in brackets, once.
    unit->showMaximized();
    QCOMPARE(frame.windowTitle(), "Fenwold - [" + unit->windowTitle() + "]");
    unit->showNormal();
    QCOMPARE(frame.windowTitle(), "Fenwold - " + unit->windowTitle());

    // The Window menu lists both, the active one checked; choosing one brings it to the front.
    emit frame.windowMenu()->aboutToShow();
    QList<QAction*> entries;
    for (QAction* item : frame.windowMenu()->actions()) {
        if (item->text().startsWith("&1 ") || item->text().startsWith("&2 ")) {
            entries.push_back(item);
        }
    }
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->text(), "&1 " + unit->windowTitle());
    QVERIFY(entries[0]->isChecked());
    QVERIFY(!entries[1]->isChecked());
    entries[1]->trigger();
    QCOMPARE(frame.documents()->activeSubWindow(), building);

    // Every window carries the program's icon.
    const qint64 icon = ProgramIcon().cacheKey();
    QCOMPARE(frame.windowIcon().cacheKey(), icon);
    QCOMPARE(unit->windowIcon().cacheKey(), icon);
    QCOMPARE(building->windowIcon().cacheKey(), icon);
    // The Window menu's Close (Ctrl+F4) closes the active window, and is disabled once none is
    // left.
    const QList<QAction*> items = frame.windowMenu()->actions();
    QAction* close = *std::find_if(items.begin(), items.end(),
                                   [](const QAction* item) { return item->text() == "C&lose"; });
    QVERIFY(close->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4)));
    close->trigger();
    Settle();
    QCOMPARE(frame.documents()->subWindowList(), QList<QMdiSubWindow*>{unit});
    QVERIFY(close->isEnabled());
    close->trigger();
    Settle();
    QVERIFY(!close->isEnabled());
}

void NothingLostTest::TheKeyboardOpensTheContextMenuAtTheHoveredFrame() {
    CMainFrame frame;
    frame.resize(800, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    CUnitFrame* unit = frame.NewUnitDocument();
    QVERIFY(test::CompressRedAndBlue(unit->document()));
    unit->showMaximized();
    UnitViewWidget& view = unit->unitView();
    QTest::qWait(20);

    // Where each menu opened, closed again at once.
    std::vector<QPoint> opened;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            opened.push_back(menu->pos());
            menu->close();
        }
    });
    watch.start();

    // Nothing hovered: the window's corner.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(50, 50),
                          view.mapToGlobal(QPoint(50, 50)));
    QCoreApplication::sendEvent(&view, &key);
    QCOMPARE(opened.size(), std::size_t{1});
    QCOMPARE(opened[0], view.viewport()->mapToGlobal(QPoint(0, 0)));

    // A hovered frame: its top left corner.
    const GridCell* cell = view.view().Grid().CellOf(1, 1);
    QVERIFY(cell != nullptr);
    const QPoint inside(cell->x + 2, cell->y + 2);
    QMouseEvent move(QEvent::MouseMove, inside, view.viewport()->mapToGlobal(inside), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
    QCOMPARE(view.view().HoveredFrame(), 1);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(opened.size(), std::size_t{2});
    QCOMPARE(opened[1], view.viewport()->mapToGlobal(QPoint(cell->x, cell->y)));
    QCOMPARE(view.view().HoveredFrame(), 1); // the keyboard leaves the hover where it was
    unit->document().SetModifiedFlag(false);
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::NothingLostTest)
#include "NothingLostTest.moc"
