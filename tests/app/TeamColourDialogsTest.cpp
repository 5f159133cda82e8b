#include "app/TeamColourDialogs.h"

#include "WindowFixtures.h"
#include "app/AnimationWindow.h"
#include "app/PreviewCanvasWidget.h"
#include "app/ToolWindowSet.h"
#include "building/CFenwoldDoc.h"
#include "platform/ScriptedPlatform.h"
#include "teamcolour/TeamColourFile.h"

#include <QAbstractButton>
#include <QPointer>
#include <QTemporaryDir>

namespace fenwold {
namespace {

using test::OpenCompressedUnit;

class TeamColourDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void TheUnitDialogPlaysInItsOwnWindowWithItsOwnKeys();
    void TheBuildingDialogEditsTheTableTheListShows();
};

// A drag on the bar's cell `cell` (ten pixels a cell).
void DragBarTo(QWidget* bar, int cell) {
    const QPoint at(cell * 10 + 5, 4);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, at);
}

void TeamColourDialogsTest::TheUnitDialogPlaysInItsOwnWindowWithItsOwnKeys() {
    CMainFrame frame;
    frame.show();
    CUnitFrame* unit = OpenCompressedUnit(frame);
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    ToolWindowSet& tools = frame.toolWindows();
    const AnimationHandOver current{AnimationRef(unit->document(), 0), &unit->unitView().view(),
                                    true};
    QPointer<AnimationWindow> second;
    {
        CTeamColourDlg model(frame.platform(), tools.hub(), tools.keys(),
                             unit->document().Data().teamColours, current);
        TeamColourDialog dialog(&frame, model, tools);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        second = dialog.animationWindow();
        QVERIFY(second != nullptr);
        QVERIFY(second->isVisible());
        // The animation tool's own window is not involved.
        QVERIFY(tools.Window(ToolWindow::Animation) == nullptr);
        QCOMPARE(model.AnimationTool().View()->MainAnimation().Position(), 0);
        QTest::keyClick(second->canvas(), Qt::Key_PageDown);
        QCOMPARE(model.AnimationTool().View()->MainAnimation().Position(), 1);
        second->button(CAnimationDlg::kPlayButton)->click();
        QVERIFY(second->timer().isActive());

        dialog.list()->setCurrentIndex(4);
        QCOMPARE(model.Editor().CurrentTable(), 4);
        QCOMPARE(model.AnimationTool().View()->TeamTable(), &model.Editor().ShownTable());
        DragBarTo(dialog.bar(), 20);
        QCOMPARE(model.Editor().Colours().selection[4], std::uint8_t{20});
    }
    // The second window went with the dialog, and its keys with it.
    QVERIFY(second.isNull());
    QCOMPARE(tools.keys().Target(KeySlot::SecondAnimation), nullptr);
    QCOMPARE(unit->document().Data().teamColours.selection[4], std::uint8_t{16});
}

void TeamColourDialogsTest::TheBuildingDialogEditsTheTableTheListShows() {
    QTemporaryDir scratch;
    const std::filesystem::path root = scratch.path().toStdString();
    ScriptedPlatform platform(root);
    BuildingRecord record =
        MakeBuildingRecord(std::vector<Pixel555>(64 * 32, 0x0210),
                           std::vector<std::uint8_t>(64 * 32, 255), 64, 32, 0, 0, 64, 32);
    record.teamIndex.assign(64 * 32, 5);
    record.teamMask.assign(64 * 32, 255);
    TeamColours colours;
    for (int k = 0; k < kTeamColourTableCount; ++k) {
        colours.tables[k].fill(static_cast<Pixel555>((k + 1) << 10));
    }
    WriteTeamColourFile(root / "saved.UTC", colours);

    CBuildTeamColourDlg model(platform.Get(), record, colours, BuildTeamColourDialog::kPreviewWidth,
                              BuildTeamColourDialog::kPreviewHeight);
    BuildTeamColourDialog dialog(nullptr, model);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.list()->count(), 10);
    dialog.list()->setCurrentIndex(3);
    QCOMPARE(model.Editor().CurrentTable(), 3);
    // The preview shows the building's team pixels in table 3.
    const QImage shown = dialog.preview()->grab().toImage();
    const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    QCOMPARE(centre.red() / 8, 4); // 5-bit red 4, widened to 8 bits
    QCOMPARE(centre.green(), 0);
    QCOMPARE(centre.blue(), 0);

    platform.prompts.fileAnswers.push_back(root / "saved.utc");
    model.OnCommand(TeamColourEditor::kBuildingLoad);
    // After Load the list shows table 0, and a drag edits table 0.
    QCOMPARE(dialog.list()->currentIndex(), 0);
    DragBarTo(dialog.bar(), 7);
    QCOMPARE(model.Editor().Colours().selection[0], std::uint8_t{7});
    QCOMPARE(model.Editor().Colours().selection[3], std::uint8_t{16});
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::TeamColourDialogsTest)
#include "TeamColourDialogsTest.moc"
