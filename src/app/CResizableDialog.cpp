#include "app/CResizableDialog.h"

#include <QResizeEvent>
#include <algorithm>

namespace fenwold {

CResizableDialog::CResizableDialog(QWidget* parent) : QDialog(parent) {
    setSizeGripEnabled(true);
}

void CResizableDialog::AddAnchor(QWidget* control, std::uint32_t flags) {
    const QRect place = control->geometry();
    layout_.Add(static_cast<std::uint32_t>(controls_.size()), flags,
                Rect{place.left(), place.top(), place.left() + place.width(),
                     place.top() + place.height()});
    controls_.push_back(control);
}

void CResizableDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    for (const AnchorLayout::Anchor& anchor :
         layout_.OnSize(event->size().width(), event->size().height())) {
        // The stored rectangle keeps its true size even when the window is smaller than the
        // control, so growing the window back restores the layout.
        const Rect& r = anchor.rect;
        controls_[anchor.controlId]->setGeometry(r.left, r.top, std::max(r.width(), 0),
                                                 std::max(r.height(), 0));
    }
}

} // namespace fenwold
