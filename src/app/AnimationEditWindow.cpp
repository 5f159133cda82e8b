#include "app/AnimationEditWindow.h"

#include "app/CommandMenu.h"
#include "app/DialogButtons.h"

#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace fenwold {
namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, std::max(r.width(), 0), std::max(r.height(), 0));
}

bool RunValueDialog(QWidget* parent, SequenceValueDialog& model) {
    return SequenceValueWindow(parent, model).exec() == QDialog::Accepted;
}

} // namespace

SequenceValueWindow::SequenceValueWindow(QWidget* parent, SequenceValueDialog& model)
    : QDialog(parent), model_(model), edit_(new QLineEdit(QString::number(model.value), this)) {
    setWindowTitle(ToQt(model.Caption()));
    edit_->selectAll();
    auto* form = new QFormLayout;
    form->addRow(ToQt(model.Label()), edit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
}

void SequenceValueWindow::accept() {
    if (const auto refused = model_.Accept(edit_->text().toStdString())) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(*refused));
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    QDialog::accept();
}

FramePaneWidget::FramePaneWidget(QWidget* parent, CAnimationEditDlg& dialog)
    : FrameViewWidget(parent, dialog.TopPane()), dialog_(dialog) {}

void FramePaneWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        MouseMoved(at.x(), at.y());
        dialog_.OnTopPaneClick();
    }
}

SequencePaneWidget::SequencePaneWidget(QWidget* parent, CAniEditView2& pane)
    : FrameViewWidget(parent, &pane) {}

void SequencePaneWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        DeferredWindowPainter window;
        view_->OnLeftButtonDown(at.x(), at.y(), event->modifiers().testFlag(Qt::ShiftModifier),
                                window);
        viewport()->update();
    }
}

void SequencePaneWidget::RunContextMenu(QPoint globalPosition) {
    if (const auto chosen = ExecCommandMenu(this, view_->ContextMenu(), globalPosition)) {
        view_->OnCommand(*chosen);
    }
}

AnimationEditWindow::AnimationEditWindow(QWidget* parent, CAnimationEditDlg& dialog)
    : ToolDialogWindow(parent), dialog_(dialog) {
    setWindowTitle(CAnimationEditDlg::kCaption);
    dialog_.OnCreate(*this);
    top_ = new FramePaneWidget(this, dialog_);
    bottom_ = new SequencePaneWidget(this, *dialog_.BottomPane());
    resize(520, 420);
}

AnimationEditWindow::~AnimationEditWindow() {
    // The panes' windows go before the panes they show.
    delete top_;
    delete bottom_;
    dialog_.OnDestroy();
}

void AnimationEditWindow::resizeEvent(QResizeEvent* event) {
    ToolDialogWindow::resizeEvent(event);
    const auto panes = CAnimationEditDlg::LayOutPanes(width(), height());
    top_->setGeometry(ToQRect(panes.top));
    bottom_->setGeometry(ToQRect(panes.bottom));
}

void AnimationEditWindow::Repaint() {
    top_->Refresh();
    bottom_->Refresh();
}

bool AnimationEditWindow::RunSetDelayDialog(CSetDelayDlg& dialog) {
    return RunValueDialog(this, dialog);
}

bool AnimationEditWindow::RunSetAttribDialog(CSetAttribDlg& dialog) {
    return RunValueDialog(this, dialog);
}

bool AnimationEditWindow::RunSetAlphaValueDialog(CSetAlphaValueDlg& dialog) {
    return RunValueDialog(this, dialog);
}

} // namespace fenwold
