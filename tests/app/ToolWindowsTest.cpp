#include "WindowFixtures.h"
#include "app/AnimationEditWindow.h"
#include "app/AnimationWindow.h"
#include "app/CheckBoxWindow.h"
#include "app/OriginPointWindow.h"
#include "app/PreviewCanvasWidget.h"
#include "app/ToolWindowSet.h"

#include <CommandIds.h>
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSlider>
#include <QSpinBox>

namespace fenwold {
namespace {

using test::ClickAnimation;
using test::OpenCompressedUnit;

constexpr std::pair<int, ToolWindow> kTools[] = {
    {command::kToolAnimation, ToolWindow::Animation},
    {command::kToolCheckBox, ToolWindow::CheckBox},
    {command::kToolSetOriginPoint, ToolWindow::OriginPoint},
    {command::kToolAnimationEdit, ToolWindow::AnimationEdit},
};

// The main window with a compressed unit that holds tool data.
struct Scene {
    Scene() {
        frame.show();
        unit = OpenCompressedUnit(frame);
        exposed = QTest::qWaitForWindowExposed(&frame);
    }
    QWidget* Open(ToolWindow tool) {
        for (const auto& [id, place] : kTools) {
            if (place == tool) {
                frame.action(id)->trigger();
            }
        }
        return frame.toolWindows().Window(tool);
    }
    ToolWindowSet& tools() { return frame.toolWindows(); }

    CMainFrame frame;
    CUnitFrame* unit = nullptr;
    bool exposed = false;
};

class ToolWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void ToolsCommandsToggleTheirWindowsAndTheCheckMarksFollow();
    void KeysAimedAtAToolWindowAreRoutedAndThePlayerPlaysOnATimer();
    void ValuesSetFromCodeAreNotTakenAsTheUsersButClicksAre();
    void TheOriginWindowPlacesPointsWithItsKeysAndControls();
    void TheUnitViewsClicksReachTheWindowsThatCloseWithTheUnit();
    void TearingDownTheMainFrameWithADocumentAndToolWindowsOpenIsClean();
};

void ToolWindowsTest::ToolsCommandsToggleTheirWindowsAndTheCheckMarksFollow() {
    Scene scene;
    QVERIFY(scene.exposed);
    for (const auto& [id, tool] : kTools) {
        QAction* item = scene.frame.action(id);
        QVERIFY(item->isEnabled());
        QPointer<QWidget> window = scene.Open(tool);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(item->isChecked());
        QVERIFY(scene.frame.tools().IsOpen(tool));
        item->trigger();
        QVERIFY(window.isNull());
        QVERIFY(!item->isChecked());
        QVERIFY(!scene.frame.tools().IsOpen(tool));
        // Closed by its close box, the window goes and its check mark with it.
        window = scene.Open(tool);
        QVERIFY(item->isChecked());
        window->close();
        QTRY_VERIFY(window.isNull());
        QVERIFY(!item->isChecked());
        QVERIFY(!scene.frame.tools().IsOpen(tool));
    }
}

void ToolWindowsTest::KeysAimedAtAToolWindowAreRoutedAndThePlayerPlaysOnATimer() {
    Scene scene;
    QVERIFY(scene.exposed);
    scene.unit->document().SetToolDataFlag(true);
    QPointer<QWidget> box = scene.Open(ToolWindow::CheckBox);
    QPointer<QWidget> player = scene.Open(ToolWindow::Animation);
    ClickAnimation(*scene.unit, 0);
    CCheckBoxDlg& checkBox = scene.tools().checkBox();
    const int x = checkBox.Current().x;

    QWidget* boxCanvas = static_cast<CheckBoxWindow*>(box.data())->canvas();
    QTest::keyClick(boxCanvas, Qt::Key_Right);
    QCOMPARE(checkBox.Current().x, x + 1);
    QTest::keyClick(boxCanvas, Qt::Key_Return);
    QCOMPARE(scene.unit->document().Data().FindAnimation(0)->checkBoxX,
             static_cast<std::uint16_t>(x + 1));
    QVERIFY(scene.unit->document().IsModified());

    auto* playerWindow = static_cast<AnimationWindow*>(player.data());
    QWidget* playerCanvas = playerWindow->canvas();
    QTest::keyClick(playerCanvas, Qt::Key_PageDown);
    QCOMPARE(scene.tools().animation().View()->MainAnimation().Position(), 1);
    QTest::keyClick(playerCanvas, Qt::Key_Escape);
    QVERIFY(player);
    // A PageUp aimed at the unit view is the unit view's.
    QTest::keyClick(scene.unit->unitView().viewport(), Qt::Key_PageUp);
    QCOMPARE(scene.tools().animation().View()->MainAnimation().Position(), 1);
    QTest::keyClick(playerCanvas, Qt::Key_PageUp);
    QCOMPARE(scene.tools().animation().View()->MainAnimation().Position(), 0);

    // Playback runs on a timer only while the player plays.
    QVERIFY(!playerWindow->timer().isActive());
    QCOMPARE(playerWindow->positionText(), QString("1/2 frame"));
    playerWindow->button(CAnimationDlg::kPlayButton)->click();
    QVERIFY(playerWindow->timer().isActive());
    // Two entries of four steps: the second shows after 64 ms.
    QTRY_COMPARE_WITH_TIMEOUT(playerWindow->positionText(), QString("2/2 frame"), 2000);
    QCOMPARE(playerWindow->slider()->value(), 1);
    playerWindow->button(CAnimationDlg::kStopButton)->click();
    QVERIFY(!playerWindow->timer().isActive());
    QCOMPARE(playerWindow->positionText(), QString("1/2 frame"));
}

void ToolWindowsTest::ValuesSetFromCodeAreNotTakenAsTheUsersButClicksAre() {
    Scene scene;
    QVERIFY(scene.exposed);
    scene.unit->document().SetToolDataFlag(true);
    scene.unit->document().SetModifiedFlag(false);
    auto* box = static_cast<CheckBoxWindow*>(scene.Open(ToolWindow::CheckBox));
    auto* edit = static_cast<AnimationEditWindow*>(scene.Open(ToolWindow::AnimationEdit));
    QVERIFY(QTest::qWaitForWindowExposed(edit));
    UnitAnimation& animation = *scene.unit->document().Data().FindAnimation(1);
    animation.checkBoxWidth = 7;
    animation.checkBoxHeight = 9;
    ClickAnimation(*scene.unit, 1);
    // The spins show the stored box; setting them is no change of the user's.
    QCOMPARE(box->widthSpin()->value(), 7);
    QCOMPARE(box->heightSpin()->value(), 9);
    QCOMPARE(box->windowTitle(), QString("Check Box"));
    box->widthSpin()->setValue(8); // as the user moves it
    QCOMPARE(scene.tools().checkBox().Current().width, 8);
    QCOMPARE(box->windowTitle(), QString("Check Box *"));
    QVERIFY(!scene.unit->document().IsModified());

    // A frame clicked in the edit window's top pane is appended to the sequence.
    QCOMPARE(animation.sequenceLength, 2);
    FramePaneWidget* top = edit->topPane();
    const GridCell* cell = top->view().Grid().CellOf(0, 1);
    QVERIFY(cell != nullptr);
    const QPoint at(cell->x + 2, cell->y + 2);
    QMouseEvent move(QEvent::MouseMove, at, top->viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(top->viewport(), &move);
    QTest::mouseClick(top->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(animation.sequenceLength, 3);
    QCOMPARE(animation.frameNumber[2], std::uint16_t{1});
    QVERIFY(scene.unit->document().IsModified());
    QCOMPARE(edit->bottomPane()->view().Grid().Cells().size(), std::size_t{3});

    auto* player = static_cast<AnimationWindow*>(scene.Open(ToolWindow::Animation));
    ClickAnimation(*scene.unit, 0);
    QCOMPARE(player->slider()->maximum(), 1);
    player->zoomSpin()->setValue(2);
    QCOMPARE(scene.tools().animation().Zoom(), 2);
    QCOMPARE(player->zoomText(), QString("x2"));
}

void ToolWindowsTest::TheOriginWindowPlacesPointsWithItsKeysAndControls() {
    Scene scene;
    QVERIFY(scene.exposed);
    CUnitDoc& unit = scene.unit->document();
    unit.SetToolDataFlag(true);
    unit.SetModifiedFlag(false);
    auto* box = static_cast<CheckBoxWindow*>(scene.Open(ToolWindow::CheckBox));
    auto* window = static_cast<OriginPointWindow*>(scene.Open(ToolWindow::OriginPoint));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(!window->timer().isActive());
    ClickAnimation(*scene.unit, 1);
    QVERIFY(window->timer().isActive());
    QCOMPARE(window->windowTitle(), QString("Set animation point - 0"));
    QCOMPARE(window->mainNumber()->text(), QString("1"));
    // Held Left raises x at every tick until it is released.
    QTest::keyPress(window->canvas(), Qt::Key_Left);
    QTRY_VERIFY(unit.Data().unitPointX[0] >= 2);
    QTest::keyRelease(window->canvas(), Qt::Key_Left);
    const std::int32_t x = unit.Data().unitPointX[0];
    QTest::qWait(120);
    QCOMPARE(unit.Data().unitPointX[0], x);
    QCOMPARE(window->coordinatesText(), QString("%1,0").arg(x));
    QVERIFY(unit.IsModified());
    QTest::keyClick(window->canvas(), Qt::Key_7);
    QCOMPARE(window->windowTitle(), QString("Set animation point - 7"));
    QTest::mouseClick(window->canvas(), Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    QCOMPARE(window->windowTitle(), QString("Set animation point - 8"));
    // The unit has no group: Group falls back to Total.
    emit window->modeCombo()->activated(1);
    QCOMPARE(window->modeCombo()->currentIndex(), 0);
    emit window->modeCombo()->activated(2);
    QCOMPARE(scene.tools().originPoint().ModeIndex(), 2);
    // A number typed into the main box: that animation, here and in the check box window.
    window->mainNumber()->setFocus();
    QTest::keyClick(window->mainNumber(), Qt::Key_Backspace);
    QTest::keyClicks(window->mainNumber(), "0");
    QCOMPARE(scene.tools().originPoint().View()->Main().Position(), 0);
    QCOMPARE(scene.tools().checkBox().View()->Held().Position(), 0);
    QVERIFY(box != nullptr);
    window->zoomSpin()->setValue(2);
    QCOMPARE(scene.tools().originPoint().Zoom(), 2);
}

// The unit view's clicks reach every window; then the unit goes while they are open and the
// player plays.
void ToolWindowsTest::TheUnitViewsClicksReachTheWindowsThatCloseWithTheUnit() {
    Scene scene;
    QVERIFY(scene.exposed);
    std::vector<QPointer<QWidget>> windows;
    for (const auto& [id, tool] : kTools) {
        windows.emplace_back(scene.Open(tool));
    }
    scene.unit->document().SetToolDataFlag(true);
    ClickAnimation(*scene.unit, 1);
    QCOMPARE(scene.tools().animation().View()->MainAnimation().Position(), 1);
    QCOMPARE(scene.tools().checkBox().View()->Held().Position(), 1);
    QCOMPARE(scene.tools().animationEdit().Held().Position(), 1);
    ClickAnimation(*scene.unit, 0, Qt::ControlModifier);
    QCOMPARE(scene.tools().animation().View()->BackAnimation().Position(), 0);
    QCOMPARE(scene.tools().animation().View()->MainAnimation().Position(), 1);
    // The player shows the blue animation at the centre of its canvas.
    auto* player = static_cast<AnimationWindow*>(windows[0].data());
    const QImage shown = player->canvas()->grab().toImage().convertToFormat(QImage::Format_RGB555);
    const CanvasPlacement place =
        PlaceCanvas(player->canvas()->width(), player->canvas()->height(), 1);
    const QRgb centre = shown.pixel(place.left + 200 + 3, place.top + 150 + 3);
    QVERIFY(qBlue(centre) > 200 && qRed(centre) < 50);

    player->button(CAnimationDlg::kPlayButton)->click();
    QTest::qWait(40); // a few ticks while the unit is there
    scene.unit->document().SetModifiedFlag(false);
    QPointer<CUnitFrame> unit = scene.unit;
    unit->close();
    QTRY_VERIFY(unit.isNull());
    for (const QPointer<QWidget>& window : windows) {
        QVERIFY(window.isNull());
    }
    for (const auto& [id, tool] : kTools) {
        QVERIFY(!scene.frame.tools().IsOpen(tool));
        QVERIFY(!scene.frame.action(id)->isChecked());
    }
    QVERIFY(scene.tools().animation().View() == nullptr);
    QTest::qWait(40); // nothing ticks any more
}

// The main frame goes first, with a modified unit (asked nothing), every tool window fed from
// it and a fire source set there.
void ToolWindowsTest::TearingDownTheMainFrameWithADocumentAndToolWindowsOpenIsClean() {
    auto* scene = new Scene;
    QVERIFY(scene->exposed);
    std::vector<QPointer<QWidget>> windows;
    for (const auto& [id, tool] : kTools) {
        windows.emplace_back(scene->Open(tool));
    }
    scene->unit->document().SetToolDataFlag(true);
    ClickAnimation(*scene->unit, 1);
    QCOMPARE(scene->tools().checkBox().View()->Held().Position(), 1);
    scene->unit->unitView().view().OnCommand(command::kFireSetting);
    QVERIFY(scene->frame.tools().FireSource().document == &scene->unit->document());
    scene->unit->document().SetModifiedFlag(true);
    QPointer<CUnitFrame> document = scene->unit;

    delete scene;
    QVERIFY(document.isNull());
    for (const QPointer<QWidget>& window : windows) {
        QVERIFY(window.isNull());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::ToolWindowsTest)
#include "ToolWindowsTest.moc"
