#include "app/CResizableDialog.h"

#include <QPushButton>
#include <QTest>

namespace fenwold {
namespace {

struct Placed {
    QPushButton* control;
    QRect start;
};

class ResizableDialogTest : public QObject {
    Q_OBJECT

private slots:
    void AnchoredControlsFollowTheWindow();
    void ShrinkingBelowTheControlsAndGrowingBackRestoresThem();
};

// Resizes the shown window and waits until it has taken the size.
void ResizeTo(QWidget& window, int width, int height) {
    window.resize(width, height);
    QTRY_COMPARE(window.size(), QSize(width, height));
    QCoreApplication::processEvents();
}

void ResizableDialogTest::AnchoredControlsFollowTheWindow() {
    CResizableDialog dialog(nullptr);
    const auto place = [&](QRect where, std::uint32_t flags) {
        auto* control = new QPushButton(&dialog);
        control->setGeometry(where);
        if (flags != 0) {
            dialog.AddAnchor(control, flags);
        }
        return control;
    };
    QPushButton* right = place({200, 10, 60, 20}, kMoveWithRight);
    QPushButton* bottom = place({10, 150, 60, 20}, kMoveWithBottom);
    QPushButton* stretched = place({10, 40, 100, 50}, kStretchWithRight | kStretchWithBottom);
    QPushButton* movedAndStretched = place({120, 100, 50, 20}, kMoveWithRight | kStretchWithRight);
    QPushButton* centredAcross = place({0, 120, 51, 20}, kCentreHorizontally);
    QPushButton* centredDown = place({250, 0, 30, 21}, kCentreVertically);
    QPushButton* corner = place({240, 170, 50, 20}, kMoveWithRight | kMoveWithBottom);
    QPushButton* loose = place({5, 5, 30, 20}, 0);
    dialog.resize(300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // The first size the window gets moves nothing, even the centred controls.
    QCOMPARE(centredAcross->geometry(), QRect(0, 120, 51, 20));
    QCOMPARE(centredDown->geometry(), QRect(250, 0, 30, 21));

    ResizeTo(dialog, 340, 231); // dx 40, dy 31
    QCOMPARE(right->geometry(), QRect(240, 10, 60, 20));
    QCOMPARE(bottom->geometry(), QRect(10, 181, 60, 20));
    QCOMPARE(stretched->geometry(), QRect(10, 40, 140, 81));
    // Move and stretch together: the left edge by dx, the right edge by twice dx.
    QCOMPARE(movedAndStretched->geometry(), QRect(160, 100, 90, 20));
    // Halvings truncate: 340 / 2 - 51 / 2 = 145; 231 / 2 - 21 / 2 = 105.
    QCOMPARE(centredAcross->geometry(), QRect(145, 120, 51, 20));
    QCOMPARE(centredDown->geometry(), QRect(250, 105, 30, 21));
    QCOMPARE(corner->geometry(), QRect(280, 201, 50, 20));
    QCOMPARE(loose->geometry(), QRect(5, 5, 30, 20));

    ResizeTo(dialog, 300, 200);
    QCOMPARE(right->geometry(), QRect(200, 10, 60, 20));
    QCOMPARE(stretched->geometry(), QRect(10, 40, 100, 50));
    QCOMPARE(movedAndStretched->geometry(), QRect(120, 100, 50, 20));
    QCOMPARE(corner->geometry(), QRect(240, 170, 50, 20));
}

void ResizableDialogTest::ShrinkingBelowTheControlsAndGrowingBackRestoresThem() {
    CResizableDialog dialog(nullptr);
    auto* list = new QPushButton(&dialog);
    list->setGeometry(10, 10, 200, 100);
    dialog.AddAnchor(list, kStretchWithRight | kStretchWithBottom);
    auto* button = new QPushButton(&dialog);
    button->setGeometry(150, 120, 60, 20);
    dialog.AddAnchor(button, kMoveWithRight | kMoveWithBottom);
    dialog.resize(220, 150);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // Far smaller than the list: it has no room at all, then gets its size back step by step.
    ResizeTo(dialog, 20, 30);
    QCOMPARE(list->width(), 0);
    ResizeTo(dialog, 120, 90);
    ResizeTo(dialog, 220, 150);
    QCOMPARE(list->geometry(), QRect(10, 10, 200, 100));
    QCOMPARE(button->geometry(), QRect(150, 120, 60, 20));
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::ResizableDialogTest)
#include "ResizableDialogTest.moc"
