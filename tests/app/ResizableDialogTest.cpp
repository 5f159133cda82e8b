#include "app/CResizableDialog.h"

#include <QPushButton>
#include <QTest>

namespace fenwold {
namespace {

class ResizableDialogTest : public QObject {
    Q_OBJECT

private slots:
    void AnchoredControlsFollowTheWindow();
};

// Resizes the shown window and waits until it has taken the size.
void ResizeTo(QWidget& window, int width, int height) {
    window.resize(width, height);
    QTRY_COMPARE(window.size(), QSize(width, height));
    QCoreApplication::processEvents();
}

// The layout's arithmetic for every flag is pinned with the layout; this checks the window
// applies it to its controls at each resize, and that a control with no room left shrinks to
// nothing.
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
    QPushButton* corner = place({240, 170, 50, 20}, kMoveWithRight | kMoveWithBottom);
    QPushButton* stretched = place({10, 40, 100, 50}, kStretchWithRight | kStretchWithBottom);
    QPushButton* centred = place({0, 120, 51, 20}, kCentreHorizontally);
    QPushButton* loose = place({5, 5, 30, 20}, 0);
    dialog.resize(300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    ResizeTo(dialog, 340, 231); // dx 40, dy 31
    QCOMPARE(corner->geometry(), QRect(280, 201, 50, 20));
    QCOMPARE(stretched->geometry(), QRect(10, 40, 140, 81));
    QCOMPARE(centred->geometry(), QRect(145, 120, 51, 20)); // 340 / 2 - 51 / 2
    QCOMPARE(loose->geometry(), QRect(5, 5, 30, 20));

    ResizeTo(dialog, 20, 30);
    QCOMPARE(stretched->width(), 0);
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::ResizableDialogTest)
#include "ResizableDialogTest.moc"
