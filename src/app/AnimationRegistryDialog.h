#pragma once

#include "unittools/CAnimationRegistryDlg.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace fenwold {

// "Animation Registry": the folder tree, the file list, "Set Group", "&Delete", "Registion" and
// Cancel, shown over its model. Each tree item carries its model item's id; the tree mirrors the
// model's children, placeholders included, as items expand and collapse.
class AnimationRegistryDialog final : public QDialog {
public:
    AnimationRegistryDialog(QWidget* parent, CAnimationRegistryDlg& model);

    QTreeWidget* tree() const { return tree_; }
    QListWidget* fileList() const { return list_; }
    QCheckBox* setGroup() const { return setGroup_; }
    // The tree item of a model item among those shown, or null.
    QTreeWidgetItem* ItemOf(FolderTree::Id id) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowChildren(QTreeWidgetItem* item);
    void Selected(QTreeWidgetItem* item);
    void ShowState();

    CAnimationRegistryDlg& model_;
    QTreeWidget* tree_;
    QListWidget* list_;
    QCheckBox* setGroup_;
    QPushButton* delete_;
};

} // namespace fenwold
