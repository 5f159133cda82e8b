#pragma once

#include "app/CMainFrame.h"
#include "app/DocumentFrames.h"
#include "app/UnitViews.h"
#include "image/FrameStreams.h"
#include "unit/AnimationListEdit.h"
#include "unit/UnitDoc.h"
#include "vq/CompressionRun.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWidget>

namespace fenwold::test {

class QuietProgress final : public CompressionProgress {
public:
    void ShowText(ProgressField, std::string_view) override {}
    void ShowBar(ProgressBar, int) override {}
};

// Compresses two animations of solid red and blue frames, 8 x 6 pixels, two frames and two
// entries each, into the unit, as a finished "VQ Compute" leaves them. False when the unit
// refused the result.
inline bool CompressRedAndBlue(CUnitDoc& document) {
    RegisteredAnimations animations;
    for (const Pixel555 colour : {Pixel555{0x7C00}, Pixel555{0x001F}}) {
        RegisteredAnimation& animation = animations.emplace_back();
        animation.width = 8;
        animation.height = 6;
        animation.frameCount = 2;
        animation.sequenceLength = 2;
        animation.frameNumber[1] = 1;
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
    return document.AcceptCompressionResult(
        CompressAnimations(RefsTo(animations), parameters, 1, progress));
}

// A unit window holding the red and blue compressed animations.
inline CUnitFrame* OpenCompressedUnit(CMainFrame& frame) {
    CUnitFrame* unit = frame.NewUnitDocument();
    CompressRedAndBlue(unit->document());
    unit->showMaximized();
    return unit;
}

// Clicks the first frame of the animation at `position` in the unit view.
inline void ClickAnimation(CUnitFrame& unit, int position,
                           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    UnitViewWidget& view = unit.unitView();
    const GridCell* cell = view.view().Grid().CellOf(position, 0);
    QVERIFY(cell != nullptr);
    const QPoint at(cell->x + 2, cell->y + 2 - view.verticalScrollBar()->value());
    // Sent, not moved: the pointer may already rest there from an earlier test.
    QMouseEvent move(QEvent::MouseMove, at, view.viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, at);
}

inline QPushButton* ButtonNamed(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

} // namespace fenwold::test
