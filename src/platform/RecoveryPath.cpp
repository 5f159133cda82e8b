#include "platform/RecoveryPath.h"

#include <cstdlib>
#include <system_error>

namespace fenwold {

std::filesystem::path RecoveryToolDataPath() {
    std::filesystem::path folder;
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && *dataHome == '/') {
        folder = std::filesystem::path(dataHome) / "fenwold";
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::filesystem::path(home) / ".local" / "share" / "fenwold";
    } else {
        return "VQ.UTD";
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder / "VQ.UTD";
}

} // namespace fenwold
