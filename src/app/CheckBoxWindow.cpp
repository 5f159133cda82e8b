#include "app/CheckBoxWindow.h"

#include "app/PreviewCanvasWidget.h"

#include <QLabel>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QSpinBox>

namespace fenwold {
namespace {

constexpr int kControlsHeight = 60;
// Window timers fire at most every 10 ms, as Windows' USER_TIMER_MINIMUM has it: the view's 2 ms
// timer runs at that period, which still shows the frames faster than a screen refreshes.
constexpr int kShortestTimer = 10;

QSpinBox* MakeSpin(QWidget* parent, int maximum) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(1, maximum);
    // The arrows and Enter belong to the box; a spin takes keys once it is clicked.
    spin->setFocusPolicy(Qt::ClickFocus);
    return spin;
}

} // namespace

CheckBoxWindow::CheckBoxWindow(QWidget* parent, CCheckBoxDlg& dialog)
    : ToolDialogWindow(parent), dialog_(dialog),
      canvas_(new PreviewCanvasWidget(
          this,
          [this]() -> const PreviewCanvas* {
              CCheckBoxView* view = dialog_.View();
              return view != nullptr ? &view->Canvas() : nullptr;
          },
          [this] { return dialog_.Scale(); })),
      xText_(new QLabel(this)), yText_(new QLabel(this)), widthText_(new QLabel(this)),
      heightText_(new QLabel(this)), scaleText_(new QLabel(this)),
      width_(MakeSpin(this, CCheckBoxDlg::kMaximumCells)),
      height_(MakeSpin(this, CCheckBoxDlg::kMaximumCells)),
      scale_(MakeSpin(this, CCheckBoxDlg::kMaximumScale)) {
    constexpr int kWidth = 420;
    constexpr int kHeight = 300 + kControlsHeight;
    resize(kWidth, kHeight);
    canvas_->setGeometry(0, 0, kWidth, kHeight - kControlsHeight);
    // Two rows under the canvas, each a label, a text and a spin where there is one.
    const int row1 = kHeight - 54;
    const int row2 = kHeight - 26;
    const auto place = [this](QWidget* control, int x, int y, int w) {
        control->setGeometry(x, y, w, 22);
        AddAnchor(control, kMoveWithBottom);
    };
    place(new QLabel("X:", this), 8, row1, 24);
    place(xText_, 34, row1, 56);
    place(new QLabel("Y:", this), 96, row1, 24);
    place(yText_, 122, row1, 56);
    place(new QLabel("Scale:", this), 186, row1, 44);
    place(scale_, 232, row1, 52);
    place(scaleText_, 290, row1, 40);
    place(new QLabel("Width:", this), 8, row2, 48);
    place(width_, 58, row2, 60);
    place(widthText_, 122, row2, 40);
    place(new QLabel("Height:", this), 186, row2, 52);
    place(height_, 240, row2, 60);
    place(heightText_, 304, row2, 40);
    connect(width_, &QSpinBox::valueChanged, this,
            [this](int value) { dialog_.OnWidthSpin(value); });
    connect(height_, &QSpinBox::valueChanged, this,
            [this](int value) { dialog_.OnHeightSpin(value); });
    connect(scale_, &QSpinBox::valueChanged, this,
            [this](int value) { dialog_.OnScaleSpin(value); });
    timer_.setInterval(std::max(CCheckBoxView::kTimerMilliseconds, kShortestTimer));
    connect(&timer_, &QTimer::timeout, this, [this] { dialog_.Tick(); });
    dialog_.OnCreate(*this);
    ShowState();
    canvas_->setFocus();
}

CheckBoxWindow::~CheckBoxWindow() {
    timer_.stop();
    dialog_.OnDestroy();
}

void CheckBoxWindow::resizeEvent(QResizeEvent* event) {
    ToolDialogWindow::resizeEvent(event);
    canvas_->setGeometry(0, 0, width(), std::max(height() - kControlsHeight, 0));
}

QString CheckBoxWindow::text(int which) const {
    const QLabel* texts[] = {xText_, yText_, widthText_, heightText_, scaleText_};
    return texts[which]->text();
}

void CheckBoxWindow::ShowState() {
    setWindowTitle(QString::fromStdString(dialog_.Title()));
    const CCheckBoxDlg::Box& box = dialog_.Current();
    xText_->setText(QString::fromStdString(CCheckBoxDlg::NumberText(box.x)));
    yText_->setText(QString::fromStdString(CCheckBoxDlg::NumberText(box.y)));
    widthText_->setText(QString::fromStdString(CCheckBoxDlg::NumberText(box.width)));
    heightText_->setText(QString::fromStdString(CCheckBoxDlg::NumberText(box.height)));
    scaleText_->setText(QString::fromStdString(dialog_.ScaleText()));
    {
        const QSignalBlocker blockWidth(width_);
        const QSignalBlocker blockHeight(height_);
        const QSignalBlocker blockScale(scale_);
        width_->setValue(box.width);
        height_->setValue(box.height);
        scale_->setValue(dialog_.Scale());
    }
    // Nothing moves on the canvas without an animation: the timer rests.
    const bool playing = dialog_.WantsTicks();
    if (playing != timer_.isActive()) {
        playing ? timer_.start() : timer_.stop();
    }
    canvas_->update();
}

void CheckBoxWindow::RepaintCanvas() {
    canvas_->update();
}

} // namespace fenwold
