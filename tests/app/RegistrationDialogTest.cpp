#include "app/RegistrationWindows.h"
#include "image/SampleArt.h"
#include "platform/ScriptedPlatform.h"

#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace fenwold {
namespace {

class RegistrationDialogTest : public QObject {
    Q_OBJECT

private slots:
    void TheListedSeriesIsReadFromTheFolderItWasListedIn();
    void RegistrationWithoutAListHandsBackNothing();
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

QPushButton* ButtonNamed(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

void RegistrationDialogTest::TheListedSeriesIsReadFromTheFolderItWasListedIn() {
    Fixture fixture;
    FileSpecialDialog dialog(nullptr, fixture.request, fixture.platform.Get());
    dialog.show();
    auto* files = dialog.findChild<QFileDialog*>();
    QVERIFY(files != nullptr);
    const std::filesystem::path series = fixture.sample.animationFolders.front();
    files->setDirectory(QString::fromStdString(series.string()));
    files->selectFile(
        QString::fromStdString(fixture.sample.firstPictures.front().filename().string()));
    QPushButton* makeList = ButtonNamed(dialog, "&Make List");
    QVERIFY(makeList != nullptr);
    makeList->click();
    QCOMPARE(dialog.findChild<QListWidget*>()->count(), 3);

    ButtonNamed(dialog, "Registration")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.names().size(), std::size_t{3});
    // The names are bare; the series carries the folder they were listed in, where the dialog
    // also leaves the working folder.
    const PictureSeries chosen = dialog.series();
    QCOMPARE(QString::fromStdString(chosen.folder.string()),
             QString::fromStdString(series.string()));
    QVERIFY(std::filesystem::exists(chosen.folder / chosen.names.front()));
    QCOMPARE(fixture.platform.workingFolder.Current(), chosen.folder);
}

void RegistrationDialogTest::RegistrationWithoutAListHandsBackNothing() {
    Fixture fixture;
    FileSpecialDialog dialog(nullptr, fixture.request, fixture.platform.Get());
    dialog.show();
    auto* files = dialog.findChild<QFileDialog*>();
    files->setDirectory(QString::fromStdString(fixture.sample.animationFolders.front().string()));
    files->selectFile(
        QString::fromStdString(fixture.sample.firstPictures.front().filename().string()));
    ButtonNamed(dialog, "Registration")->click();
    QVERIFY(dialog.names().empty());
    QCOMPARE(fixture.platform.workingFolder.Current(), fixture.root);
}

} // namespace
} // namespace fenwold

QTEST_MAIN(fenwold::RegistrationDialogTest)
#include "RegistrationDialogTest.moc"
