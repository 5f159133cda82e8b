#include "unit/ToolHandOver.h"

#include "unit/AnimationDocument.h"

#include <iterator>

namespace fenwold {

UnitAnimation* AnimationRef::Get() const {
    return document_ != nullptr ? document_->Animations().FindAnimation(position_) : nullptr;
}

UnitGroup* AnimationRef::Group() const {
    const UnitAnimation* animation = Get();
    return animation != nullptr ? document_->Animations().FindGroup(animation->groupIndex)
                                : nullptr;
}

const RegisteredAnimation* RegisteredHandOver::Get() const {
    if (list == nullptr || position < 0 || position >= static_cast<int>(list->size())) {
        return nullptr;
    }
    return &*std::next(list->begin(), position);
}

} // namespace fenwold
