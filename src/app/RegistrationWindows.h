#pragma once

#include "app/CResizableDialog.h"
#include "image/SeriesNames.h"
#include "platform/Platform.h"
#include "unit/CPropertiesDlg.h"
#include "unit/CSetLookupTableDlg.h"
#include "unit/CTempBufferDlg.h"
#include "unit/CVqComputeDlg.h"

#include <QDialog>
#include <QTimer>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QSpinBox;

namespace fenwold {

// "Animation registration": a file dialog with "&Make List" and the list of the chosen series.
// Its OK button reads "Registration"; the listed names with the folder they were listed in are
// what it hands back. Like every file dialog it leaves the working folder at that folder.
// "Registration" with an empty list says so and keeps the window open.
class FileSpecialDialog final : public QDialog {
public:
    static constexpr std::string_view kEmptyListMessage =
        "The list is empty: choose the first picture of the series, press \"Make List\", then "
        "\"Registration\".";

    FileSpecialDialog(QWidget* parent, const FileDialogRequest& request, Platform platform);
    PictureSeries series() const { return {folder_.toStdString(), names_}; }
    const std::vector<std::string>& names() const { return names_; }

private:
    void MakeList();

    Platform platform_;
    QFileDialog* files_;
    QListWidget* list_;
    QString folder_;
    std::vector<std::string> names_;
};

// "Set lookup table number": the parameters of a compression run.
class LookupTableDialog final : public QDialog {
public:
    LookupTableDialog(QWidget* parent, CSetLookupTableDlg& model);

private:
    void Show();
    CSetLookupTableDlg& model_;
    QComboBox* weightMode_;
    QSpinBox* size_;
    QCheckBox* noLbg_;
    QCheckBox* sampling_;
    QSpinBox* refine_;
};

// "VQ Compute": starts the run when it is first shown and polls it every 4 ms, showing what the
// run reports. A cancelled run closes it; a finished one shows at its end what the compression
// lost, and its button, now "OK", closes it. The user may resize it.
class VqComputeDialog final : public CResizableDialog {
public:
    VqComputeDialog(QWidget* parent, CVqComputeDlg& model);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void Close(CVqComputeDlg::Outcome outcome);
    void Poll();

    CVqComputeDlg& model_;
    QTimer timer_;
    bool started_ = false;
    bool finished_ = false;
    QLabel* quality_ = nullptr;
    QPushButton* button_ = nullptr;
    std::array<QLabel*, 7> texts_{};
    std::array<QProgressBar*, 2> bars_{};
};

// "Properties": the current animation's size, the unit's counts and the first animation drawn.
class PropertiesDialog final : public QDialog {
public:
    PropertiesDialog(QWidget* parent, CPropertiesDlg& model);
};

// "Temp buffer": ten signed values.
class TempBufferDialog final : public QDialog {
public:
    TempBufferDialog(QWidget* parent, CTempBufferDlg& model);

protected:
    void accept() override;

private:
    CTempBufferDlg& model_;
    std::array<QLineEdit*, CTempBufferDlg::kValueCount> edits_{};
};

} // namespace fenwold
