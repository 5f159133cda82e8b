#pragma once

#include "app/CResizableDialog.h"

#include <QCloseEvent>

namespace fenwold {

// The window of a tool: modeless, destroyed when it closes (by its close box, or Esc where the
// tool does not take Esc itself), which tells its tool.
class ToolDialogWindow : public CResizableDialog {
public:
    explicit ToolDialogWindow(QWidget* parent) : CResizableDialog(parent) {
        setAttribute(Qt::WA_DeleteOnClose);
    }

protected:
    void reject() override { close(); }
    void closeEvent(QCloseEvent* event) override { event->accept(); }
};

} // namespace fenwold
