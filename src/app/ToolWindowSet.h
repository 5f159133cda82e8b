#pragma once

#include "platform/Platform.h"
#include "unittools/CAnimationDlg.h"
#include "unittools/CAnimationEditDlg.h"
#include "unittools/CCheckBoxDlg.h"
#include "unittools/CSetAnimationPointDlg.h"
#include "unittools/KeyRouting.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <array>
#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

namespace fenwold {

class ToolDialogWindow;

// Maps a Qt key to the key code the tool windows take (0 for keys they do not know).
int ToolKeyOf(const QKeyEvent& event);

// The main frame's tool windows: the tools' objects, which live as long as the main frame, and
// their windows, which exist from one Tools command to the next. It routes the keys aimed at the
// windows that take raw keys before Qt dispatches them (an event filter on the application) and
// says when a window opened or closed, so that the Tools menu's check marks follow.
class ToolWindowSet final : public QObject {
public:
    // `changed` is called whenever a tool window opened or closed.
    ToolWindowSet(QWidget* frame, ToolHub& hub, Platform platform, std::function<void()> changed);
    ~ToolWindowSet() override;

    // The Tools command: closes the tool's window when it is open, opens it otherwise.
    void Toggle(ToolWindow tool);
    // The open window of the tool, or null.
    QWidget* Window(ToolWindow tool) const;

    CAnimationDlg& animation() { return animation_; }
    CCheckBoxDlg& checkBox() { return checkBox_; }
    CSetAnimationPointDlg& originPoint() { return originPoint_; }
    CAnimationEditDlg& animationEdit() { return animationEdit_; }
    KeyRouter& keys() { return keys_; }
    ToolHub& hub() { return hub_; }
    // The team colour dialog's animation window, to which the keys of its slot are routed (null
    // when it went).
    void SetSecondAnimationWindow(QWidget* window) { secondAnimation_ = window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* WindowOf(KeySlot slot) const;
    void Opened(ToolWindow tool, ToolDialogWindow* window);
    // Where a tool's window first shows: the animation and check box windows down the screen's
    // right edge, the origin-point window left of them at the top, the edit window at the bottom.
    QRect FirstPlace(ToolWindow tool, QSize size) const;

    QWidget* frame_;
    ToolHub& hub_;
    std::function<void()> changed_;
    KeyRouter keys_;
    CAnimationDlg animation_;
    CCheckBoxDlg checkBox_;
    CSetAnimationPointDlg originPoint_;
    CAnimationEditDlg animationEdit_;
    std::array<QPointer<QWidget>, kToolWindowCount> windows_;
    QPointer<QWidget> secondAnimation_;
    std::array<std::optional<QRect>, kToolWindowCount> places_;
    // The key message last routed and the widget it was aimed at.
    struct RoutedKey {
        const QEvent* event = nullptr;
        QEvent::Type type = QEvent::None;
        quint64 timestamp = 0;
        QPointer<QWidget> target;
    };
    RoutedKey lastRouted_;
};

} // namespace fenwold
