#pragma once

#include "app/CResizableDialog.h"

#include <QCloseEvent>
#include <optional>

namespace fenwold {

// The window of a tool: modeless, destroyed when it closes (by its close box, or Esc where the
// tool does not take Esc itself), which tells its tool. Where it was is kept for its next
// showing.
class ToolDialogWindow : public CResizableDialog {
public:
    explicit ToolDialogWindow(QWidget* parent) : CResizableDialog(parent) {
        setAttribute(Qt::WA_DeleteOnClose);
    }
    ~ToolDialogWindow() override {
        if (place_ != nullptr) {
            *place_ = geometry();
        }
    }

    // Shows the window where it was last (or at `first`), and keeps its place there when it goes.
    void ShowAt(std::optional<QRect>& place, const QRect& first) {
        place_ = &place;
        setGeometry(place.value_or(first));
        show();
    }

protected:
    void reject() override { close(); }
    void closeEvent(QCloseEvent* event) override { event->accept(); }

private:
    std::optional<QRect>* place_ = nullptr;
};

} // namespace fenwold
