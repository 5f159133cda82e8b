#include "unit/CompressedAnimations.h"

namespace fenwold {

UnitAnimation MakeUnitAnimation(EncodedAnimation encoded) {
    const RegisteredAnimationFields& fields = encoded.fields;
    UnitAnimation animation;
    animation.positionX = fields.positionX;
    animation.positionY = fields.positionY;
    animation.extra0 = fields.extra0;
    animation.extra1 = fields.extra1;
    animation.groupIndex = -1;
    animation.maskFlag = fields.maskFlag;
    animation.sequenceLength = fields.sequenceLength;
    animation.attribute = fields.attribute;
    animation.frameNumber = fields.frameNumber;
    animation.alphaValue = fields.alphaValue;
    animation.delay.fill(4);
    animation.width = fields.width;
    animation.height = fields.height;
    animation.pointX = fields.pointX;
    animation.pointY = fields.pointY;
    animation.checkBoxX = fields.checkBoxX;
    animation.checkBoxY = fields.checkBoxY;
    animation.checkBoxWidth = fields.checkBoxWidth;
    animation.checkBoxHeight = fields.checkBoxHeight;
    animation.tempBuffer = fields.tempBuffer;
    animation.indexTables.reserve(encoded.indexTables.size());
    for (auto& table : encoded.indexTables) {
        animation.indexTables.push_back({std::move(table)});
    }
    animation.alphaTables.reserve(encoded.alphaTables.size());
    for (auto& table : encoded.alphaTables) {
        AlphaTableNode& node = animation.alphaTables.emplace_back();
        node.width = table.width;
        node.height = table.height;
        node.bytes = std::move(table.bytes);
    }
    return animation;
}

std::list<UnitAnimation> MakeCompressedAnimations(std::vector<EncodedAnimation> encoded) {
    std::list<UnitAnimation> animations;
    std::int32_t position = 0;
    for (auto& source : encoded) {
        UnitAnimation& animation = animations.emplace_back(MakeUnitAnimation(std::move(source)));
        std::int32_t index = 0;
        for (auto& frame : animation.alphaTables) {
            frame.index = index++;
        }
        animation.blockFlag = 1;
        animation.loadIndex = position;
        animation.saveIndex = position++;
    }
    return animations;
}

} // namespace fenwold
