#pragma once

#include "teamcolour/TeamColour.h"
#include "unit/Codebook.h"
#include "unit/UnitRecords.h"

#include <cstdint>
#include <list>
#include <span>
#include <vector>

namespace fenwold {

// A group named by its members' positions in the animation list, with its points: how the group
// editor works on a copy of the groups without holding pointers into the list.
struct GroupByPosition {
    UnitPointTable pointX{};
    UnitPointTable pointY{};
    std::vector<std::int32_t> members;
};

// Everything a unit's files hold: the animations with their encoded tables, the groups, the
// codebook, the point tables and the team colours. Groups borrow animations of the same object,
// so it moves but never copies; list nodes keep their addresses through moves.
struct UnitData {
    UnitData() = default;
    UnitData(UnitData&&) = default;
    UnitData& operator=(UnitData&&) = default;
    UnitData(const UnitData&) = delete;
    UnitData& operator=(const UnitData&) = delete;

    UnitPointTable unitPointX{};
    UnitPointTable unitPointY{};
    std::list<UnitGroup> groups;
    Codebook codebook;
    std::list<UnitAnimation> animations;
    TeamColours teamColours;
    float compressionError = -1.0f;

    std::int32_t AnimationCount() const { return static_cast<std::int32_t>(animations.size()); }
    std::int32_t GroupCount() const { return static_cast<std::int32_t>(groups.size()); }
    std::int32_t TotalFrameCount() const;

    // Frees every animation with its encoded tables.
    void FreeAnimations() { animations.clear(); }
    // Appends the record with empty encoded table lists.
    UnitAnimation& AddAnimation(UnitAnimation record);
    // The n-th animation from the head; n < 1 gives the head, an n beyond the list none.
    UnitAnimation* AnimationAt(int n);
    // The animation at 0-based position `position`; none outside the list.
    UnitAnimation* FindAnimation(int position);
    const UnitAnimation* FindAnimation(int position) const;
    // Appends a group with zeroed point tables and no members.
    UnitGroup& AddGroup();
    // The n-th group, by the same rule as AnimationAt.
    UnitGroup* GroupAt(int n);
    // The group numbered `index` (an animation's group index); none for -1 or past the list.
    UnitGroup* FindGroup(int index);
    // Replaces the groups by consecutive runs of the animation list, one run per member count.
    void RebuildGroups(std::span<const std::int32_t> memberCounts);
    // Replaces the groups: group g holds the animations at the positions memberPositions[g]
    // names, in that order; positions outside the list are passed over.
    void RebuildGroupsAt(std::span<const std::vector<std::int32_t>> memberPositions);
    // The groups with their members as positions (a member missing from the list is left out).
    std::vector<GroupByPosition> GroupsByPosition() const;
    // Replaces the groups: every animation takes the number of the group that names it, -1 when
    // none does; positions outside the list and members past 100 are left out.
    void ReplaceGroups(std::span<const GroupByPosition> replacement);
    // Gives every frame its animation's size and its position, and every animation its save
    // index; done after a file was read.
    void Renumber();
};

} // namespace fenwold
