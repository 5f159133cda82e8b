#pragma once

#include "unit/ToolHandOver.h"
#include "unittools/PreviewCanvas.h"

#include <functional>
#include <optional>
#include <string>

namespace fenwold {

class CUnitDoc;

// The alpha change's preview: the animation plays frame by frame, centred on the canvas, drawn
// with the chosen alpha value as its overall alpha.
class CAlphaChangeView {
public:
    static constexpr int kTimerMilliseconds = 2;

    explicit CAlphaChangeView(const AnimationRef& animation) : animation_(animation) {}

    // Kept within 0 to 255, whatever the edit box holds.
    void SetAlphaValue(int alphaValue);
    int AlphaValue() const { return alphaValue_; }
    void SetZoom(int zoom) { zoom_ = zoom; }
    int Zoom() const { return zoom_; }

    // Timer 0: the current frame is drawn, then the next becomes current (the first after the
    // last).
    void Tick();
    const PreviewCanvas& Canvas() const { return canvas_; }
    int CurrentFrame() const { return frame_; }

private:
    AnimationRef animation_;
    PreviewCanvas canvas_;
    int frame_ = 0;
    int alphaValue_ = 255;
    int zoom_ = 1;
};

// "Alpha value change", the modal dialog of "Alpha &value change ": the alpha value (0 to 255,
// spin and edit box), the scope ("Total": every animation of the unit; "Ani" and "Frame": the
// current one) and the preview's zoom. On OK every alpha of the chosen frames is lowered by
// 255 - A.
class CAlphaValueChangeDlg {
public:
    static constexpr int kDialogId = 215;
    static constexpr const char* kCaption = "Alpha value change";
    static constexpr const char* kScopeTexts[] = {"Total", "Ani", "Frame"};
    static constexpr int kScopeTotal = 0;
    static constexpr int kMaximumZoom = 4;

    explicit CAlphaValueChangeDlg(const AnimationRef& animation) : view_(animation) {}

    CAlphaChangeView& View() { return view_; }
    int AlphaValue() const { return alphaValue_; }
    int Scope() const { return scope_; }
    std::string ZoomText() const { return "x" + std::to_string(view_.Zoom()); }

    void OnAlphaSpin(int value);
    // The edit box's text changed: the preview shows it (kept within 0 to 255); the spin follows.
    void OnAlphaText(const std::string& text);
    void OnZoomSpin(int zoom);
    // OK with the edit box's text and the scope combo's selection: returns the message that
    // refuses the text (the dialog stays open), or nothing.
    std::optional<std::string> Accept(const std::string& text, int scope);

private:
    CAlphaChangeView view_;
    int alphaValue_ = 255;
    int scope_ = kScopeTotal;
};

// Lowers every alpha of the animation's frames: a becomes a + A - 255, at least 0 (the level 248
// is stored as 255, as the encoder stores it), and each table is encoded again. Team-coloured
// animations keep their tables, which hold team marks rather than alpha values. Returns whether
// a table changed; A = 255 changes none.
bool ChangeAlpha(UnitAnimation& animation, int alphaValue);

// Runs "Alpha &value change " for the animation at `position`: `run` shows the dialog and says
// whether it closed with OK. On OK the chosen animations change; the unit is modified when a
// table changed. Returns whether anything changed.
bool RunAlphaValueChangeCommand(CUnitDoc& unit, int position,
                                const std::function<bool(CAlphaValueChangeDlg&)>& run);

} // namespace fenwold
