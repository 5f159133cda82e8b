#pragma once

class QDialog;
class QDialogButtonBox;

namespace fenwold {

// OK and Cancel for a dialog, wired to its accept and reject.
QDialogButtonBox* OkCancel(QDialog* dialog);

} // namespace fenwold
