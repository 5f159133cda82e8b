#include "WindowFixtures.h"
#include "app/AlphaChangeWindow.h"
#include "app/GroupEditorWindow.h"
#include "vq/RowEncoding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace fenwold {
namespace {

using test::OpenCompressedUnit;

class EditingDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void TheGroupEditorsClicksAndButtonsMakeAGroupTheUnitTakes();
    void TheAlphaDialogTakesTheTextAndTheScopeAtOk();
};

void ClickCell(GroupCellsWidget& cells, int position) {
    const GridCell* cell = cells.view().Grid().CellOf(position, 0);
    QVERIFY(cell != nullptr);
    const QPoint at(cell->x + 2, cell->y + 2);
    QTest::mouseClick(cells.viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void EditingDialogsTest::TheGroupEditorsClicksAndButtonsMakeAGroupTheUnitTakes() {
    CMainFrame frame;
    frame.show();
    CUnitFrame* unitFrame = OpenCompressedUnit(frame);
    CUnitDoc& unit = unitFrame->document();
    unit.SetModifiedFlag(false);
    RunSetGroupCommand(unit, [](CSetGroupDlg& dialog) {
        GroupEditorWindow window(nullptr, dialog);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.timer().isActive());
        ClickCell(*window.cells(), 1);
        ClickCell(*window.cells(), 0);
        QCOMPARE(dialog.View().Pending(), (std::vector<int>{1, 0}));
        window.addButton()->click();
        QCOMPARE(dialog.View().Groups().size(), std::size_t{1});
        ClickCell(*window.cells(), 0);
        QCOMPARE(dialog.View().Selected(), std::optional<int>(0));
        window.deleteButton()->click();
        QVERIFY(dialog.View().Groups().empty());
        ClickCell(*window.cells(), 0);
        window.addButton()->click();
        window.close();
    });
    QCOMPARE(unit.Data().GroupCount(), 1);
    QCOMPARE(unit.Data().FindAnimation(0)->groupIndex, 0);
    QCOMPARE(unit.Data().FindAnimation(1)->groupIndex, -1);
    QVERIFY(unit.IsModified());
}

// Moves the spin, types a value past the range, then OK with 100 and "Ani".
void WorkAlphaWindow(AlphaChangeWindow& window, CAlphaValueChangeDlg& dialog) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.alphaEdit()->text(), QString("255"));
    window.alphaSpin()->setValue(30);
    QCOMPARE(window.alphaEdit()->text(), QString("30"));
    QCOMPARE(dialog.View().AlphaValue(), 30);
    window.alphaEdit()->clear();
    QTest::keyClicks(window.alphaEdit(), "999");
    QCOMPARE(dialog.View().AlphaValue(), 255); // the preview stays within range
    window.alphaEdit()->setText("100");
    window.scopeCombo()->setCurrentIndex(1); // Ani: the focus never left the combo
    window.accept();
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void EditingDialogsTest::TheAlphaDialogTakesTheTextAndTheScopeAtOk() {
    CMainFrame frame;
    frame.show();
    CUnitFrame* unitFrame = OpenCompressedUnit(frame);
    CUnitDoc& unit = unitFrame->document();
    const bool changed = RunAlphaValueChangeCommand(unit, 1, [](CAlphaValueChangeDlg& dialog) {
        AlphaChangeWindow window(nullptr, dialog);
        WorkAlphaWindow(window, dialog);
        return window.result() == QDialog::Accepted;
    });
    QVERIFY(changed);
    // Animation 1 only: its opaque pixels now hold 100, animation 0 keeps 255.
    const auto firstAlpha = [&](int position) {
        const UnitAnimation& animation = *unit.Data().FindAnimation(position);
        const AlphaTableNode& node = animation.alphaTables[0];
        const std::vector<std::uint8_t> plane =
            DecodeAlphaTable(node.bytes, node.width, node.height);
        return *std::max_element(plane.begin(), plane.end());
    };
    QCOMPARE(int(firstAlpha(1)), 100);
    QCOMPARE(int(firstAlpha(0)), 255);
    QVERIFY(unit.IsModified());
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::EditingDialogsTest)
#include "EditingDialogsTest.moc"
