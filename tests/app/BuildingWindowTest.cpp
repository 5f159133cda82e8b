#include "ModalAnswers.h"
#include "WindowFixtures.h"
#include "app/BuildingTabWidget.h"
#include "app/CMainFrame.h"
#include "app/DocumentFrames.h"
#include "image/TgaWriter.h"
#include "platform/VirtualKeys.h"

#include <CommandIds.h>
#include <QMdiArea>
#include <QScrollBar>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

namespace fenwold {
namespace {

// A view that records what its window hands it: a 300 x 200 picture at zoom 2, a 6 ms timer.
class RecordingTabView final : public BuildingTabView {
public:
    RecordingTabView() {
        picture_.width = 300;
        picture_.height = 200;
        picture_.zoom = 2;
        picture_.pixels.assign(300 * 200, 0x7C00);
    }
    int TimerMilliseconds() const override { return 6; }
    void OnFocusGained() override { ++focusGained; }
    void OnFocusLost() override { ++focusLost; }
    void OnKeyDown(int key) override { down.push_back(key); }
    void OnKeyUp(int key) override { up.push_back(key); }
    void OnLeftButtonDown(int x, int y) override { clicks.emplace_back(x, y); }
    void Tick() override { ++ticks; }
    const BuildingViewPicture& Picture() override { return picture_; }

    int focusGained = 0;
    int focusLost = 0;
    int ticks = 0;
    std::vector<int> down;
    std::vector<int> up;
    std::vector<QPoint> clicks;

private:
    BuildingViewPicture picture_;
};

void Key(QWidget& widget, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
         const QString& text = {}, bool autoRepeat = false) {
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QCoreApplication::sendEvent(&widget, &event);
}

} // namespace

class BuildingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void TheTabWindowScrollsZoomsAndTranslatesKeys();
    void ModeTabsAppearAndRetitleTheirOwnWindow();

private:
    // A 40 x 40 red house, a picture with no visible pixel and a decoy of another extension.
    void WriteHouse();

    QTemporaryDir settings_;
    QTemporaryDir folder_;
};

void BuildingWindowTest::initTestCase() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
    WriteHouse();
}

void BuildingWindowTest::WriteHouse() {
    const std::filesystem::path folder = folder_.path().toStdString();
    WriteTga32(folder / "house.tga", std::vector<TgaColor>(40 * 40, MakeTgaColor(255, 0, 0)), 40,
               40);
    // Chosen in the dialog's all-files mode; house.tga is what is read.
    WriteTga32(folder / "house.bmp", std::vector<TgaColor>(16, MakeTgaColor(9, 9, 9, 0)), 4, 4);
    WriteTga32(folder / "blank.tga", std::vector<TgaColor>(16, MakeTgaColor(9, 9, 9, 0)), 4, 4);
}

void BuildingWindowTest::TheTabWindowScrollsZoomsAndTranslatesKeys() {
    RecordingTabView view;
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    BuildingTabWidget window(nullptr, view);
    window.resize(200, 150);
    window.show();
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The scroll range covers the enlarged picture, 600 x 400.
    const int clientWidth = window.viewport()->width();
    QCOMPARE(window.horizontalScrollBar()->maximum(), 600 - clientWidth);
    QCOMPARE(window.verticalScrollBar()->maximum(), 400 - window.viewport()->height());
    window.horizontalScrollBar()->setValue(100);
    window.verticalScrollBar()->setValue(40);
    // The timer runs only while the window has the keyboard, which a click gives it.
    QVERIFY(!window.TimerRunning());
    window.activateWindow();
    QTest::mouseClick(window.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    QCOMPARE(view.clicks.back(), QPoint(55, 30)); // (10 + 100) / 2, (20 + 40) / 2
    QTRY_VERIFY(window.hasFocus());
    QVERIFY(view.focusGained >= 1);
    QVERIFY(window.TimerRunning());
    QTRY_VERIFY(view.ticks >= 3);
    Key(window, QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, "+");
    Key(window, QEvent::KeyPress, Qt::Key_Minus, Qt::KeypadModifier, "-");
    Key(window, QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, "+"); // not the keypad's
    Key(window, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    Key(window, QEvent::KeyPress, Qt::Key_F11, Qt::NoModifier);
    Key(window, QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier, "1");
    Key(window, QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier);
    // A held arrow: repeated presses, and only the last release counts.
    Key(window, QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    Key(window, QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, {}, true);
    Key(window, QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, {}, true);
    Key(window, QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier);
    QCOMPARE(view.down, (std::vector<int>{key::kKeypadPlus, key::kKeypadMinus, 'A', '1',
                                          key::kInsert, key::kLeft, key::kLeft}));
    QCOMPARE(view.up, std::vector<int>{key::kLeft});
    other.activateWindow();
    other.setFocus();
    QTRY_VERIFY(!window.hasFocus());
    QCOMPARE(view.focusLost, view.focusGained);
    QVERIFY(!window.TimerRunning());
    const int ticks = view.ticks;
    QTest::qWait(30);
    QCOMPARE(view.ticks, ticks);
}

void BuildingWindowTest::ModeTabsAppearAndRetitleTheirOwnWindow() {
    CMainFrame frame;
    frame.show();
    test::ModalAnswers answers;
    CChildFrame* building = frame.NewBuildingDocument();
    QCOMPARE(building->tabBar().count(), 1);
    QCOMPARE(building->tabBar().tabText(0), QString("Open build"));
    // A failed import (a picture without a visible pixel) shows no tabs, and says so.
    answers.Choose(folder_.filePath("blank.tga"));
    answers.Press(QMessageBox::Ok);
    building->pictureView().OnCommand(command::kOpenBuilding);
    QVERIFY(answers.Done());
    QCOMPARE(answers.messages.back(), QString("그림을 읽을수 없다."));
    QCOMPARE(building->tabBar().count(), 1);
    answers.Choose(folder_.filePath("house.bmp"));
    building->pictureView().OnCommand(command::kOpenBuilding);
    QVERIFY(answers.unexpected.empty());
    QCOMPARE(building->tabBar().count(), 8);
    QCOMPARE(building->tabBar().tabText(7), QString("Fire point"));
    QCOMPARE(building->tabBar().currentIndex(), 0);
    // The picture window's scroll range is the picture's size (64 x 64 here).
    BuildingTabWidget* picture = building->tabWidget(0);
    picture->resize(40, 30);
    QCOMPARE(picture->horizontalScrollBar()->maximum(), 64 - picture->viewport()->width());
    QVERIFY(frame.action(command::kFileSave)->isEnabled());
    building->SelectTab(4);
    QCOMPARE(building->windowTitle(), QString("Build - Set clash attrib - \"Noname.Bpt\""));
    // Keyboard access to the tabs.
    frame.activateWindow();
    QTRY_VERIFY(frame.isActiveWindow());
    QTest::keyClick(building->tabWidget(4), Qt::Key_PageDown, Qt::ControlModifier);
    QTRY_COMPARE(building->tabs().CurrentTab(), 5);
    QCOMPARE(building->windowTitle(), QString("Build - Set animation position - \"Noname.Bpt\""));
    // A tab chosen in a window that is not the active one retitles only that window.
    CChildFrame* other = frame.NewBuildingDocument();
    building->SelectTab(2);
    QCOMPARE(building->windowTitle(), QString("Build - VQ Compression - \"Noname.Bpt\""));
    QCOMPARE(other->windowTitle(), QString("Build - Open Build-\"Noname.Bpt\""));
    other->close();
    // Closing asks to save the new picture; No closes.
    answers.Press(QMessageBox::No);
    building->close();
    QVERIFY(answers.Done());
    QVERIFY(answers.messages.back().contains("Noname.Bpt"));
    QTRY_VERIFY(frame.documents()->subWindowList().isEmpty());
}

} // namespace fenwold

QTEST_MAIN(fenwold::BuildingWindowTest)
#include "BuildingWindowTest.moc"
