#include "app/AlphaChangeWindow.h"

#include "app/PreviewCanvasWidget.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QSpinBox>

namespace fenwold {
namespace {

// Window timers fire at most every 10 ms: the preview's 2 ms timer runs at that period.
constexpr int kShortestTimer = 10;

} // namespace

AlphaChangeWindow::AlphaChangeWindow(QWidget* parent, CAlphaValueChangeDlg& dialog)
    : CResizableDialog(parent), dialog_(dialog),
      canvas_(new PreviewCanvasWidget(
          this, [this] { return &dialog_.View().Canvas(); },
          [this] { return dialog_.View().Zoom(); })),
      alphaSpin_(new QSpinBox(this)), alphaEdit_(new QLineEdit(this)), scope_(new QComboBox(this)),
      zoom_(new QSpinBox(this)), zoomText_(new QLabel(this)) {
    setWindowTitle(CAlphaValueChangeDlg::kCaption);
    constexpr int kWidth = 400 + kRightStrip;
    constexpr int kHeight = 300;
    resize(kWidth, kHeight);
    canvas_->setGeometry(0, 0, kWidth - kRightStrip, kHeight);

    const int x = kWidth - kRightStrip + 4;
    const int w = kRightStrip - 8;
    int y = 6;
    const auto place = [&](QWidget* control, int height = 24) {
        control->setGeometry(x, y, w, height);
        AddAnchor(control, kMoveWithRight);
        y += height + 6;
    };
    place(new QLabel("Alpha:", this), 18);
    alphaSpin_->setRange(0, 255);
    alphaSpin_->setValue(dialog_.AlphaValue());
    place(alphaSpin_);
    alphaEdit_->setText(QString::number(dialog_.AlphaValue()));
    place(alphaEdit_);
    for (const char* text : CAlphaValueChangeDlg::kScopeTexts) {
        scope_->addItem(text);
    }
    scope_->setCurrentIndex(CAlphaValueChangeDlg::kScopeTotal);
    place(scope_);
    zoom_->setRange(1, CAlphaValueChangeDlg::kMaximumZoom);
    place(zoom_);
    zoomText_->setText(QString::fromStdString(dialog_.ZoomText()));
    place(zoomText_, 18);
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    ok->setDefault(true);
    place(ok);
    place(cancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(alphaSpin_, &QSpinBox::valueChanged, this, [this](int value) {
        dialog_.OnAlphaSpin(value);
        const QSignalBlocker block(alphaEdit_);
        alphaEdit_->setText(QString::number(value));
    });
    connect(alphaEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        dialog_.OnAlphaText(text.toStdString());
        const QSignalBlocker block(alphaSpin_);
        alphaSpin_->setValue(dialog_.View().AlphaValue());
    });
    connect(zoom_, &QSpinBox::valueChanged, this, [this](int value) {
        dialog_.OnZoomSpin(value);
        zoomText_->setText(QString::fromStdString(dialog_.ZoomText()));
        canvas_->update();
    });
    timer_.setInterval(std::max(CAlphaChangeView::kTimerMilliseconds, kShortestTimer));
    connect(&timer_, &QTimer::timeout, this, [this] {
        dialog_.View().Tick();
        canvas_->update();
    });
    timer_.start();
}

void AlphaChangeWindow::accept() {
    // The value and the scope are read as they stand, whatever has the focus.
    if (const auto refused =
            dialog_.Accept(alphaEdit_->text().toStdString(), scope_->currentIndex())) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(*refused));
        alphaEdit_->setFocus();
        return;
    }
    CResizableDialog::accept();
}

void AlphaChangeWindow::resizeEvent(QResizeEvent* event) {
    CResizableDialog::resizeEvent(event);
    canvas_->setGeometry(0, 0, std::max(width() - kRightStrip, 0), height());
}

} // namespace fenwold
