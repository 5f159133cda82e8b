#include "app/AnimationRegistryDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace fenwold {
namespace {

FolderTree::Id IdOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, Qt::UserRole).toLongLong() : FolderTree::kNone;
}

// The item with the children the model holds for it (a folder not yet expanded: its
// placeholder, so that the tree offers to expand it).
QTreeWidgetItem* MakeItem(const FolderTree& tree, FolderTree::Id id) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromStdString(tree.At(id).text));
    item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(id));
    for (const FolderTree::Id child : tree.At(id).children) {
        item->addChild(MakeItem(tree, child));
    }
    return item;
}

} // namespace

AnimationRegistryDialog::AnimationRegistryDialog(QWidget* parent, CAnimationRegistryDlg& model)
    : QDialog(parent), model_(model), tree_(new QTreeWidget(this)), list_(new QListWidget(this)),
      setGroup_(new QCheckBox("Set Group", this)), delete_(new QPushButton("&Delete", this)) {
    setWindowTitle(CAnimationRegistryDlg::kCaption);
    tree_->setHeaderHidden(true);
    tree_->setAccessibleName("Folders");
    list_->setAccessibleName("Files");
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(CAnimationRegistryDlg::kOkText, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(tree_, 0, 0);
    layout->addWidget(list_, 0, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    auto* row = new QHBoxLayout;
    row->addWidget(setGroup_);
    row->addStretch(1);
    row->addWidget(delete_);
    row->addWidget(buttons);
    layout->addLayout(row, 1, 0, 1, 2);
    resize(640, 440);

    for (const FolderTree::Id root : model_.Tree().Roots()) {
        tree_->addTopLevelItem(MakeItem(model_.Tree(), root));
    }
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        model_.Tree().Expand(IdOf(item));
        ShowChildren(item);
    });
    connect(tree_, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        model_.Tree().Collapse(IdOf(item));
        ShowChildren(item);
    });
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { Selected(current); });
    connect(setGroup_, &QCheckBox::toggled, this, [this](bool checked) {
        model_.SetSetGroupChecked(checked);
        ShowState();
    });
    // The tree would take the focus and select its first item by itself; the check box takes it.
    setGroup_->setFocus();
    ShowState();
}

void AnimationRegistryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Selections the toolkit makes while the window comes up register nothing.
    QTimer::singleShot(0, this, [this] { model_.StartUpDone(); });
}

void AnimationRegistryDialog::ShowChildren(QTreeWidgetItem* item) {
    const FolderTree::Item* shown = model_.Tree().Find(IdOf(item));
    if (shown == nullptr) {
        return;
    }
    // Replacing the children moves no selection into them: the tree's signals wait.
    const QSignalBlocker block(tree_);
    qDeleteAll(item->takeChildren());
    for (const FolderTree::Id child : shown->children) {
        item->addChild(MakeItem(model_.Tree(), child));
    }
}

QTreeWidgetItem* AnimationRegistryDialog::ItemOf(FolderTree::Id id) const {
    for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
        if (IdOf(*it) == id) {
            return *it;
        }
    }
    return nullptr;
}

void AnimationRegistryDialog::Selected(QTreeWidgetItem* item) {
    if (item == nullptr || !model_.OnSelectionChanged(IdOf(item))) {
        return;
    }
    item->setText(0, QString::fromStdString(model_.Tree().At(IdOf(item)).text));
    list_->clear();
    for (const auto& name : model_.FileList()) {
        list_->addItem(QString::fromStdString(name));
    }
    ShowState();
}

void AnimationRegistryDialog::ShowState() {
    const QSignalBlocker block(setGroup_);
    setGroup_->setChecked(model_.SetGroupChecked());
    setGroup_->setEnabled(model_.SetGroupEnabled());
}

} // namespace fenwold
