#include "app/QtPlatform.h"

#include "platform/DialogFilter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace fenwold {
namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

} // namespace

MessageAnswer QtPrompts::ShowMessage(std::string_view text, MessageButtons buttons) {
    return Show(text, QString(), buttons);
}

void QtPrompts::ShowFileProblem(std::string_view text, const std::filesystem::path& file,
                                std::string_view reason) {
    const bool said = reason.empty() || text.find(reason) != std::string_view::npos;
    Show(text, said ? QString() : QString::fromStdString(file.string()) + ": " + ToQt(reason) + ".",
         MessageButtons::Ok);
}

MessageAnswer QtPrompts::Show(std::string_view text, const QString& details,
                              MessageButtons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (buttons) {
    case MessageButtons::Ok:
        shown = QMessageBox::Ok;
        break;
    case MessageButtons::OkCancel:
        shown = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MessageButtons::YesNo:
        shown = QMessageBox::Yes | QMessageBox::No;
        icon = QMessageBox::Question;
        break;
    case MessageButtons::YesNoCancel:
        shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        icon = QMessageBox::Question;
        break;
    }
    QMessageBox box(icon, QApplication::applicationName(), ToQt(text), shown, parent_);
    box.setInformativeText(details);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        return MessageAnswer::Cancel;
    }
}

std::optional<std::filesystem::path> QtPrompts::Chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    folder_.Set(ToPath(QFileInfo(path).absolutePath()));
    return ToPath(path);
}

std::optional<std::filesystem::path> QtPrompts::AskOpenFile(const FileDialogRequest& request) {
    return Chosen(QFileDialog::getOpenFileName(
        parent_, ToQt(request.title), ToQt((folder_.Current() / request.initialName).string()),
        ToQt(CaseInsensitiveQtFilter(request.filter))));
}

std::optional<std::filesystem::path> QtPrompts::AskSaveFile(const FileDialogRequest& request) {
    return Chosen(QFileDialog::getSaveFileName(
        parent_, ToQt(request.title), ToQt((folder_.Current() / request.initialName).string()),
        ToQt(CaseInsensitiveQtFilter(request.filter))));
}

std::optional<RgbColour> QtPrompts::AskColour(RgbColour initial) {
    const QColor chosen =
        QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue), parent_);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return RgbColour{static_cast<std::uint8_t>(chosen.red()),
                     static_cast<std::uint8_t>(chosen.green()),
                     static_cast<std::uint8_t>(chosen.blue())};
}

void QtSound::PlayLooping(int resourceId) {
    effect_.setSource(QUrl(QString("qrc:/sounds/%1.wav").arg(resourceId)));
    effect_.setLoopCount(QSoundEffect::Infinite);
    effect_.play();
}

void QtSound::Stop() {
    effect_.stop();
}

FenwoldStatusBar::FenwoldStatusBar(QWidget* parent)
    : QStatusBar(parent), message_(new QLabel(tr("Ready"), this)), modified_(new QLabel(this)),
      quality_(new QLabel(this)), caption_(new QLabel(this)), progress_(new QProgressBar(this)) {
    // A widget rather than a message, so that "Ready" comes back after each command's fly-by help.
    addWidget(message_, 1);
    modified_->setMinimumWidth(100);
    addPermanentWidget(quality_);
    addPermanentWidget(caption_);
    addPermanentWidget(progress_);
    addPermanentWidget(modified_);
    // The lock-key panes stay dimmed: the keyboard state is not visible to the program here.
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(indicator, this);
        label->setEnabled(false);
        addPermanentWidget(label);
    }
    caption_->hide();
    progress_->hide();
    quality_->hide();
    SetModifiedIndicator(false);
}

QString FenwoldStatusBar::message() const {
    return message_->text();
}

void FenwoldStatusBar::ShowMessage(std::string_view text) {
    message_->setText(ToQt(text));
}

void FenwoldStatusBar::SetModifiedIndicator(bool modified) {
    modified_->setText(modified ? "Modified" : QString(15, ' '));
}

void FenwoldStatusBar::SetQualityIndicator(std::string_view text) {
    quality_->setText(ToQt(text));
    quality_->setVisible(!text.empty());
}

void FenwoldStatusBar::BeginProgress(std::string_view caption, int steps) {
    messageBeforeProgress_ = message_->text();
    caption_->setText(ToQt(caption));
    progress_->setRange(0, std::max(steps, 1));
    progress_->setValue(0);
    caption_->show();
    progress_->show();
    // The loads run on this thread and take no input meanwhile: the pointer says so.
    if (!busy_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busy_ = true;
    }
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void FenwoldStatusBar::StepProgress() {
    progress_->setValue(std::min(progress_->value() + 1, progress_->maximum()));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void FenwoldStatusBar::EndProgress() {
    caption_->hide();
    progress_->hide();
    message_->setText(messageBeforeProgress_.isEmpty() ? tr("Ready") : messageBeforeProgress_);
    if (busy_) {
        QApplication::restoreOverrideCursor();
        busy_ = false;
    }
}

} // namespace fenwold
