#pragma once

#include "image/RegisteredAnimation.h"

#include <cstdint>
#include <vector>

namespace fenwold {

inline constexpr int kMaxRegistrationGroupMembers = 100;

// A group made when a folder of series is registered as one group. The members are borrowed
// from the registration view's list; the unit's groups are rebuilt from the member counts.
struct RegistrationGroup {
    std::vector<RegisteredAnimation*> members;

    std::int32_t MemberCount() const { return static_cast<std::int32_t>(members.size()); }
};

} // namespace fenwold
