#include "app/OriginPointWindow.h"

#include "app/PreviewCanvasWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace fenwold {
namespace {

// A number box's text as the tool takes it: a whole number, or nothing yet.
std::optional<long long> NumberOf(const QString& text) {
    bool ok = false;
    const long long number = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<long long>(number) : std::nullopt;
}

void ShowText(QLineEdit* edit, const std::string& text) {
    // Never under the user's typing: a number that names no animation stays as typed.
    if (!edit->hasFocus()) {
        const QSignalBlocker block(edit);
        edit->setText(QString::fromStdString(text));
    }
}

} // namespace

OriginPointWindow::OriginPointWindow(QWidget* parent, CSetAnimationPointDlg& dialog)
    : ToolDialogWindow(parent), dialog_(dialog),
      canvas_(new PreviewCanvasWidget(
          this,
          [this]() -> const PreviewCanvas* {
              CAniPointView* view = dialog_.View();
              return view != nullptr ? &view->Canvas() : nullptr;
          },
          [this] { return dialog_.Zoom(); })),
      backNumber_(new QLineEdit(this)), mainNumber_(new QLineEdit(this)),
      coordinates_(new QLabel(this)), zoomText_(new QLabel(this)), zoom_(new QSpinBox(this)),
      mode_(new QComboBox(this)), half_(new QCheckBox("Half", this)) {
    constexpr int kWidth = 400 + kRightStrip;
    constexpr int kHeight = 300 + kBottomStrip;
    resize(kWidth, kHeight);
    canvas_->setGeometry(0, 0, kWidth - kRightStrip, kHeight - kBottomStrip);

    // The right strip: "&P" (which does nothing), the back and the main animation's numbers.
    const int right = kWidth - kRightStrip + 4;
    auto* p = new QPushButton("&P", this);
    p->setFocusPolicy(Qt::NoFocus);
    const auto placeRight = [this, right](QWidget* control, int y, const char* tip) {
        control->setGeometry(right, y, kRightStrip - 8, 24);
        control->setToolTip(tip);
        control->setAccessibleName(tip);
        AddAnchor(control, kMoveWithRight);
    };
    placeRight(p, 6, "P");
    placeRight(backNumber_, 36, "Back animation");
    placeRight(mainNumber_, 66, "Main animation");
    for (QLineEdit* edit : {backNumber_, mainNumber_}) {
        // The arrows belong to the canvas; a number box takes keys once it is clicked.
        edit->setFocusPolicy(Qt::ClickFocus);
    }

    // The bottom strip: coordinates, zoom, point set and "Half".
    const int row = kHeight - kBottomStrip + 8;
    const auto placeBottom = [this, row](QWidget* control, int x, int w) {
        control->setGeometry(x, row, w, 24);
        AddAnchor(control, kMoveWithBottom);
    };
    placeBottom(coordinates_, 6, 90);
    placeBottom(zoomText_, 100, 28);
    zoom_->setRange(1, CSetAnimationPointDlg::kMaximumZoom);
    zoom_->setFocusPolicy(Qt::ClickFocus);
    placeBottom(zoom_, 130, 48);
    for (const char* text : CSetAnimationPointDlg::kModeTexts) {
        mode_->addItem(text);
    }
    mode_->setFocusPolicy(Qt::ClickFocus);
    placeBottom(mode_, 186, 96);
    half_->setFocusPolicy(Qt::ClickFocus);
    placeBottom(half_, 290, 64);

    connect(zoom_, &QSpinBox::valueChanged, this, [this](int value) { dialog_.OnZoomSpin(value); });
    connect(mode_, &QComboBox::activated, this, [this](int index) {
        dialog_.OnModeSelected(index);
        canvas_->setFocus(); // the arrows move the point again
    });
    connect(half_, &QCheckBox::toggled, this, [this](bool checked) { dialog_.OnHalf(checked); });
    connect(mainNumber_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (const auto number = NumberOf(text)) {
            dialog_.OnMainNumber(*number);
        }
    });
    connect(backNumber_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (const auto number = NumberOf(text)) {
            dialog_.OnBackNumber(*number);
        }
    });
    timer_.setInterval(CAniPointView::kTimerMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { dialog_.Tick(); });
    dialog_.OnCreate(*this);
    {
        const QSignalBlocker block(half_);
        half_->setChecked(dialog_.Half());
    }
    ShowState();
    canvas_->setFocus();
}

OriginPointWindow::~OriginPointWindow() {
    timer_.stop();
    dialog_.OnDestroy();
}

void OriginPointWindow::resizeEvent(QResizeEvent* event) {
    ToolDialogWindow::resizeEvent(event);
    canvas_->setGeometry(0, 0, std::max(width() - kRightStrip, 0),
                         std::max(height() - kBottomStrip, 0));
}

void OriginPointWindow::mousePressEvent(QMouseEvent* event) {
    // The canvas passes its clicks on: the right button steps to the next point.
    if (event->button() == Qt::RightButton && canvas_->geometry().contains(event->pos())) {
        dialog_.OnRightButton();
        canvas_->setFocus();
        return;
    }
    ToolDialogWindow::mousePressEvent(event);
}

void OriginPointWindow::changeEvent(QEvent* event) {
    ToolDialogWindow::changeEvent(event);
    // A key released while another window has the keyboard never reaches this one.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        dialog_.OnFocusLost();
    }
}

QString OriginPointWindow::coordinatesText() const {
    return coordinates_->text();
}

void OriginPointWindow::ShowState() {
    setWindowTitle(QString::fromStdString(dialog_.Title()));
    coordinates_->setText(QString::fromStdString(dialog_.CoordinatesText()));
    zoomText_->setText(QString::fromStdString(dialog_.ZoomText()));
    {
        const QSignalBlocker blockZoom(zoom_);
        const QSignalBlocker blockMode(mode_);
        zoom_->setValue(dialog_.Zoom());
        mode_->setCurrentIndex(dialog_.ModeIndex());
    }
    ShowText(mainNumber_, dialog_.MainNumberText());
    ShowText(backNumber_, dialog_.BackNumberText());
    const bool drawing = dialog_.WantsTicks();
    if (drawing != timer_.isActive()) {
        drawing ? timer_.start() : timer_.stop();
    }
    canvas_->update();
}

void OriginPointWindow::RepaintCanvas() {
    coordinates_->setText(QString::fromStdString(dialog_.CoordinatesText()));
    canvas_->update();
}

} // namespace fenwold
