#include "app/RegistrationWindows.h"

#include "app/DialogButtons.h"
#include "image/SeriesNames.h"
#include "platform/DialogFilter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace fenwold {
namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

FileSpecialDialog::FileSpecialDialog(QWidget* parent, const FileDialogRequest& request,
                                     Platform platform)
    : QDialog(parent), platform_(platform), files_(new QFileDialog(this)),
      list_(new QListWidget(this)) {
    setWindowTitle(ToQt(request.title));
    // The file dialog lives inside this window, with the series list and its button beside it.
    files_->setWindowFlags(Qt::Widget);
    files_->setOption(QFileDialog::DontUseNativeDialog);
    files_->setFileMode(QFileDialog::ExistingFile);
    files_->setDirectory(QString::fromStdString(platform_.folder.Current().string()));
    files_->setNameFilter(ToQt(CaseInsensitiveQtFilter(request.filter)));
    files_->setLabelText(QFileDialog::Accept, "Registration");
    // The file dialog names its button "Open" again whenever the name field holds a folder; the
    // registration keeps its own text.
    const auto keepRegistrationLabel = [this] {
        files_->setLabelText(QFileDialog::Accept, "Registration");
    };
    if (auto* nameField = files_->findChild<QLineEdit*>("fileNameEdit")) {
        connect(nameField, &QLineEdit::textChanged, this, keepRegistrationLabel);
    }
    connect(files_, &QFileDialog::currentChanged, this, keepRegistrationLabel);
    connect(files_, &QFileDialog::directoryEntered, this, keepRegistrationLabel);
    auto* makeList = new QPushButton("&Make List", this);
    connect(makeList, &QPushButton::clicked, this, &FileSpecialDialog::MakeList);
    connect(files_, &QFileDialog::accepted, this, [this] {
        if (names_.empty()) {
            // Registering an empty list would register nothing without a word: the window stays,
            // with its file dialog, which hid itself on accepting (shown again before the message,
            // so that the window behind it is whole).
            files_->show();
            platform_.prompts.ShowMessage(kEmptyListMessage);
            return;
        }
        // File dialogs leave the working folder where the chosen files are.
        platform_.folder.Set(folder_.toStdString());
        accept();
    });
    connect(files_, &QFileDialog::rejected, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(makeList);
    side->addWidget(list_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(files_, 3);
    layout->addLayout(side, 1);
    resize(900, 480);
}

void FileSpecialDialog::MakeList() {
    list_->clear();
    names_.clear();
    const QStringList selected = files_->selectedFiles();
    // A folder in the name field is no picture of a series: nothing is listed.
    const bool picture = !selected.isEmpty() && !QFileInfo(selected.first()).isDir();
    const QString field = picture ? QFileInfo(selected.first()).fileName() : QString();
    // The series is listed where the picture is, also when the name field holds a path into
    // another folder than the one shown.
    folder_ =
        picture ? QFileInfo(selected.first()).absolutePath() : files_->directory().absolutePath();
    names_ = fenwold::MakeList(field.toStdString(), folder_.toStdString(), platform_.prompts);
    for (const std::string& name : names_) {
        list_->addItem(QString::fromStdString(name));
    }
}

LookupTableDialog::LookupTableDialog(QWidget* parent, CSetLookupTableDlg& model)
    : QDialog(parent), model_(model), weightMode_(new QComboBox(this)), size_(new QSpinBox(this)),
      noLbg_(new QCheckBox("No lbg", this)), sampling_(new QCheckBox("&Sampling", this)),
      refine_(new QSpinBox(this)) {
    setWindowTitle(ToQt(CSetLookupTableDlg::kCaption));
    for (const std::string_view name : CSetLookupTableDlg::kWeightModeNames) {
        weightMode_->addItem(ToQt(name));
    }
    size_->setRange(CSetLookupTableDlg::kMinimumSize, CSetLookupTableDlg::kMaximumSize);
    auto* form = new QFormLayout;
    form->addRow("Weight mode:", weightMode_);
    form->addRow("Lookup table:", size_);
    form->addRow(noLbg_);
    form->addRow(sampling_);
    refine_->setRange(0, CSetLookupTableDlg::kMaximumRefinePasses);
    auto* refineLabel = new QLabel(ToQt(CSetLookupTableDlg::kRefineLabel), this);
    refineLabel->setBuddy(refine_);
    form->addRow(refineLabel, refine_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
    Show();
    connect(noLbg_, &QCheckBox::toggled, this, [this](bool checked) {
        model_.SetNoLbg(checked);
        Show();
    });
    connect(weightMode_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.weightMode = index; });
    connect(size_, &QSpinBox::valueChanged, this,
            [this](int value) { model_.lookupTableSize = value; });
    connect(sampling_, &QCheckBox::toggled, this, [this](bool on) { model_.sampling = on; });
    connect(refine_, &QSpinBox::valueChanged, this,
            [this](int value) { model_.refinePasses = value; });
}

void LookupTableDialog::Show() {
    weightMode_->setCurrentIndex(model_.weightMode);
    size_->setValue(model_.lookupTableSize);
    noLbg_->setChecked(model_.noLbg);
    sampling_->setChecked(model_.sampling);
    size_->setEnabled(model_.SizeEnabled());
    sampling_->setEnabled(model_.SamplingEnabled());
    refine_->setValue(model_.refinePasses);
    refine_->setEnabled(model_.RefineEnabled());
}

VqComputeDialog::VqComputeDialog(QWidget* parent, CVqComputeDlg& model)
    : CResizableDialog(parent), model_(model) {
    setWindowTitle(ToQt(CVqComputeDlg::kCaption));
    // Captions on the left; the values and bars stretch with the window, the buttons keep to the
    // bottom edge.
    constexpr int kMargin = 10;
    constexpr int kRowHeight = 24;
    constexpr int kCaptionWidth = 150;
    constexpr int kWidth = 440;
    constexpr int kRows = 12; // nine of progress, three for what the compression lost
    constexpr int kHeight = kMargin + kRows * kRowHeight + kMargin + 36;
    constexpr int kValueLeft = kMargin + kCaptionWidth + 5;
    constexpr int kValueWidth = kWidth - kMargin - kValueLeft;
    resize(kWidth, kHeight);
    int row = 0;
    const auto addRow = [&](std::string_view caption, QWidget* value) {
        const int y = kMargin + row++ * kRowHeight;
        auto* label = new QLabel(ToQt(caption), this);
        label->setGeometry(kMargin, y, kCaptionWidth, kRowHeight - 4);
        value->setGeometry(kValueLeft, y, kValueWidth, kRowHeight - 4);
        AddAnchor(value, kStretchWithRight);
    };
    const auto addBar = [&](ProgressBar bar) {
        auto* control = new QProgressBar(this);
        control->setRange(0, 100);
        control->setValue(0);
        bars_[static_cast<std::size_t>(bar)] = control;
        addRow(ProgressLabel(bar), control);
    };
    const auto addText = [&](ProgressField field) {
        auto* label = new QLabel(this);
        texts_[static_cast<std::size_t>(field)] = label;
        addRow(ProgressLabel(field), label);
    };
    addText(ProgressField::CollectedBlocks);
    addBar(ProgressBar::Collection);
    addBar(ProgressBar::IndexTable);
    for (ProgressField field :
         {ProgressField::Sampling, ProgressField::SearchVector, ProgressField::Loop,
          ProgressField::Threshold, ProgressField::ErrorGain, ProgressField::SearchVectorIndex}) {
        addText(field);
    }
    quality_ = new QLabel(this);
    quality_->setWordWrap(true);
    quality_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    quality_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    quality_->setGeometry(kMargin, kMargin + row * kRowHeight, kWidth - 2 * kMargin,
                          (kRows - row) * kRowHeight);
    AddAnchor(quality_, kStretchWithRight);
    auto* endLbg = new QCheckBox("End Lbg", this);
    endLbg->setGeometry(kMargin, kHeight - kMargin - 26, 120, 26);
    AddAnchor(endLbg, kMoveWithBottom);
    connect(endLbg, &QCheckBox::clicked, this,
            [this](bool checked) { model_.ClickEndLbg(checked); });
    button_ = new QPushButton("Cancel", this);
    button_->setGeometry(kWidth - kMargin - 90, kHeight - kMargin - 26, 90, 26);
    AddAnchor(button_, kMoveWithRight | kMoveWithBottom);
    connect(button_, &QPushButton::clicked, this, &QDialog::reject);
    timer_.setInterval(CVqComputeDlg::kPollMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &VqComputeDialog::Poll);
}

void VqComputeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) {
        return;
    }
    started_ = true;
    // The run starts once the window is on the screen.
    QTimer::singleShot(0, this, [this] {
        const CVqComputeDlg::Outcome outcome = model_.Start();
        if (outcome == CVqComputeDlg::Outcome::Running) {
            // Busy while it runs, but Cancel and End Lbg still take clicks.
            QApplication::setOverrideCursor(Qt::BusyCursor);
            timer_.start();
        } else {
            Close(outcome);
        }
    });
}

void VqComputeDialog::Poll() {
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        texts_[i]->setText(QString::fromStdString(model_.Text(static_cast<ProgressField>(i))));
    }
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        bars_[i]->setValue(model_.Bar(static_cast<ProgressBar>(i)));
    }
    const CVqComputeDlg::Outcome outcome = model_.Poll();
    if (outcome != CVqComputeDlg::Outcome::Running) {
        Close(outcome);
    }
}

void VqComputeDialog::Close(CVqComputeDlg::Outcome outcome) {
    if (timer_.isActive()) {
        QApplication::restoreOverrideCursor();
    }
    timer_.stop();
    if (outcome != CVqComputeDlg::Outcome::Ok) {
        QDialog::reject();
        return;
    }
    // The document holds the result already; the window stays to say what it lost.
    finished_ = true;
    QStringList lines;
    for (const std::string& line : model_.QualityLines()) {
        lines << QString::fromStdString(line);
    }
    quality_->setText(lines.join('\n'));
    button_->setText("OK");
    button_->setDefault(true);
    button_->setFocus();
}

void VqComputeDialog::reject() {
    // Cancel asks the run to stop; the window closes when the run reports that it has. Once the
    // run has finished, closing the window in any way is OK.
    if (finished_) {
        QDialog::accept();
    } else if (timer_.isActive()) {
        model_.Cancel();
    } else {
        QDialog::reject();
    }
}

PropertiesDialog::PropertiesDialog(QWidget* parent, CPropertiesDlg& model) : QDialog(parent) {
    setWindowTitle("Properties");
    auto* form = new QFormLayout;
    const auto show = [&](const char* label, std::int32_t value) {
        form->addRow(label, new QLabel(QString::fromStdString(CPropertiesDlg::Text(value)), this));
    };
    show("Width:", model.width);
    show("Height:", model.height);
    show("Total Animation:", model.animationCount);
    show("Total Frame:", model.totalFrameCount);
    show("Lookup Table", model.codebookSize);
    auto* start =
        new QLabel(QString::fromStdString(CPropertiesDlg::Text(model.startAnimation)), this);
    auto* spin = new QSpinBox(this);
    spin->setRange(model.SpinMinimum(), std::max(model.SpinMinimum(), model.SpinMaximum()));
    spin->setValue(model.startAnimation);
    connect(spin, &QSpinBox::valueChanged, this, [&model, start](int position) {
        model.MoveSpin(position);
        start->setText(QString::fromStdString(CPropertiesDlg::Text(model.startAnimation)));
    });
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(start);
    startRow->addWidget(spin);
    form->addRow("Start Ani Draw", startRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
}

TempBufferDialog::TempBufferDialog(QWidget* parent, CTempBufferDlg& model)
    : QDialog(parent), model_(model) {
    setWindowTitle("Temp buffer");
    auto* form = new QFormLayout;
    for (int i = 0; i < CTempBufferDlg::kValueCount; ++i) {
        auto* edit = new QLineEdit(QString::number(model_.values[i]), this);
        edits_[static_cast<std::size_t>(i)] = edit;
        form->addRow(QString::number(i), edit);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
}

void TempBufferDialog::accept() {
    std::array<std::int32_t, CTempBufferDlg::kValueCount> read{};
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        if (!CTempBufferDlg::Parse(edits_[i]->text().toStdString(), read[i])) {
            QMessageBox::warning(this, windowTitle(), "Please enter an integer.");
            edits_[i]->setFocus();
            return;
        }
    }
    model_.values = read;
    QDialog::accept();
}

} // namespace fenwold
