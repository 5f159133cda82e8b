#include "platform/DialogFilter.h"

#include <algorithm>
#include <cctype>

namespace fenwold {
namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Mapped(std::string text, int (*map)(int)) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [map](char c) { return static_cast<char>(map(static_cast<unsigned char>(c))); });
    return text;
}

} // namespace

std::vector<DialogFilterEntry> ParseDialogFilter(std::string_view filter) {
    std::vector<DialogFilterEntry> entries;
    const auto parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) {
            break; // the "||" that ends the filter
        }
        entries.push_back({parts[i], Split(parts[i + 1], ';')});
    }
    return entries;
}

std::string CaseInsensitiveQtFilter(std::string_view filter) {
    std::string result;
    for (const auto& entry : ParseDialogFilter(filter)) {
        std::vector<std::string> patterns;
        for (const auto& pattern : entry.patterns) {
            for (auto variant : {pattern, Mapped(pattern, ::tolower), Mapped(pattern, ::toupper)}) {
                if (std::find(patterns.begin(), patterns.end(), variant) == patterns.end()) {
                    patterns.push_back(variant);
                }
            }
        }
        std::string joined;
        for (const auto& pattern : patterns) {
            joined += (joined.empty() ? "" : " ") + pattern;
        }
        if (!result.empty()) {
            result += ";;";
        }
        // Qt reads the patterns from the last parentheses of the entry.
        result += entry.description + " (" + joined + ")";
    }
    return result;
}

} // namespace fenwold
