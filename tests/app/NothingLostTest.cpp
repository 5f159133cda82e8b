#include "ModalAnswers.h"
#include "app/CMainFrame.h"
#include "app/DocumentFrames.h"
#include "app/ProgramIcon.h"
#include "app/UnitViews.h"
#include "building/BuildingFile.h"
#include "image/FrameStreams.h"
#include "image/LoaderMessages.h"
#include "image/SampleArt.h"
#include "platform/BinaryReader.h"
#include "unit/UnitDoc.h"
#include "vq/CompressionRun.h"

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
#include <fstream>
#include <random>

namespace fenwold {
namespace {

class QuietProgress final : public CompressionProgress {
public:
    void ShowText(ProgressField, std::string_view) override {}
    void ShowBar(ProgressBar, int) override {}
};

// Two compressed animations of solid red and blue frames, as a finished "VQ Compute" leaves them.
void Compress(CUnitDoc& document) {
    RegisteredAnimations animations;
    for (const Pixel555 colour : {Pixel555{0x7C00}, Pixel555{0x001F}}) {
        RegisteredAnimation& animation = animations.emplace_back();
        animation.width = 8;
        animation.height = 6;
        animation.frameCount = 2;
        animation.sequenceLength = 2;
        for (int f = 0; f < 2; ++f) {
            RegisteredFrame frame;
            frame.width = 8;
            frame.height = 6;
            frame.pixelStream = EncodeFramePixels(std::vector<Pixel555>(48, colour), 8, 6);
            frame.alphaStream = EncodeFrameAlpha(std::vector<std::uint8_t>(48, 248), 8, 6);
            animation.frames.push_back(std::move(frame));
        }
    }
    CompressionParameters parameters;
    parameters.noLbg = true;
    QuietProgress progress;
    QVERIFY(document.AcceptCompressionResult(
        CompressAnimations(RefsTo(animations), parameters, 1, progress)));
}

QPushButton* ButtonNamed(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// In the series dialog: lists the series of `first` and registers it.
void ListAndRegister(QWidget& dialog, const std::filesystem::path& first) {
    auto* files = dialog.findChild<QFileDialog*>();
    files->setDirectory(QString::fromStdString(first.parent_path().string()));
    // Typed, as the name field has the focus (selectFile leaves a focused field alone).
    files->findChild<QLineEdit*>("fileNameEdit")
        ->setText(QString::fromStdString(first.filename().string()));
    ButtonNamed(dialog, "&Make List")->click();
    ButtonNamed(dialog, "Registration")->click();
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
    void RegistrationMarksTheUnitAndSavingWarnsFirst();
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

void NothingLostTest::RegistrationMarksTheUnitAndSavingWarnsFirst() {
    QTemporaryDir scratch;
    const std::filesystem::path root = scratch.path().toStdString();
    const SampleSet sample =
        WriteSampleSet(root, {.animations = 1, .frames = 3, .width = 16, .height = 16});
    CMainFrame frame;
    frame.show();
    CUnitFrame* unit = frame.NewUnitDocument();
    unit->SelectTab(1);
    CSetAnimationView& view = unit->setAnimationView().view();
    test::ModalAnswers answers;
    answers.Then([&](QWidget& dialog) { ListAndRegister(dialog, sample.firstPictures.front()); });
    view.OnCommand(command::kAddAnimation);
    QVERIFY(answers.Done());
    QCOMPARE(view.RegisteredCount(), 1);
    QVERIFY(unit->document().IsModified());
    QVERIFY(StatusShows(frame, "Modified"));
    QVERIFY(StatusShows(frame, "Registered 1 animation (3 frames)."));
    QCOMPARE(QApplication::overrideCursor(), nullptr); // the busy pointer went with the load

    // Closing the unit window asks; Cancel keeps it.
    answers.Press(QMessageBox::Cancel);
    QVERIFY(!unit->close());
    QCOMPARE(answers.messages.back(), QString("너 \"Noname.UTD\" 파일을 저장 할거냐?"));

    // Save says where registered series are kept; Cancel writes nothing.
    answers.Press(QMessageBox::Cancel);
    frame.action(command::kFileSave)->trigger();
    QVERIFY(answers.messages.back().startsWith("1 registered animation(s)"));
    QVERIFY(!std::filesystem::exists(root / "hero.UTD"));
    // Saved anyway, the unit stays modified: its files do not hold the registration.
    answers.Press(QMessageBox::Ok);
    answers.Choose(QString::fromStdString((root / "hero").string()));
    frame.action(command::kFileSave)->trigger();
    QVERIFY(answers.Done());
    QVERIFY(std::filesystem::exists(root / "hero.UTD"));
    QVERIFY(StatusShows(frame, "Modified"));
    QVERIFY(answers.unexpected.empty());

    // The status bar's progress shows a busy pointer for as long as it is up.
    auto* bar = frame.findChild<FenwoldStatusBar*>();
    bar->BeginProgress("Image Tga File Loading", 2);
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    bar->EndProgress();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
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

    // Cancel on the first question: nothing closes and nothing more is asked.
    answers.Press(QMessageBox::Cancel);
    QVERIFY(!frame.close());
    Settle();
    QCOMPARE(answers.messages.size(), std::size_t{1});
    QCOMPARE(frame.documents()->subWindowList().size(), 3);
    QVERIFY(first->document().IsModified());
    QVERIFY(second->document().IsModified());
    QVERIFY(frame.isVisible());

    // No on the first, Cancel on the second: still nothing closes.
    answers.Press(QMessageBox::No);
    answers.Press(QMessageBox::Cancel);
    QVERIFY(!frame.close());
    Settle();
    QCOMPARE(answers.messages.size(), std::size_t{3});
    QCOMPARE(frame.documents()->subWindowList().size(), 3);
    QVERIFY(first->document().IsModified());

    // No to both: every window closes, the unmodified one without a question.
    answers.Press(QMessageBox::No);
    answers.Press(QMessageBox::No);
    QVERIFY(frame.close());
    Settle();
    QCOMPARE(answers.messages.size(), std::size_t{5});
    QVERIFY(frame.documents()->subWindowList().isEmpty());
    QVERIFY(answers.unexpected.empty());
    Q_UNUSED(clean);
}

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
    for (const char* name : {"x.UTD", "x.UPT", "x.BPT", "x.URE"}) {
        WriteBytes(scratch.filePath(name), junk);
        answers.Press(QMessageBox::Ok);
        QVERIFY2(!frame.OpenByExtension(scratch.filePath(name)), name);
        Settle();
        QVERIFY2(frame.documents()->subWindowList().isEmpty(), name);
        QVERIFY2(answers.Done(), name); // each said why
    }
    QCOMPARE(answers.messages[1], QString("다른 버젼이라 읽을수 없당."));
    // The tool's own message names neither the file nor the reason: the box says both under it.
    QVERIFY(answers.details[1].startsWith(scratch.filePath("x.UPT") + ": "));
    QVERIFY(answers.messages[2].contains("not a \"Build File\" file"));

    // A building file of another version opens empty, as a building file of that name.
    std::vector<std::uint8_t> future(BinaryReader::kHeadSize, 0);
    const std::string magic = kBuildingMagic;
    std::copy(magic.begin(), magic.end(), future.begin());
    future[32] = 9;
    WriteBytes(scratch.filePath("future.BPT"), future);
    answers.Press(QMessageBox::Ok);
    QVERIFY(frame.OpenByExtension(scratch.filePath("future.BPT")));
    QVERIFY(answers.messages.back().contains("version 9"));
    CChildFrame* building = frame.ActiveBuildingFrame();
    QVERIFY(building != nullptr);
    QCOMPARE(building->document().Record(), nullptr);
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
    Compress(unit->document());
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
}

void NothingLostTest::TheKeyboardOpensTheContextMenuAtTheHoveredFrame() {
    CMainFrame frame;
    frame.resize(800, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    CUnitFrame* unit = frame.NewUnitDocument();
    Compress(unit->document());
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

    // A hovered frame: its top left corner, from the Menu key and from Shift+F10.
    const GridCell* cell = view.view().Grid().CellOf(1, 1);
    QVERIFY(cell != nullptr);
    const QPoint inside(cell->x + 2, cell->y + 2);
    QMouseEvent move(QEvent::MouseMove, inside, view.viewport()->mapToGlobal(inside), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
    QCOMPARE(view.view().HoveredFrame(), 1);
    QCoreApplication::sendEvent(&view, &key);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(opened.size(), std::size_t{3});
    const QPoint corner = view.viewport()->mapToGlobal(QPoint(cell->x, cell->y));
    QCOMPARE(opened[1], corner);
    QCOMPARE(opened[2], corner);
    QCOMPARE(view.view().HoveredFrame(), 1); // the keyboard leaves the hover where it was
    unit->document().SetModifiedFlag(false);
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::NothingLostTest)
#include "NothingLostTest.moc"
