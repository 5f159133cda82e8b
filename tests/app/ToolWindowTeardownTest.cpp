#include "WindowFixtures.h"
#include "app/QtWindowPainter.h"
#include "unittools/ToolHub.h"

#include <CommandIds.h>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

namespace fenwold {
namespace {

// The smallest tool window: it shows the first frame of the animation it was handed, looked up
// again at every paint, and closes when the hub says so.
class TestToolWindow final : public QWidget, public ToolWindowClient {
public:
    TestToolWindow(ToolHub& hub, ToolWindow tool) {
        resize(120, 120);
        registration_ = hub.Open(tool, *this);
    }

    void TakeAnimation(const AnimationHandOver& handOver) override {
        held_ = handOver.animation;
        update();
    }
    void Forget(Feed) override { held_ = {}; }
    void CloseWindow() override {
        held_ = {};
        registration_ = {};
        hide();
        deleteLater();
    }
    int taken() const { return held_.Get() != nullptr; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        const UnitAnimation* animation = held_.Get();
        if (animation == nullptr || animation->alphaTables.empty()) {
            return;
        }
        const UnitData& data = held_.Document()->Animations();
        std::vector<Pixel555> pixels(static_cast<std::size_t>(animation->width) *
                                     animation->height);
        DrawCompressedFrame({pixels.data(), animation->width, animation->height}, 0, 0, *animation,
                            animation->alphaTables.front(),
                            data.codebook.Drawing(data.teamColours.tables[0].data()), 255);
        painter.drawImage(0, 0, ImageOf(pixels.data(), animation->width, animation->height));
        ++paints;
    }

public:
    int paints = 0;

private:
    ToolWindowRegistration registration_;
    AnimationRef held_;
};

using test::ClickAnimation;
using test::OpenCompressedUnit;

class ToolWindowTeardownTest : public QObject {
    Q_OBJECT

private slots:
    void AClickFeedsAnOpenToolWindow();
    void ClosingTheUnitWindowClosesTheToolWindowItFed();
    void TearingDownTheMainFrameWithADocumentAndAToolWindowOpenIsClean();
};

// The main window with a compressed unit and the animation tool window open.
struct OpenUnitAndPlayer {
    OpenUnitAndPlayer() {
        frame.show();
        unit = OpenCompressedUnit(frame);
        exposed = QTest::qWaitForWindowExposed(&frame);
        window = new TestToolWindow(frame.tools(), ToolWindow::Animation);
        window->show();
    }
    CMainFrame frame;
    CUnitFrame* unit = nullptr;
    bool exposed = false;
    QPointer<TestToolWindow> window;
};

void ToolWindowTeardownTest::AClickFeedsAnOpenToolWindow() {
    OpenUnitAndPlayer scene;
    QVERIFY(scene.exposed);
    CMainFrame& frame = scene.frame;
    CUnitFrame* unit = scene.unit;
    QPointer<TestToolWindow> window = scene.window;
    ClickAnimation(*unit, 1);
    QVERIFY(window->taken());
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB555);
    QCOMPARE(reinterpret_cast<const quint16*>(shown.constScanLine(2))[3] & 0x7FFF,
             0x001F); // the blue animation
    QVERIFY(window->paints > 0);
    // Closed by its own close box: the hub lets it go.
    delete window.data();
    QVERIFY(!frame.tools().IsOpen(ToolWindow::Animation));
    ClickAnimation(*unit, 0);
}

void ToolWindowTeardownTest::ClosingTheUnitWindowClosesTheToolWindowItFed() {
    OpenUnitAndPlayer scene;
    QVERIFY(scene.exposed);
    CUnitFrame* unit = scene.unit;
    QPointer<TestToolWindow> window = scene.window;
    ClickAnimation(*unit, 0);
    QVERIFY(window->taken());
    unit->document().SetModifiedFlag(false); // nothing to ask about
    QPointer<CUnitFrame> document = unit;
    unit->close();
    QTRY_VERIFY(document.isNull());
    QVERIFY(!scene.frame.tools().IsOpen(ToolWindow::Animation));
    QTRY_VERIFY(window.isNull());
}

void ToolWindowTeardownTest::TearingDownTheMainFrameWithADocumentAndAToolWindowOpenIsClean() {
    auto* frame = new CMainFrame;
    frame->show();
    CUnitFrame* unit = OpenCompressedUnit(*frame);
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    // A tool window the main frame owns, fed from the open unit, and a fire source set there.
    QPointer<TestToolWindow> window = new TestToolWindow(frame->tools(), ToolWindow::CheckBox);
    window->setParent(frame, Qt::Tool);
    window->show();
    unit->document().SetToolDataFlag(true);
    ClickAnimation(*unit, 1);
    QVERIFY(window->taken());
    unit->unitView().view().OnCommand(command::kFireSetting);
    QVERIFY(frame->tools().FireSource().document == &unit->document());
    unit->document().SetModifiedFlag(true); // the teardown asks nothing
    QPointer<CUnitFrame> document = unit;

    delete frame;
    QVERIFY(document.isNull());
    QVERIFY(window.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::ToolWindowTeardownTest)
#include "ToolWindowTeardownTest.moc"
