#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fenwold {

struct DialogFilterEntry {
    std::string description;
    std::vector<std::string> patterns;
};

// Splits a Windows dialog filter "Description (*.ext)|*.ext;*.ex2|...||" into its entries.
std::vector<DialogFilterEntry> ParseDialogFilter(std::string_view filter);

// The same filter for a dialog on a case-sensitive file system: each pattern also in upper and
// lower case ("*.utd" matches walk.UTD too), entries joined by ";;" as Qt writes them.
std::string CaseInsensitiveQtFilter(std::string_view filter);

} // namespace fenwold
