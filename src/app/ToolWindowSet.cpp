#include "app/ToolWindowSet.h"

#include "app/AnimationEditWindow.h"
#include "app/AnimationWindow.h"
#include "app/CheckBoxWindow.h"
#include "app/OriginPointWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace fenwold {

int ToolKeyOf(const QKeyEvent& event) {
    const int qtKey = event.key();
    switch (qtKey) {
    case Qt::Key_Left:
        return key::kLeft;
    case Qt::Key_Right:
        return key::kRight;
    case Qt::Key_Up:
        return key::kUp;
    case Qt::Key_Down:
        return key::kDown;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return key::kEnter;
    case Qt::Key_Escape:
        return key::kEscape;
    case Qt::Key_PageUp:
        return key::kPageUp;
    case Qt::Key_PageDown:
        return key::kPageDown;
    case Qt::Key_Home:
        return key::kHome;
    case Qt::Key_End:
        return key::kEnd;
    case Qt::Key_Control:
        return key::kControl;
    case Qt::Key_Shift:
        return key::kShift;
    default:
        break;
    }
    // Digits and letters have their characters' codes in both.
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;
    }
    return 0;
}

ToolWindowSet::ToolWindowSet(QWidget* frame, ToolHub& hub, Platform platform,
                             std::function<void()> changed)
    : frame_(frame), hub_(hub), changed_(std::move(changed)), animation_(hub, keys_, platform),
      checkBox_(hub, keys_), originPoint_(hub, keys_), animationEdit_(hub, keys_) {
    qApp->installEventFilter(this);
}

ToolWindowSet::~ToolWindowSet() {
    qApp->removeEventFilter(this);
    for (const QPointer<QWidget>& window : windows_) {
        delete window.data();
    }
}

QWidget* ToolWindowSet::Window(ToolWindow tool) const {
    return windows_[static_cast<std::size_t>(tool)].data();
}

QRect ToolWindowSet::FirstPlace(ToolWindow tool, QSize size) const {
    const QScreen* screen = frame_->screen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const int right = area.right() + 1 - size.width();
    switch (tool) {
    case ToolWindow::Animation:
        return {QPoint(right, area.top()), size};
    case ToolWindow::CheckBox:
        return {QPoint(right, area.bottom() + 1 - size.height()), size};
    case ToolWindow::OriginPoint:
        return {QPoint(std::max(area.left(), right - 440), area.top()), size};
    case ToolWindow::AnimationEdit:
        break;
    }
    return {QPoint(std::max(area.left(), right - 440), area.bottom() + 1 - size.height()), size};
}

void ToolWindowSet::Opened(ToolWindow tool, ToolDialogWindow* window) {
    const auto slot = static_cast<std::size_t>(tool);
    windows_[slot] = window;
    // Destroyed by the Tools command, the hub or its own close box: the check marks follow.
    connect(window, &QObject::destroyed, this, [this] { changed_(); });
    window->ShowAt(places_[slot], FirstPlace(tool, window->size()));
    changed_();
}

void ToolWindowSet::Toggle(ToolWindow tool) {
    if (hub_.IsOpen(tool)) {
        hub_.Close(tool);
        return;
    }
    switch (tool) {
    case ToolWindow::Animation:
        Opened(tool, new AnimationWindow(frame_, animation_));
        break;
    case ToolWindow::CheckBox:
        Opened(tool, new CheckBoxWindow(frame_, checkBox_));
        break;
    case ToolWindow::AnimationEdit:
        Opened(tool, new AnimationEditWindow(frame_, animationEdit_));
        break;
    case ToolWindow::OriginPoint:
        Opened(tool, new OriginPointWindow(frame_, originPoint_));
        break;
    }
}

QWidget* ToolWindowSet::WindowOf(KeySlot slot) const {
    switch (slot) {
    case KeySlot::CheckBox:
        return Window(ToolWindow::CheckBox);
    case KeySlot::Animation:
        return Window(ToolWindow::Animation);
    case KeySlot::OriginPoint:
        return Window(ToolWindow::OriginPoint);
    case KeySlot::SecondAnimation:
        return secondAnimation_;
    }
    return nullptr;
}

bool ToolWindowSet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (target == nullptr) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    // A key goes to the widget it is aimed at and, when that widget does not take it, on to its
    // parents, through this filter again: it is routed once, where it was aimed.
    if (&key == lastRouted_.event && key.type() == lastRouted_.type &&
        key.timestamp() == lastRouted_.timestamp && lastRouted_.target != nullptr &&
        target != lastRouted_.target && target->isAncestorOf(lastRouted_.target)) {
        return false;
    }
    lastRouted_ = {&key, key.type(), key.timestamp(), target};
    const KeyPhase phase = event->type() == QEvent::KeyPress ? KeyPhase::Down : KeyPhase::Up;
    const KeyStroke stroke{ToolKeyOf(key), key.modifiers().testFlag(Qt::ControlModifier)};
    for (const KeySlot slot : kKeySlotOrder) {
        QWidget* window = WindowOf(slot);
        if (window != nullptr && (window == target || window->isAncestorOf(target))) {
            return keys_.Route(slot, phase, stroke, key.isAutoRepeat());
        }
    }
    return false;
}

} // namespace fenwold
