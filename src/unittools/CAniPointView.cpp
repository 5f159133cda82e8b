#include "unittools/CAniPointView.h"

#include "building/CFenwoldDoc.h"
#include "image/PreviewDrawing.h"
#include "unit/AnimationDocument.h"
#include "unittools/RadialTables.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace fenwold {
namespace {

// Stored points wrap in their field's width, as the files keep them.
template <typename Field>
Field Added(Field value, int by) {
    using Unsigned = std::make_unsigned_t<Field>;
    return static_cast<Field>(
        static_cast<Unsigned>(static_cast<Unsigned>(value) + static_cast<Unsigned>(by)));
}

// A working point's coordinate as a 16-bit point: truncated toward zero, then wrapped.
std::int16_t TruncatedPoint(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double whole =
        std::clamp(std::trunc(static_cast<double>(value)), -2147483648.0, 2147483647.0);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::int64_t>(whole)));
}

template <typename Field>
bool StoreZero(Field& field) {
    return std::exchange(field, Field{0}) != 0;
}

} // namespace

void CAniPointView::SetMainAnimation(const AnimationRef& animation) {
    buildingMode_ = false;
    building_ = nullptr;
    main_ = animation;
    frame_ = 0;
    canvas_.Clear();
    FallBackWithoutGroup();
    const UnitAnimation* held = main_.Get();
    if (mode_ == Mode::Reverse && held != nullptr && held->groupIndex != reverseGroup_) {
        EnterReverse();
    }
}

void CAniPointView::SetBuilding(CFenwoldDoc& building) {
    buildingMode_ = true;
    building_ = &building;
    main_ = {};
    back_ = {};
    frame_ = 0;
    canvas_.Clear();
}

void CAniPointView::GroupsReplaced() {
    if (mode_ == Mode::Reverse) {
        mode_ = Mode::Total;
    }
    reverseGroup_ = -1;
    FallBackWithoutGroup();
}

void CAniPointView::FallBackWithoutGroup() {
    if ((mode_ == Mode::Group || mode_ == Mode::Reverse) && !HasGroup()) {
        mode_ = Mode::Total;
        reverseGroup_ = -1;
    }
}

void CAniPointView::SetMode(Mode mode) {
    mode_ = mode;
    FallBackWithoutGroup();
    if (mode_ == Mode::Reverse) {
        EnterReverse();
    }
}

// Each member keeps its own point plus the group's, so the group's point may become 0 without
// moving anyone; the working points start at the members' origins.
void CAniPointView::EnterReverse() {
    UnitGroup* group = MainGroup();
    if (group == nullptr) {
        mode_ = Mode::Total;
        return;
    }
    mode_ = Mode::Reverse;
    reverseGroup_ = main_.Get()->groupIndex;
    const auto i = static_cast<std::size_t>(point_);
    const bool changed = group->pointX[i] != 0 || group->pointY[i] != 0;
    for (UnitAnimation* member : group->members) {
        member->pointX[i] = Added(member->pointX[i], group->pointX[i]);
        member->pointY[i] = Added(member->pointY[i], group->pointY[i]);
        member->workingPointX = member->pointX[0];
        member->workingPointY = member->pointY[0];
    }
    group->pointX[i] = 0;
    group->pointY[i] = 0;
    if (changed) {
        MarkModified();
    }
}

void CAniPointView::MarkModified() {
    if (buildingMode_) {
        if (building_ != nullptr) {
            building_->SetModifiedFlag(true);
        }
    } else if (main_.Document() != nullptr) {
        main_.Document()->SetModifiedFlag(true);
    }
}

// Every member moves along its own spoke: member k of n at (span * k) / n degrees, turned a
// quarter. Only the larger component of the step counts, and only its sign gives the direction.
void CAniPointView::RadialMove(UnitGroup& group, int dx, int dy) {
    const int n = group.MemberCount();
    const int m = std::abs(dx) > std::abs(dy) ? dx : dy;
    const double r = std::sqrt(2.0 * m * m);
    const RadialTables& tables = Radial();
    for (int k = 0; k < n; ++k) {
        const int angle = (span_ * k) / n;
        int a = angle + 90;
        if (a >= RadialTables::kDegrees) {
            a -= RadialTables::kDegrees;
        }
        auto fx = static_cast<float>(r * tables.cosine[static_cast<std::size_t>(a)]);
        auto fy = static_cast<float>(r * tables.sine[static_cast<std::size_t>(a)]);
        if (m < 0) {
            fx = -fx;
            fy = -fy;
        }
        UnitAnimation& member = *group.members[static_cast<std::size_t>(k)];
        member.workingPointX += fx;
        member.workingPointY += fy;
        member.pointX[0] = TruncatedPoint(member.workingPointX);
        member.pointY[0] = TruncatedPoint(member.workingPointY);
    }
}

bool CAniPointView::Move(int dx, int dy) {
    const auto i = static_cast<std::size_t>(point_);
    if (buildingMode_) {
        BuildingRecord* record = building_ != nullptr ? building_->Record() : nullptr;
        if (record == nullptr) {
            return false;
        }
        record->pointX[i] = Added(record->pointX[i], dx);
        record->pointY[i] = Added(record->pointY[i], dy);
        MarkModified();
        return true;
    }
    UnitAnimation* animation = main_.Get();
    if (animation == nullptr) {
        return false;
    }
    UnitData& data = main_.Document()->Animations();
    UnitGroup* group = MainGroup();
    switch (mode_) {
    case Mode::Total:
        data.unitPointX[i] = Added(data.unitPointX[i], dx);
        data.unitPointY[i] = Added(data.unitPointY[i], dy);
        break;
    case Mode::Group:
        if (group == nullptr) {
            return false;
        }
        group->pointX[i] = Added(group->pointX[i], dx);
        group->pointY[i] = Added(group->pointY[i], dy);
        break;
    case Mode::Ani:
        animation->pointX[i] = Added(animation->pointX[i], dx);
        animation->pointY[i] = Added(animation->pointY[i], dy);
        break;
    case Mode::Reverse:
        if (group == nullptr || group->members.empty()) {
            return false;
        }
        RadialMove(*group, dx, dy);
        break;
    }
    MarkModified();
    return true;
}

bool CAniPointView::ResetPoint() {
    const auto i = static_cast<std::size_t>(point_);
    bool changed = false;
    if (buildingMode_) {
        if (BuildingRecord* record = building_ != nullptr ? building_->Record() : nullptr) {
            changed = StoreZero(record->pointX[i]) | StoreZero(record->pointY[i]);
        }
    } else if (UnitAnimation* animation = main_.Get()) {
        UnitData& data = main_.Document()->Animations();
        UnitGroup* group = MainGroup();
        switch (mode_) {
        case Mode::Total:
            changed = StoreZero(data.unitPointX[i]) | StoreZero(data.unitPointY[i]);
            break;
        case Mode::Group:
            if (group != nullptr) {
                changed = StoreZero(group->pointX[i]) | StoreZero(group->pointY[i]);
            }
            break;
        case Mode::Ani:
            changed = StoreZero(animation->pointX[i]) | StoreZero(animation->pointY[i]);
            break;
        case Mode::Reverse:
            break;
        }
    }
    if (changed) {
        MarkModified();
    }
    return changed;
}

std::optional<CAniPointView::Point> CAniPointView::CurrentPoint() const {
    const auto i = static_cast<std::size_t>(point_);
    if (buildingMode_) {
        const BuildingRecord* record = building_ != nullptr ? building_->Record() : nullptr;
        if (record == nullptr) {
            return std::nullopt;
        }
        return Point{record->pointX[i], record->pointY[i]};
    }
    const UnitAnimation* animation = main_.Get();
    if (animation == nullptr) {
        return std::nullopt;
    }
    const UnitData& data = main_.Document()->Animations();
    const UnitGroup* group = MainGroup();
    switch (mode_) {
    case Mode::Total:
        return Point{data.unitPointX[i], data.unitPointY[i]};
    case Mode::Group:
        if (group != nullptr) {
            return Point{group->pointX[i], group->pointY[i]};
        }
        break;
    case Mode::Ani:
        return Point{animation->pointX[i], animation->pointY[i]};
    case Mode::Reverse:
        if (group != nullptr && !group->members.empty()) {
            const UnitAnimation& first = *group->members.front();
            return Point{first.pointX[i], first.pointY[i]};
        }
        break;
    }
    return std::nullopt;
}

bool CAniPointView::Tick() {
    canvas_.Clear();
    const int step = Held(HeldKey::Control) ? 10 : 1;
    bool moved = false;
    if (Held(HeldKey::Left)) {
        moved |= Move(step, 0);
    }
    if (Held(HeldKey::Right)) {
        moved |= Move(-step, 0);
    }
    if (Held(HeldKey::Up)) {
        moved |= Move(0, step);
    }
    if (Held(HeldKey::Down)) {
        moved |= Move(0, -step);
    }
    if (buildingMode_) {
        if (const BuildingRecord* record = building_ != nullptr ? building_->Record() : nullptr) {
            DrawBuilding(*record);
        }
        canvas_.DrawCrosshair(kCrosshairColour);
        return moved;
    }
    if (main_.Get() == nullptr) {
        return moved;
    }
    FallBackWithoutGroup(); // the group may have gone since the last tick
    if (mode_ == Mode::Reverse) {
        DrawGroupMembers(*MainGroup());
    } else {
        DrawMain();
    }
    canvas_.DrawCrosshair(kCrosshairColour);
    return moved;
}

void CAniPointView::DrawMain() {
    const UnitAnimation& animation = *main_.Get();
    const Point point = CurrentPoint().value_or(Point{});
    const CanvasPoint corner =
        ClampedPoint(std::int64_t{animation.positionX} + PreviewCanvas::kCentreX - point.x,
                     std::int64_t{animation.positionY} + PreviewCanvas::kCentreY - point.y);
    if (frame_ >= animation.FrameCount()) {
        frame_ = 0;
    }
    DrawAnimationFrame(canvas_.Target(), corner, main_.Document()->Animations(), animation, frame_,
                       255);
    if (animation.FrameCount() > 0) {
        frame_ = (frame_ + 1) % animation.FrameCount();
    }
}

void CAniPointView::DrawGroupMembers(const UnitGroup& group) {
    const UnitData& data = main_.Document()->Animations();
    for (auto member = group.members.rbegin(); member != group.members.rend(); ++member) {
        const UnitAnimation& animation = **member;
        const CanvasPoint corner = ClampedPoint(
            std::int64_t{animation.positionX} + PreviewCanvas::kCentreX - animation.pointX[0],
            std::int64_t{animation.positionY} + PreviewCanvas::kCentreY - animation.pointY[0]);
        DrawAnimationFrame(canvas_.Target(), corner, data, animation, 0, 255);
    }
}

void CAniPointView::DrawBuilding(const BuildingRecord& record) {
    if (record.picture.size() != record.PixelCount()) {
        return;
    }
    const auto i = static_cast<std::size_t>(point_);
    DrawImage(PreviewCanvas::kWidth, PreviewCanvas::kHeight,
              PreviewCanvas::kCentreX - record.pointX[i],
              PreviewCanvas::kCentreY - record.pointY[i], record.width, record.height,
              record.picture, canvas_.pixels());
}

} // namespace fenwold
