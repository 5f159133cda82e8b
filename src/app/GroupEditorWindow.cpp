#include "app/GroupEditorWindow.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>

namespace fenwold {
namespace {

// Window timers fire at most every 10 ms: the view's 6 ms timer runs at that period.
constexpr int kShortestTimer = 10;

} // namespace

void GroupCellsWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        view_->OnMouseMove(at.x(), at.y());
        view_->OnLeftButtonDown();
        viewport()->update();
    }
}

GroupEditorWindow::GroupEditorWindow(QWidget* parent, CSetGroupDlg& dialog)
    : CResizableDialog(parent), dialog_(dialog), cells_(new GroupCellsWidget(this, dialog.View())),
      add_(new QPushButton(CSetGroupDlg::kAddText, this)),
      delete_(new QPushButton(CSetGroupDlg::kDeleteText, this)) {
    setWindowTitle(CSetGroupDlg::kCaption);
    constexpr int kWidth = 560;
    constexpr int kHeight = 400;
    resize(kWidth, kHeight);
    cells_->setGeometry(0, 0, kWidth, kHeight - kButtonStrip);
    add_->setGeometry(8, kHeight - kButtonStrip + 3, 80, 24);
    delete_->setGeometry(96, kHeight - kButtonStrip + 3, 80, 24);
    add_->setAutoDefault(false);
    delete_->setAutoDefault(false);
    AddAnchor(add_, kMoveWithBottom);
    AddAnchor(delete_, kMoveWithBottom);
    connect(add_, &QPushButton::clicked, this, [this] {
        dialog_.OnAdd();
        cells_->Refresh();
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        dialog_.OnDelete();
        cells_->Refresh();
    });
    timer_.setInterval(std::max(CSetGroupView::kTimerMilliseconds, kShortestTimer));
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (dialog_.View().Tick()) {
            cells_->viewport()->update();
        }
    });
    timer_.start();
}

void GroupEditorWindow::resizeEvent(QResizeEvent* event) {
    CResizableDialog::resizeEvent(event);
    cells_->setGeometry(0, 0, width(), std::max(height() - kButtonStrip, 0));
    cells_->Refresh();
}

} // namespace fenwold
