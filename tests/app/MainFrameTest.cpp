#include "WindowFixtures.h"
#include "app/CMainFrame.h"
#include "app/DocumentFrames.h"
#include "app/UnitViews.h"
#include "image/FrameSetLoader.h"
#include "image/SampleArt.h"
#include "image/SeriesNames.h"
#include "platform/ScriptedPlatform.h"
#include "unit/GameDataFile.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"
#include "vq/CompressionRun.h"
#include "vq/DrawCompressedFrame.h"

#include <CommandIds.h>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMimeData>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace fenwold {
namespace {

// Two sample walking figures, drawn into the folder and registered.
RegisteredAnimations RegisterSample(ScriptedPlatform& platform, const std::filesystem::path& folder,
                                    int frames, int size) {
    const SampleSet sample =
        WriteSampleSet(folder, {.animations = 2, .frames = frames, .width = size, .height = size});
    RegisteredAnimations animations;
    FrameSetLoader loader(animations, platform.Get());
    for (const auto& series : sample.animationFolders) {
        loader.LoadImageSeries({series, ListTargaFiles(series)});
    }
    return animations;
}

// A compressed unit written as a tool data file and a game file: two sample walking figures of
// four frames.
std::filesystem::path WriteCompressedUnit(const std::filesystem::path& folder) {
    ScriptedPlatform platform(folder);
    const RegisteredAnimations animations = RegisterSample(platform, folder, 4, 40);
    CUnitDoc unit(platform.Get());
    CompressionParameters parameters;
    parameters.lookupTableSize = 64;
    parameters.seed = 0;
    test::QuietProgress progress;
    unit.AcceptCompressionResult(
        CompressAnimations(RefsTo(animations), parameters, *parameters.seed, progress));
    const std::filesystem::path file = folder / "walk.UTD";
    WriteToolData(unit.Data(), file);
    WriteGameData(unit.Data(), true, folder / "walk.UPT");
    return file;
}

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void NoDocumentLeavesTheDocumentCommandsOff();
    void ACompressedUnitShowsTheLibrarysDrawing();
    void DroppedFilesOpenOnlyBuildingsAndGameFiles();
    void ARunLengthFileOpensFromAnyFolder();
    void RecentFilesKeepTheFourNewest();
    void StatusBarShowsProgressAndEachDocumentsModifiedMark();

private:
    QTemporaryDir settings_;
};

void MainFrameTest::initTestCase() {
    // The recent-file list of these windows never touches the settings of whoever runs the test.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
}

void MainFrameTest::NoDocumentLeavesTheDocumentCommandsOff() {
    CMainFrame frame;
    frame.show();
    QVERIFY(frame.action(command::kFileNew)->isEnabled());
    QVERIFY(frame.action(command::kFileOpen)->isEnabled());
    QVERIFY(!frame.action(command::kFileSave)->isEnabled());
    QVERIFY(!frame.action(command::kSaveUpt)->isEnabled());
    QVERIFY(!frame.action(command::kSaveUre)->isEnabled());
    for (const int tool : {command::kToolAnimation, command::kToolCheckBox,
                           command::kToolSetOriginPoint, command::kToolAnimationEdit}) {
        // Checkable, unchecked while no tool window exists.
        QVERIFY(frame.action(tool)->isCheckable());
        QVERIFY(!frame.action(tool)->isChecked());
    }
    QVERIFY(frame.NewBuildingDocument() != nullptr);
    QVERIFY(frame.action(command::kFileSave)->isEnabled());
    QVERIFY(!frame.action(command::kSaveUpt)->isEnabled());
}

void MainFrameTest::ACompressedUnitShowsTheLibrarysDrawing() {
    QTemporaryDir folder;
    const std::filesystem::path file = WriteCompressedUnit(folder.path().toStdString());
    CMainFrame frame;
    frame.resize(900, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.OpenByExtension(QString::fromStdString(file.string())));
    CUnitFrame* unit = frame.ActiveUnitFrame();
    QVERIFY(unit != nullptr);
    unit->showMaximized();
    QVERIFY(frame.action(command::kFileSave)->isEnabled());
    QVERIFY(frame.action(command::kSaveUpt)->isEnabled());
    QVERIFY(frame.action(command::kOpenUtdInfo)->isEnabled());
    QVERIFY(unit->document().ToolDataFlag());
    QCOMPARE(unit->document().Data().AnimationCount(), 2);

    UnitViewWidget& view = unit->unitView();
    QTest::qWait(50);
    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB555);
    const UnitData& data = unit->document().Data();
    int compared = 0;
    int position = 0;
    for (const UnitAnimation& animation : data.animations) {
        for (const AlphaTableNode& node : animation.alphaTables) {
            const GridCell* cell = view.view().Grid().CellOf(position, node.index);
            QVERIFY(cell != nullptr);
            std::vector<Pixel555> expected(static_cast<std::size_t>(animation.width) *
                                           animation.height);
            DrawCompressedFrame({expected.data(), animation.width, animation.height}, 0, 0,
                                animation, node,
                                data.codebook.Drawing(data.teamColours.tables[0].data()), 255);
            // Below the position label, every pixel is the frame's own.
            for (int y = 12; y < animation.height; ++y) {
                if (cell->y + y >= shown.height()) {
                    break;
                }
                for (int x = 0; x < animation.width; ++x) {
                    const Pixel555 p = expected[static_cast<std::size_t>(y) * animation.width + x];
                    // Compared as the window's own 16-bit pixels.
                    const auto* row =
                        reinterpret_cast<const quint16*>(shown.constScanLine(cell->y + y));
                    const Pixel555 got = row[cell->x + x] & 0x7FFF;
                    if (got != p) {
                        QFAIL(qPrintable(QString("pixel %1,%2 of a frame at %3,%4: %5 not %6")
                                             .arg(x)
                                             .arg(y)
                                             .arg(cell->x)
                                             .arg(cell->y)
                                             .arg(got, 0, 16)
                                             .arg(p, 0, 16)));
                    }
                    ++compared;
                }
            }
        }
        ++position;
    }
    QVERIFY(compared > 1000);
}

void MainFrameTest::DroppedFilesOpenOnlyBuildingsAndGameFiles() {
    QTemporaryDir folder;
    const std::filesystem::path toolData = WriteCompressedUnit(folder.path().toStdString());
    const std::filesystem::path game = toolData.parent_path() / "walk.UPT";
    CMainFrame frame;
    frame.show();
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(toolData.string())),
                     QUrl::fromLocalFile(QString::fromStdString(game.string())),
                     QUrl::fromLocalFile(folder.filePath("missing.ure"))});
    // The drag enters the window before it drops there.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    // Only the game file opens: tool data and run-length files are not taken by dropping.
    QCOMPARE(frame.documents()->subWindowList().size(), 1);
    CUnitFrame* unit = frame.ActiveUnitFrame();
    QVERIFY(unit != nullptr);
    QVERIFY(!unit->document().ToolDataFlag());
    QCOMPARE(unit->document().Data().AnimationCount(), 2);
}

void MainFrameTest::ARunLengthFileOpensFromAnyFolder() {
    QTemporaryDir folder;
    const std::filesystem::path root = folder.path().toStdString();
    ScriptedPlatform platform(root);
    const RegisteredAnimations animations = RegisterSample(platform, root, 3, 24);
    const std::filesystem::path file = root / "runs" / "walk.URE";
    std::filesystem::create_directories(file.parent_path());
    WriteRunLengthUnitFile(file, animations);

    // Named with its folder, as on the command line, while the working folder is elsewhere.
    CMainFrame frame;
    frame.show();
    frame.platform().folder.Set(root);
    QVERIFY(frame.OpenByExtension(QString::fromStdString(file.string())));
    CUnitFrame* unit = frame.ActiveUnitFrame();
    QVERIFY(unit != nullptr);
    QCOMPARE(unit->setAnimationView().view().RegisteredCount(), 2);
    QCOMPARE(unit->document().Data().AnimationCount(), 0);
}

void MainFrameTest::RecentFilesKeepTheFourNewest() {
    QSettings("Local AppWizard-Generated Applications", "Fenwold").clear();
    {
        RecentFiles recent;
        QVERIFY(recent.files().isEmpty());
        for (const char* name : {"/units/a.UTD", "/units/b.UTD", "/units/c.UPT", "/b/d.BPT",
                                 "/units/b.UTD", "/units/e.UTD"}) {
            recent.Add(name);
        }
        QCOMPARE(recent.files(),
                 QStringList({"/units/e.UTD", "/units/b.UTD", "/b/d.BPT", "/units/c.UPT"}));
    }
    // Kept in the settings for the next start.
    RecentFiles next;
    QCOMPARE(next.files(),
             QStringList({"/units/e.UTD", "/units/b.UTD", "/b/d.BPT", "/units/c.UPT"}));
    next.Remove("/b/d.BPT");
    QCOMPARE(RecentFiles().files(), QStringList({"/units/e.UTD", "/units/b.UTD", "/units/c.UPT"}));
}

void MainFrameTest::StatusBarShowsProgressAndEachDocumentsModifiedMark() {
    CMainFrame frame;
    frame.show();
    auto* bar = frame.findChild<FenwoldStatusBar*>();
    QVERIFY(bar != nullptr);
    const auto shown = [bar](const QString& text) {
        for (const QLabel* label : bar->findChildren<QLabel*>()) {
            if (label->isVisible() && label->text() == text) {
                return true;
            }
        }
        return false;
    };
    QCOMPARE(bar->message(), QString("Ready"));
    // The progress shows a busy pointer for as long as it is up.
    bar->BeginProgress("Image Tga File Loading", 3);
    QVERIFY(shown("Image Tga File Loading"));
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    bar->showMessage("Open a unit (.UTD, .UPT, .URE) or a building (.BPT)"); // passing help
    bar->clearMessage();
    bar->EndProgress();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!shown("Image Tga File Loading"));
    QCOMPARE(bar->message(), QString("Ready"));
    QVERIFY(shown("Ready"));

    CChildFrame* building = frame.NewBuildingDocument();
    QVERIFY(building != nullptr);
    building->document().SetModifiedFlag(true);
    QVERIFY(shown("Modified"));
    building->document().SetModifiedFlag(false);
    QVERIFY(!shown("Modified"));
    QVERIFY(shown(QString(15, ' ')));

    // A unit shows its mark too, and the pane follows the active window.
    CUnitFrame* unit = frame.NewUnitDocument();
    QVERIFY(unit != nullptr);
    unit->document().SetModifiedFlag(true);
    QVERIFY(shown("Modified"));
    frame.documents()->setActiveSubWindow(building);
    QVERIFY(!shown("Modified"));
    frame.documents()->setActiveSubWindow(unit);
    QVERIFY(shown("Modified"));
    // What the active unit's compression lost has a pane of its own.
    unit->document().SetQualityText("PSNR 30.12 dB, worst 28.00 dB (animation 1)");
    QVERIFY(shown("PSNR 30.12 dB, worst 28.00 dB (animation 1)"));
    frame.documents()->setActiveSubWindow(building);
    QVERIFY(!shown("PSNR 30.12 dB, worst 28.00 dB (animation 1)"));
    unit->document().SetModifiedFlag(false); // closing asks nothing
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::MainFrameTest)
#include "MainFrameTest.moc"
