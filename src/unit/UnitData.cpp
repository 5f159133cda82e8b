#include "unit/UnitData.h"

#include <algorithm>
#include <iterator>

namespace fenwold {
namespace {

template <typename List>
auto* NthOrHead(List& list, int n) {
    using Element = typename List::value_type;
    if (list.empty() || n >= static_cast<int>(list.size())) {
        return static_cast<Element*>(nullptr);
    }
    return &*std::next(list.begin(), std::max(n, 0));
}

} // namespace

std::int32_t UnitData::TotalFrameCount() const {
    std::int32_t total = 0;
    for (const auto& animation : animations) {
        total += animation.FrameCount();
    }
    return total;
}

UnitAnimation& UnitData::AddAnimation(UnitAnimation record) {
    record.indexTables.clear();
    record.alphaTables.clear();
    return animations.emplace_back(std::move(record));
}

UnitAnimation* UnitData::AnimationAt(int n) {
    return NthOrHead(animations, n);
}

UnitAnimation* UnitData::FindAnimation(int position) {
    if (position < 0 || position >= AnimationCount()) {
        return nullptr;
    }
    return &*std::next(animations.begin(), position);
}

const UnitAnimation* UnitData::FindAnimation(int position) const {
    return const_cast<UnitData*>(this)->FindAnimation(position);
}

UnitGroup& UnitData::AddGroup() {
    return groups.emplace_back();
}

UnitGroup* UnitData::GroupAt(int n) {
    return NthOrHead(groups, n);
}

UnitGroup* UnitData::FindGroup(int index) {
    if (index < 0 || index >= GroupCount()) {
        return nullptr;
    }
    return &*std::next(groups.begin(), index);
}

void UnitData::RebuildGroups(std::span<const std::int32_t> memberCounts) {
    std::vector<std::vector<std::int32_t>> positions;
    std::int32_t next = 0;
    for (const std::int32_t count : memberCounts) {
        auto& members = positions.emplace_back();
        // The editor never asks for more animations than there are; should it, the groups end
        // with the list.
        for (std::int32_t slot = 0;
             slot < std::min(count, kMaxGroupMembers) && next < AnimationCount(); ++slot) {
            members.push_back(next++);
        }
    }
    RebuildGroupsAt(positions);
}

void UnitData::RebuildGroupsAt(std::span<const std::vector<std::int32_t>> memberPositions) {
    std::vector<GroupByPosition> fresh; // points at zero, as a new group has them
    for (const auto& positions : memberPositions) {
        fresh.push_back({.members = positions});
    }
    ReplaceGroups(fresh);
}

std::vector<GroupByPosition> UnitData::GroupsByPosition() const {
    std::vector<const UnitAnimation*> byPosition;
    for (const UnitAnimation& animation : animations) {
        byPosition.push_back(&animation);
    }
    std::vector<GroupByPosition> result;
    for (const UnitGroup& group : groups) {
        GroupByPosition& copy = result.emplace_back();
        copy.pointX = group.pointX;
        copy.pointY = group.pointY;
        for (const UnitAnimation* member : group.members) {
            const auto found = std::find(byPosition.begin(), byPosition.end(), member);
            if (found != byPosition.end()) {
                copy.members.push_back(static_cast<std::int32_t>(found - byPosition.begin()));
            }
        }
    }
    return result;
}

void UnitData::ReplaceGroups(std::span<const GroupByPosition> replacement) {
    std::vector<UnitAnimation*> byPosition;
    for (UnitAnimation& animation : animations) {
        animation.groupIndex = -1;
        byPosition.push_back(&animation);
    }
    groups.clear();
    for (const GroupByPosition& source : replacement) {
        const std::int32_t groupIndex = GroupCount();
        UnitGroup& group = AddGroup();
        group.pointX = source.pointX;
        group.pointY = source.pointY;
        for (const std::int32_t position : source.members) {
            if (position < 0 || position >= AnimationCount() ||
                group.MemberCount() == kMaxGroupMembers) {
                continue;
            }
            UnitAnimation* member = byPosition[static_cast<std::size_t>(position)];
            member->groupIndex = groupIndex;
            group.members.push_back(member);
        }
    }
}

void UnitData::Renumber() {
    std::int32_t saveIndex = 0;
    for (auto& animation : animations) {
        std::int32_t index = 0;
        for (auto& frame : animation.alphaTables) {
            frame.width = animation.width;
            frame.height = animation.height;
            frame.index = index++;
        }
        animation.saveIndex = saveIndex++;
    }
}

} // namespace fenwold
