#include "unit/CTempBufferDlg.h"

#include <charconv>

namespace fenwold {

bool CTempBufferDlg::Parse(const std::string& text, std::int32_t& value) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    while (begin != end && *begin == ' ') {
        ++begin;
    }
    while (end != begin && end[-1] == ' ') {
        --end;
    }
    std::int32_t parsed = 0;
    const auto [stop, error] = std::from_chars(begin, end, parsed);
    if (begin == end || error != std::errc() || stop != end) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace fenwold
