#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fenwold {

// A modal dialog of the animation edit window that asks for one whole number, with OK and
// Cancel. The value is shown when the dialog opens and taken on OK; a text that is not a whole
// number, or a number outside the accepted range, is refused with a message and the dialog stays
// open.
class SequenceValueDialog {
public:
    std::string_view Caption() const { return caption_; }
    std::string_view Label() const { return label_; }
    int EditId() const { return editId_; }

    std::int32_t value = 0;

    // OK with the edit box's text: stores the value and returns nothing, or returns the message
    // that refuses the text (the value stays).
    std::optional<std::string> Accept(const std::string& text);

protected:
    struct Range {
        std::int32_t minimum;
        std::int32_t maximum;
    };
    SequenceValueDialog(std::string_view caption, std::string_view label, int editId,
                        std::optional<Range> range)
        : caption_(caption), label_(label), editId_(editId), range_(range) {}

private:
    std::string_view caption_;
    std::string_view label_;
    int editId_;
    std::optional<Range> range_;
};

// "Set delay": the delay of the selected entries, in 16 ms steps, 0 to 120.
class CSetDelayDlg final : public SequenceValueDialog {
public:
    static constexpr std::int32_t kMaximum = 120;
    CSetDelayDlg() : SequenceValueDialog("Set delay", "Set delay:", 1071, Range{0, kMaximum}) {}
};

// "Set attrib": the attribute of the selected entries, any whole number; the entries keep its
// low 16 bits.
class CSetAttribDlg final : public SequenceValueDialog {
public:
    CSetAttribDlg() : SequenceValueDialog("Set attrib", "Set Attrib", 1136, std::nullopt) {}
};

// "Set alpha value": the alpha value of the selected entries, 0 (transparent) to 255.
class CSetAlphaValueDlg final : public SequenceValueDialog {
public:
    CSetAlphaValueDlg()
        : SequenceValueDialog("Set alpha value", "Alpha value:", 1152, Range{0, 255}) {}
};

} // namespace fenwold
