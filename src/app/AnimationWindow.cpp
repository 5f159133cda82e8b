#include "app/AnimationWindow.h"

#include "app/CommandMenu.h"
#include "app/PreviewCanvasWidget.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

namespace fenwold {
namespace {

constexpr int kControlsHeight = 50;

} // namespace

AnimationWindow::AnimationWindow(QWidget* parent, CAnimationDlg& dialog)
    : ToolDialogWindow(parent), dialog_(dialog),
      canvas_(new PreviewCanvasWidget(
          this,
          [this]() -> const PreviewCanvas* {
              CAnimationView* view = dialog_.View();
              return view != nullptr ? &view->Canvas() : nullptr;
          },
          [this] { return dialog_.Zoom(); })),
      slider_(new QSlider(Qt::Horizontal, this)), zoom_(new QSpinBox(this)),
      zoomText_(new QLabel(this)), positionText_(new QLabel(this)) {
    setWindowTitle(CAnimationDlg::kCaption);
    constexpr int kWidth = 440;
    constexpr int kHeight = 300 + kControlsHeight;
    resize(kWidth, kHeight);
    canvas_->setGeometry(0, 0, kWidth, kHeight - kControlsHeight);

    // The buttons, the slider and the zoom in one row; the position text under it, centred.
    const int row = kHeight - 46;
    const struct {
        int id;
        const char* caption;
        QStyle::StandardPixmap icon;
    } kButtons[] = {
        {CAnimationDlg::kBackButton, "Back", QStyle::SP_MediaSeekBackward},
        {CAnimationDlg::kPlayButton, "Play", QStyle::SP_MediaPlay},
        {CAnimationDlg::kStopButton, "Stop", QStyle::SP_MediaStop},
        {CAnimationDlg::kNextButton, "Next", QStyle::SP_MediaSeekForward},
    };
    int x = 6;
    for (const auto& entry : kButtons) {
        auto* button = new QToolButton(this);
        button->setIcon(style()->standardIcon(entry.icon));
        button->setText(entry.caption);
        button->setToolTip(entry.caption);
        button->setAccessibleName(entry.caption);
        button->setGeometry(x, row, 28, 24);
        AddAnchor(button, kMoveWithBottom);
        connect(button, &QToolButton::clicked, this,
                [this, id = entry.id] { dialog_.OnCommand(id); });
        buttons_.emplace_back(entry.id, button);
        x += 32;
    }
    slider_->setGeometry(x + 4, row, kWidth - x - 104, 24);
    AddAnchor(slider_, kMoveWithBottom | kStretchWithRight);
    zoomText_->setGeometry(kWidth - 92, row, 28, 24);
    AddAnchor(zoomText_, kMoveWithRight | kMoveWithBottom);
    zoom_->setRange(1, CAnimationDlg::kMaximumZoom);
    zoom_->setGeometry(kWidth - 62, row, 56, 24);
    AddAnchor(zoom_, kMoveWithRight | kMoveWithBottom);
    positionText_->setAlignment(Qt::AlignCenter);
    positionText_->setGeometry(kWidth / 2 - 60, kHeight - 20, 120, 18);
    AddAnchor(positionText_, kMoveWithBottom | kCentreHorizontally);

    connect(slider_, &QSlider::valueChanged, this, [this](int value) { dialog_.OnSlider(value); });
    connect(zoom_, &QSpinBox::valueChanged, this, [this](int value) { dialog_.OnZoomSpin(value); });
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTimerMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { dialog_.Tick(); });
    dialog_.OnCreate(*this);
    ShowState();
    canvas_->setFocus();
}

AnimationWindow::~AnimationWindow() {
    timer_.stop();
    dialog_.OnDestroy();
}

QAbstractButton* AnimationWindow::button(int id) const {
    for (const auto& [buttonId, button] : buttons_) {
        if (buttonId == id) {
            return button;
        }
    }
    return nullptr;
}

QString AnimationWindow::positionText() const {
    return positionText_->text();
}

QString AnimationWindow::zoomText() const {
    return zoomText_->text();
}

void AnimationWindow::resizeEvent(QResizeEvent* event) {
    ToolDialogWindow::resizeEvent(event);
    canvas_->setGeometry(0, 0, width(), std::max(height() - kControlsHeight, 0));
}

void AnimationWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (const auto chosen = ExecCommandMenu(this, dialog_.ContextMenu(), event->globalPos())) {
        dialog_.OnCommand(*chosen);
    }
}

void AnimationWindow::ShowState() {
    {
        const QSignalBlocker blockSlider(slider_);
        const QSignalBlocker blockZoom(zoom_);
        slider_->setRange(0, dialog_.SliderMaximum());
        slider_->setValue(dialog_.SliderPosition());
        zoom_->setValue(dialog_.Zoom());
    }
    zoomText_->setText(QString::fromStdString(dialog_.ZoomText()));
    positionText_->setText(QString::fromStdString(dialog_.PositionText()));
    const bool playing = dialog_.WantsTicks();
    if (playing != timer_.isActive()) {
        playing ? timer_.start() : timer_.stop();
    }
}

void AnimationWindow::RepaintCanvas() {
    canvas_->update();
}

} // namespace fenwold
