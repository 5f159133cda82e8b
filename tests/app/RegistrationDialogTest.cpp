#include "WindowFixtures.h"
#include "app/RegistrationWindows.h"
#include "image/SampleArt.h"
#include "platform/ScriptedPlatform.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace fenwold {
namespace {

class RegistrationDialogTest : public QObject {
    Q_OBJECT

private slots:
    void RegistrationWithoutAListSaysSoAndStays();
};

struct Fixture {
    QTemporaryDir scratch;
    std::filesystem::path root{scratch.path().toStdString()};
    SampleSet sample =
        WriteSampleSet(root, {.animations = 1, .frames = 3, .width = 16, .height = 16});
    ScriptedPlatform platform{root};
    FileDialogRequest request{.filter = "Image Files(*.TGA)|*.TGA||",
                              .title = "Animation registration"};
};

// "Registration" (or Enter) before "Make List" would register nothing without a word: the dialog
// says the list is empty and stays, ready for Make List. The listed series is then read from the
// folder it was listed in.
void RegistrationDialogTest::RegistrationWithoutAListSaysSoAndStays() {
    Fixture fixture;
    FileSpecialDialog dialog(nullptr, fixture.request, fixture.platform.Get());
    dialog.show();
    auto* files = dialog.findChild<QFileDialog*>();
    QVERIFY(files != nullptr);
    const std::filesystem::path first = fixture.sample.firstPictures.front();
    files->setDirectory(QString::fromStdString(first.parent_path().string()));
    files->selectFile(QString::fromStdString(first.filename().string()));
    test::ButtonNamed(dialog, "Registration")->click();
    QVERIFY(dialog.names().empty());
    QCOMPARE(fixture.platform.workingFolder.Current(), fixture.root);
    QCOMPARE(fixture.platform.prompts.messages.size(), std::size_t{1});
    QCOMPARE(fixture.platform.prompts.messages[0].text,
             std::string(FileSpecialDialog::kEmptyListMessage));
    QVERIFY(dialog.isVisible());
    QVERIFY(files->isVisible());

    // A path typed into the name field lists the series in the picture's folder, not in the
    // folder the dialog shows.
    files->setDirectory(QString::fromStdString(fixture.root.string()));
    files->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(first.string()));
    test::ButtonNamed(dialog, "&Make List")->click();
    QCOMPARE(dialog.findChild<QListWidget*>()->count(), 3);
    test::ButtonNamed(dialog, "Registration")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.names().size(), std::size_t{3});
    // The names are bare; the series carries the folder they were listed in, where the dialog
    // also leaves the working folder.
    const PictureSeries chosen = dialog.series();
    QCOMPARE(chosen.folder, first.parent_path());
    QVERIFY(std::filesystem::exists(chosen.folder / chosen.names.front()));
    QCOMPARE(fixture.platform.workingFolder.Current(), chosen.folder);
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::RegistrationDialogTest)
#include "RegistrationDialogTest.moc"
