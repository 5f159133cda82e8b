#pragma once

#include "unittools/SequenceValueDialogs.h"
#include "unittools/ToolDialog.h"

namespace fenwold {

// The animation edit window around its panes: the value dialogs it runs (each returns whether
// it closed with OK) and the repaint of both panes.
class AnimationEditHost : public ToolWindowHost {
public:
    virtual bool RunSetDelayDialog(CSetDelayDlg& dialog) = 0;
    virtual bool RunSetAttribDialog(CSetAttribDlg& dialog) = 0;
    virtual bool RunSetAlphaValueDialog(CSetAlphaValueDlg& dialog) = 0;
    // Both panes are laid out and drawn again.
    virtual void Repaint() = 0;

protected:
    ~AnimationEditHost() = default;
};

} // namespace fenwold
