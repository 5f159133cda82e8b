#include "app/TeamColourDialogs.h"

#include "app/AnimationWindow.h"
#include "app/CommandMenu.h"
#include "app/DialogButtons.h"
#include "app/QtWindowPainter.h"
#include "app/ToolWindowSet.h"
#include "teamcolour/TeamColourListItem.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <vector>

namespace fenwold {
namespace {

constexpr int kItemHeight = 20;

Pixel555 BackgroundOf(const QWidget& widget) {
    const QColor colour = widget.palette().color(QPalette::Window);
    return ToPixel555(static_cast<std::uint8_t>(colour.red()),
                      static_cast<std::uint8_t>(colour.green()),
                      static_cast<std::uint8_t>(colour.blue()));
}

class TeamColourItemDelegate final : public QStyledItemDelegate {
public:
    TeamColourItemDelegate(QObject* parent, std::function<const TeamColourTable&(int)> tableOf)
        : QStyledItemDelegate(parent), tableOf_(std::move(tableOf)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        PaintTeamColourItem(*painter, option.rect, tableOf_(index.row()), index.row(),
                            option.state.testFlag(QStyle::State_Selected));
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), kItemHeight};
    }

private:
    std::function<const TeamColourTable&(int)> tableOf_;
};

// The building in the table selected, clipped to the box.
class TeamColourPreviewWidget final : public QWidget {
public:
    TeamColourPreviewWidget(QWidget* parent, const CTeamColourPreview& preview)
        : QWidget(parent), preview_(preview) {
        setFixedSize(BuildTeamColourDialog::kPreviewWidth, BuildTeamColourDialog::kPreviewHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(
            0, 0,
            ImageOf(preview_.buffer().data(), preview_.bufferWidth(), preview_.bufferHeight()));
    }

private:
    const CTeamColourPreview& preview_;
};

// The bar over the list, then what the dialog shows below them, then OK and Cancel.
void LayOut(QDialog* dialog, TeamColourBarWidget* bar, TeamColourCombo* list, QWidget* below) {
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(bar, 0, Qt::AlignHCenter);
    layout->addWidget(list);
    if (below != nullptr) {
        layout->addWidget(below, 0, Qt::AlignHCenter);
    }
    layout->addWidget(OkCancel(dialog));
}

// The list follows the table the editor shows (a Load shows table 0).
void FollowShownTable(TeamColourCombo* list, const TeamColourEditor& editor) {
    if (list->currentIndex() != editor.CurrentTable()) {
        const QSignalBlocker block(list);
        list->setCurrentIndex(editor.CurrentTable());
    }
    list->update();
}

void RunMenu(QWidget* parent, const std::vector<MenuItem>& items, QPoint at,
             const std::function<void(int)>& run) {
    if (const auto chosen = ExecCommandMenu(parent, items, at)) {
        run(*chosen);
    }
}

} // namespace

void PaintTeamColourItem(QPainter& painter, const QRect& rect, const TeamColourTable& table,
                         int number, bool selected) {
    const int width = std::max(rect.width(), 0);
    const int height = std::max(rect.height(), 0);
    std::vector<Pixel555> pixels(static_cast<std::size_t>(width) * height, 0);
    DrawTeamColourListItem(pixels, width, height, {0, 0, width, height}, table);
    painter.drawImage(rect.topLeft(), ImageOf(pixels.data(), width, height));
    painter.setPen(Qt::white);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromStdString(TeamColourItemText(number)));
    if (selected) {
        QPen dotted(Qt::white, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(rect.adjusted(2, 2, -3, -3));
    }
}

TeamColourBarWidget::TeamColourBarWidget(QWidget* parent, CTeamColourBar& bar)
    : QWidget(parent), bar_(bar) {
    setFixedSize(kWidth, kHeight);
    setAccessibleName("Team color control");
}

void TeamColourBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!bar_.buffer().empty()) {
        painter.drawImage(0, 0,
                          ImageOf(bar_.buffer().data(), bar_.bufferWidth(), bar_.bufferHeight()));
    }
}

void TeamColourBarWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        bar_.LeftButtonDown(event->position().toPoint().x(), event->position().toPoint().y());
        update();
    }
}

void TeamColourBarWidget::mouseMoveEvent(QMouseEvent* event) {
    if (bar_.dragging()) {
        bar_.MouseMove(event->position().toPoint().x(), event->position().toPoint().y());
        update();
    }
}

void TeamColourBarWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        bar_.LeftButtonUp();
    }
}

TeamColourCombo::TeamColourCombo(QWidget* parent,
                                 std::function<const TeamColourTable&(int)> tableOf)
    : QComboBox(parent), tableOf_(std::move(tableOf)) {
    setAccessibleName("Team color list");
    for (int k = 0; k < kTeamColourTableCount; ++k) {
        addItem("color");
    }
    setItemDelegate(new TeamColourItemDelegate(this, tableOf_));
    setMinimumHeight(kItemHeight + 6);
    setCurrentIndex(0);
}

void TeamColourCombo::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int arrow = 18;
    const QRect item = rect().adjusted(1, 1, -arrow, -1);
    PaintTeamColourItem(painter, item, tableOf_(std::max(currentIndex(), 0)), currentIndex(),
                        hasFocus());
    // The drop-down arrow.
    const QRect button(width() - arrow, 0, arrow, height());
    painter.fillRect(button, palette().button());
    painter.setPen(palette().buttonText().color());
    const int cx = button.center().x();
    const int cy = button.center().y();
    for (int row = 0; row < 4; ++row) {
        painter.drawLine(cx - 3 + row, cy - 2 + row, cx + 3 - row, cy - 2 + row);
    }
}

BuildTeamColourDialog::BuildTeamColourDialog(QWidget* parent, CBuildTeamColourDlg& model)
    : QDialog(parent), model_(model), bar_(new TeamColourBarWidget(this, model.Editor().Bar())),
      list_(new TeamColourCombo(
          this,
          [&model](int k) -> const TeamColourTable& {
              return model.Editor().Colours().tables[static_cast<std::size_t>(k)];
          })),
      preview_(new TeamColourPreviewWidget(this, model.Preview())) {
    setWindowTitle(CBuildTeamColourDlg::kCaption);
    LayOut(this, bar_, list_, preview_);
    model_.SetRepaint([this] {
        FollowShownTable(list_, model_.Editor());
        bar_->update();
        preview_->update();
    });
    model_.Open({0, 0, TeamColourBarWidget::kWidth, TeamColourBarWidget::kHeight},
                BackgroundOf(*this));
    connect(list_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.Editor().SelectTable(index); });
}

void BuildTeamColourDialog::contextMenuEvent(QContextMenuEvent* event) {
    RunMenu(this, model_.ContextMenu(), event->globalPos(),
            [this](int command) { model_.OnCommand(command); });
}

TeamColourDialog::TeamColourDialog(QWidget* parent, CTeamColourDlg& model,
                                   ToolWindowSet& toolWindows)
    : QDialog(parent), model_(model), toolWindows_(toolWindows),
      bar_(new TeamColourBarWidget(this, model.Editor().Bar())),
      list_(new TeamColourCombo(this, [&model](int k) -> const TeamColourTable& {
          return model.Editor().Colours().tables[static_cast<std::size_t>(k)];
      })) {
    setWindowTitle(CTeamColourDlg::kCaption);
    LayOut(this, bar_, list_, nullptr);
    model_.SetRepaint([this] {
        FollowShownTable(list_, model_.Editor());
        bar_->update();
    });
    model_.Open({0, 0, TeamColourBarWidget::kWidth, TeamColourBarWidget::kHeight},
                BackgroundOf(*this));
    connect(list_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.Editor().SelectTable(index); });
    // The second animation window: a window of its own, which goes with this dialog.
    animation_ = new AnimationWindow(this, model_.AnimationTool());
    toolWindows_.SetSecondAnimationWindow(animation_);
    model_.AnimationWindowOpened();
}

TeamColourDialog::~TeamColourDialog() {
    toolWindows_.SetSecondAnimationWindow(nullptr);
    delete animation_.data();
}

AnimationWindow* TeamColourDialog::animationWindow() const {
    return animation_.data();
}

void TeamColourDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (animation_ != nullptr && !animation_->isVisible()) {
        animation_->move(frameGeometry().topRight() + QPoint(8, 0));
        animation_->show();
    }
}

void TeamColourDialog::contextMenuEvent(QContextMenuEvent* event) {
    RunMenu(this, model_.ContextMenu(), event->globalPos(),
            [this](int command) { model_.OnCommand(command); });
}

} // namespace fenwold
