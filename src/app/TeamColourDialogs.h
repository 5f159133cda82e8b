#pragma once

#include "building/CBuildTeamColourDlg.h"
#include "unittools/CTeamColourDlg.h"

#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace fenwold {

class AnimationWindow;
class ToolWindowSet;

// "Team color control": shows the bar's buffer and hands it the mouse.
class TeamColourBarWidget final : public QWidget {
public:
    static constexpr int kWidth = 320; // ten pixels a cell
    static constexpr int kHeight = 48;

    TeamColourBarWidget(QWidget* parent, CTeamColourBar& bar);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CTeamColourBar& bar_;
};

// "Team color list": a drop-down list of the ten tables, each item drawn as its 32 colours with
// "<n> color" over them.
class TeamColourCombo final : public QComboBox {
public:
    TeamColourCombo(QWidget* parent, std::function<const TeamColourTable&(int)> tableOf);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<const TeamColourTable&(int)> tableOf_;
};

// One item of the list in `rect`: the table's colours framed in black, the text in white, and a
// focus rectangle on the selected item.
void PaintTeamColourItem(QPainter& painter, const QRect& rect, const TeamColourTable& table,
                         int number, bool selected);

// "Build team color": the bar, the list and the building's preview; right click loads and saves.
class BuildTeamColourDialog final : public QDialog {
public:
    static constexpr int kPreviewWidth = 320;
    static constexpr int kPreviewHeight = 240;

    BuildTeamColourDialog(QWidget* parent, CBuildTeamColourDlg& model);

    TeamColourBarWidget* bar() const { return bar_; }
    TeamColourCombo* list() const { return list_; }
    QWidget* preview() const { return preview_; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CBuildTeamColourDlg& model_;
    TeamColourBarWidget* bar_;
    TeamColourCombo* list_;
    QWidget* preview_;
};

// "Team Color": the bar and the list, and beside the dialog the second animation window playing
// the current animation in the table selected; right click loads and saves.
class TeamColourDialog final : public QDialog {
public:
    TeamColourDialog(QWidget* parent, CTeamColourDlg& model, ToolWindowSet& toolWindows);
    ~TeamColourDialog() override;

    TeamColourBarWidget* bar() const { return bar_; }
    TeamColourCombo* list() const { return list_; }
    AnimationWindow* animationWindow() const;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    CTeamColourDlg& model_;
    ToolWindowSet& toolWindows_;
    TeamColourBarWidget* bar_;
    TeamColourCombo* list_;
    QPointer<AnimationWindow> animation_;
};

} // namespace fenwold
