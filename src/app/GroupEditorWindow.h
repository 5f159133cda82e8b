#pragma once

#include "app/CResizableDialog.h"
#include "app/FrameListWidget.h"
#include "unittools/CSetGroupDlg.h"

#include <QTimer>

class QPushButton;

namespace fenwold {

// The cells of the group editor: the view's pictures and outlines; a click collects or selects.
class GroupCellsWidget final : public FrameViewWidget<CSetGroupView> {
public:
    GroupCellsWidget(QWidget* parent, CSetGroupView& view) : FrameViewWidget(parent, &view) {}

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// "Set group": the cells over "&Add" and "&Delete". It has no OK and no Cancel: its close box
// (or Esc) ends it, and the unit then takes the groups as they are.
class GroupEditorWindow final : public CResizableDialog {
public:
    static constexpr int kButtonStrip = 30;

    GroupEditorWindow(QWidget* parent, CSetGroupDlg& dialog);

    GroupCellsWidget* cells() const { return cells_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    const QTimer& timer() const { return timer_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CSetGroupDlg& dialog_;
    GroupCellsWidget* cells_;
    QPushButton* add_;
    QPushButton* delete_;
    QTimer timer_;
};

} // namespace fenwold
