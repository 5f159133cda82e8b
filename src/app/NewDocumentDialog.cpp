#include "app/NewDocumentDialog.h"

#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fenwold {

NewDocumentDialog::NewDocumentDialog(QWidget* parent)
    : QDialog(parent), building_(new QRadioButton("&Building", this)) {
    setWindowTitle("New");
    auto* character = new QRadioButton("&Character", this);
    building_->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(building_);
    layout->addWidget(character);
    layout->addWidget(buttons);
}

bool NewDocumentDialog::buildingChosen() const {
    return building_->isChecked();
}

} // namespace fenwold
