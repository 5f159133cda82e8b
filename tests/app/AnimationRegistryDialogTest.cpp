#include "app/AnimationRegistryDialog.h"

#include "image/SampleArt.h"
#include "platform/ScriptedPlatform.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace fenwold {
namespace {

class AnimationRegistryDialogTest : public QObject {
    Q_OBJECT

private slots:
    void FoldersPickedInTheTreeAreRegistered();
    void AGroupIsPickedWithSetGroup();
};

struct Fixture {
    QTemporaryDir scratch;
    std::filesystem::path root{scratch.path().toStdString()};
    SampleSet sample =
        WriteSampleSet(root, {.animations = 2, .frames = 3, .width = 16, .height = 16});
    ScriptedPlatform platform{root};
    CAnimationRegistryDlg model{platform.prompts, {{"samples", root}}};
};

// Expands the items on the way to `relative` under the root and returns its item.
QTreeWidgetItem* Reveal(AnimationRegistryDialog& dialog, const std::filesystem::path& relative) {
    QTreeWidgetItem* item = dialog.tree()->topLevelItem(0);
    for (const auto& part : relative) {
        dialog.tree()->expandItem(item);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount(); ++i) {
            if (item->child(i)->text(0) == QString::fromStdString(part.string())) {
                next = item->child(i);
            }
        }
        if (next == nullptr) {
            return nullptr;
        }
        item = next;
    }
    return item;
}

void AnimationRegistryDialogTest::FoldersPickedInTheTreeAreRegistered() {
    Fixture fixture;
    AnimationRegistryDialog dialog(nullptr, fixture.model);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::qWait(10); // the start-up is over
    // A folder not yet expanded shows one placeholder child, so that it offers to expand.
    QTreeWidgetItem* root = dialog.tree()->topLevelItem(0);
    QCOMPARE(root->childCount(), 1);
    dialog.tree()->expandItem(root);
    QVERIFY(root->childCount() > 0);
    for (int i = 0; i < root->childCount(); ++i) {
        QCOMPARE(root->child(i)->childCount(), 1);
    }
    const auto folder = fixture.sample.animationFolders.front();
    QTreeWidgetItem* item = Reveal(dialog, std::filesystem::relative(folder, fixture.root));
    QVERIFY(item != nullptr);
    dialog.tree()->setCurrentItem(item);
    QCOMPARE(item->text(0), QString::fromStdString(folder.filename().string()) + " <- 1");
    QCOMPARE(dialog.fileList()->count(), 3);
    QVERIFY(!dialog.setGroup()->isEnabled());
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == "Registion") {
            button->click();
        }
    }
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const auto result = fixture.model.Close(true);
    QVERIFY(result.has_value());
    QCOMPARE(result->series.size(), std::size_t{1});
    QCOMPARE(result->series[0].names.size(), std::size_t{3});
}

void AnimationRegistryDialogTest::AGroupIsPickedWithSetGroup() {
    Fixture fixture;
    AnimationRegistryDialog dialog(nullptr, fixture.model);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::qWait(10);
    dialog.setGroup()->click();
    const auto unitFolder = fixture.sample.animationFolders.front().parent_path();
    QTreeWidgetItem* item = Reveal(dialog, std::filesystem::relative(unitFolder, fixture.root));
    QVERIFY(item != nullptr);
    dialog.tree()->setCurrentItem(item);
    QCOMPARE(item->text(0), QString::fromStdString(unitFolder.filename().string()) + " <- 1");
    QCOMPARE(dialog.fileList()->count(), 2);
    QVERIFY(dialog.setGroup()->isChecked());
    QVERIFY(!dialog.setGroup()->isEnabled());
    dialog.reject();
    QVERIFY(!fixture.model.Close(false).has_value());
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::AnimationRegistryDialogTest)
#include "AnimationRegistryDialogTest.moc"
