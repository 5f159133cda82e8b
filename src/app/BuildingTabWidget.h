#pragma once

#include "platform/CommandTable.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <functional>
#include <vector>

class QKeyEvent;

namespace fenwold {

class BuildingTabView;

// The virtual key of a key event for a building view: the tool windows' keys, Insert, Delete and
// the keypad's + and −; 0 for any other key. A and Z come as 'A' and 'Z' in either case; the
// keypad's digits and F11 are never letters.
int BuildingKeyOf(const QKeyEvent& event);

// What a building tab's window adds to its view: a context menu (its items now, and what runs
// the one chosen), and what follows every event the view took (the window's title may change).
struct BuildingTabHooks {
    std::function<std::vector<MenuItem>()> menuItems;
    std::function<void(int)> runCommand;
    std::function<void()> changed;
};

// The window of any building tab: the view's picture at its zoom, scroll bars over the
// enlarged picture, the mouse in picture coordinates (the scroll offset added, the zoom taken
// out), the keys as virtual keys (a held key repeats as further presses, never as releases),
// and the view's timer, which runs only while the window has the keyboard. It draws again after
// every event it hands on.
class BuildingTabWidget final : public QAbstractScrollArea {
public:
    BuildingTabWidget(QWidget* parent, BuildingTabView& view, BuildingTabHooks hooks = {});

    // The view's picture changed: new scroll range and a repaint.
    void Refresh();
    // Whether the view's timer runs now.
    bool TimerRunning() const { return timer_.isActive(); }
    // A point of the picture as the view meets it, from a point of the viewport.
    QPoint PicturePoint(QPoint viewportPoint) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void RunMenu(QPoint globalPosition);
    void UpdateScrollBars(int width, int height);

    BuildingTabView& view_;
    BuildingTabHooks hooks_;
    QBasicTimer timer_;
    int zoom_ = 1; // of the picture last shown
};

} // namespace fenwold
