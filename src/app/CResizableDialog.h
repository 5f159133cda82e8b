#pragma once

#include "platform/AnchorLayout.h"

#include <QDialog>
#include <cstdint>
#include <vector>

namespace fenwold {

// A dialog the user may resize. Its controls are placed by hand in client coordinates; the ones
// given an anchor follow the window's edges or stay centred (AnchorFlags), each resize working
// from the last layout. The first size the window gets, when it is shown, moves nothing.
class CResizableDialog : public QDialog {
public:
    explicit CResizableDialog(QWidget* parent);

    // Anchors a child control as it stands now; call once the control is in its first place.
    void AddAnchor(QWidget* control, std::uint32_t flags);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    AnchorLayout layout_;
    std::vector<QWidget*> controls_; // indexed by the anchor's control id
};

} // namespace fenwold
