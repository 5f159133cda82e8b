#pragma once

#include "platform/CommandTable.h"

#include <QPoint>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace fenwold {

// Shows a view's menu at a screen position (an item of command 0 is a separator) and returns
// the command chosen, if any. Commands for which `unavailable` says true are shown greyed with a
// "not available yet" tip whatever the view says (windows that are not part of the program yet).
std::optional<int> ExecCommandMenu(QWidget* parent, const std::vector<MenuItem>& items, QPoint at,
                                   const std::function<bool(int)>& unavailable = {});

} // namespace fenwold
