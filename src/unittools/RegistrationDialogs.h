#pragma once

#include "unit/RegistrationHost.h"
#include "unittools/CPropertiesDlg.h"

#include <functional>

namespace fenwold {

// The registration view's "Properties" and "Temp buffer" on the dialog models: `show` runs the
// dialog window on the model and tells whether it closed with OK. The values change only then.
bool RunRegistrationProperties(RegistrationProperties& values,
                               const std::function<bool(CPropertiesDlg&)>& show);
bool RunRegistrationTempBuffer(TempBufferValues& values,
                               const std::function<bool(CTempBufferDlg&)>& show);

} // namespace fenwold
