#pragma once

#include <filesystem>

namespace fenwold {

// Where the desktop program's compression command leaves its recovery copy of the tool data, so
// that a compression survives a crash before the unit is first saved:
// $XDG_DATA_HOME/fenwold/VQ.UTD, else ~/.local/share/fenwold/VQ.UTD, else ./VQ.UTD. The folder is
// created when missing.
std::filesystem::path RecoveryToolDataPath();

} // namespace fenwold
