#include "unittools/CAlphaValueChangeDlg.h"

#include "unit/CTempBufferDlg.h"
#include "unit/UnitDoc.h"
#include "unittools/SequenceValueDialogs.h"
#include "vq/RowEncoding.h"

#include <algorithm>

namespace fenwold {
namespace {

constexpr int kOpaque = 255;
constexpr int kTopLevel = 248;

} // namespace

void CAlphaChangeView::SetAlphaValue(int alphaValue) {
    alphaValue_ = std::clamp(alphaValue, 0, kOpaque);
}

void CAlphaChangeView::Tick() {
    canvas_.Clear();
    const UnitAnimation* animation = animation_.Get();
    if (animation == nullptr || animation->FrameCount() == 0) {
        return;
    }
    if (frame_ >= animation->FrameCount()) {
        frame_ = 0;
    }
    const CanvasPoint corner{PreviewCanvas::kCentreX - animation->width / 2,
                             PreviewCanvas::kCentreY - animation->height / 2};
    DrawAnimationFrame(canvas_.Target(), corner, animation_.Document()->Animations(), *animation,
                       frame_, alphaValue_);
    frame_ = (frame_ + 1) % animation->FrameCount();
}

void CAlphaValueChangeDlg::OnAlphaSpin(int value) {
    alphaValue_ = std::clamp(value, 0, kOpaque);
    view_.SetAlphaValue(alphaValue_);
}

void CAlphaValueChangeDlg::OnAlphaText(const std::string& text) {
    std::int32_t value = 0;
    if (CTempBufferDlg::Parse(text, value)) {
        view_.SetAlphaValue(value);
    }
}

void CAlphaValueChangeDlg::OnZoomSpin(int zoom) {
    view_.SetZoom(std::clamp(zoom, 1, kMaximumZoom));
}

std::optional<std::string> CAlphaValueChangeDlg::Accept(const std::string& text, int scope) {
    CSetAlphaValueDlg check; // the same whole number from 0 to 255
    if (auto refused = check.Accept(text)) {
        return refused;
    }
    alphaValue_ = check.value;
    scope_ = scope;
    return std::nullopt;
}

bool ChangeAlpha(UnitAnimation& animation, int alphaValue) {
    if (animation.maskFlag != 0 || alphaValue >= kOpaque) {
        return false;
    }
    const int lower = kOpaque - std::max(alphaValue, 0);
    bool changed = false;
    for (AlphaTableNode& node : animation.alphaTables) {
        std::vector<std::uint8_t> plane = DecodeAlphaTable(node.bytes, node.width, node.height);
        for (std::uint8_t& a : plane) {
            int value = std::max(a - lower, 0);
            if (value == kTopLevel) {
                value = kOpaque;
            }
            a = static_cast<std::uint8_t>(value);
        }
        std::vector<std::uint8_t> encoded;
        const auto width = static_cast<std::size_t>(std::max(node.width, 0));
        for (int y = 0; y < node.height; ++y) {
            AppendAlphaRow(std::span(plane).subspan(static_cast<std::size_t>(y) * width, width),
                           encoded);
        }
        changed |= encoded != node.bytes;
        node.bytes = std::move(encoded);
    }
    return changed;
}

bool RunAlphaValueChangeCommand(CUnitDoc& unit, int position,
                                const std::function<bool(CAlphaValueChangeDlg&)>& run) {
    CAlphaValueChangeDlg dialog(AnimationRef(unit, position));
    if (!run(dialog)) {
        return false;
    }
    bool changed = false;
    if (dialog.Scope() == CAlphaValueChangeDlg::kScopeTotal) {
        for (UnitAnimation& animation : unit.Data().animations) {
            changed |= ChangeAlpha(animation, dialog.AlphaValue());
        }
    } else if (UnitAnimation* animation = unit.Data().FindAnimation(position)) {
        changed = ChangeAlpha(*animation, dialog.AlphaValue());
    }
    if (changed) {
        unit.SetModifiedFlag(true);
        unit.Notify(DocumentEvent::Repaint);
    }
    return changed;
}

} // namespace fenwold
