#include "unittools/SequenceValueDialogs.h"

#include "unit/CTempBufferDlg.h"

namespace fenwold {

std::optional<std::string> SequenceValueDialog::Accept(const std::string& text) {
    std::int32_t read = 0;
    if (!CTempBufferDlg::Parse(text, read)) {
        return "Please enter an integer.";
    }
    if (range_ && (read < range_->minimum || read > range_->maximum)) {
        return "Please enter an integer between " + std::to_string(range_->minimum) + " and " +
               std::to_string(range_->maximum) + ".";
    }
    value = read;
    return std::nullopt;
}

} // namespace fenwold
