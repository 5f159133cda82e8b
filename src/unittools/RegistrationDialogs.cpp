#include "unittools/RegistrationDialogs.h"

#include <algorithm>

namespace fenwold {

bool RunRegistrationProperties(RegistrationProperties& values,
                               const std::function<bool(CPropertiesDlg&)>& show) {
    CPropertiesDlg dialog;
    dialog.animationCount = values.animationCount;
    dialog.totalFrameCount = values.totalFrameCount;
    dialog.startAnimation = values.startAnimation;
    dialog.height = values.height;
    dialog.width = values.width;
    dialog.codebookSize = values.codebookSize;
    if (!show(dialog)) {
        return false;
    }
    values.startAnimation = dialog.startAnimation;
    return true;
}

bool RunRegistrationTempBuffer(TempBufferValues& values,
                               const std::function<bool(CTempBufferDlg&)>& show) {
    CTempBufferDlg dialog;
    std::copy(values.begin(), values.end(), dialog.values);
    if (!show(dialog)) {
        return false;
    }
    std::copy(std::begin(dialog.values), std::end(dialog.values), values.begin());
    return true;
}

} // namespace fenwold
