#pragma once

#include <QDialog>

class QRadioButton;

namespace fenwold {

// "New": a building or a character (unit).
class NewDocumentDialog final : public QDialog {
public:
    explicit NewDocumentDialog(QWidget* parent);
    bool buildingChosen() const;

private:
    QRadioButton* building_;
};

} // namespace fenwold
