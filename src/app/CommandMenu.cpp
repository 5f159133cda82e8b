#include "app/CommandMenu.h"

#include <QMenu>

namespace fenwold {

std::optional<int> ExecCommandMenu(QWidget* parent, const std::vector<MenuItem>& items, QPoint at,
                                   const std::function<bool(int)>& unavailable) {
    QMenu menu(parent);
    for (const MenuItem& item : items) {
        if (item.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(item.text));
        action->setData(item.command);
        const bool notYet = unavailable && unavailable(item.command);
        action->setEnabled(item.enabled && !notYet);
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (notYet) {
            action->setToolTip("not available yet");
        }
    }
    if (QAction* chosen = menu.exec(at)) {
        return chosen->data().toInt();
    }
    return std::nullopt;
}

} // namespace fenwold
