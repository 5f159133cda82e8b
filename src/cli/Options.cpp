#include "cli/Commands.h"

#include <algorithm>
#include <cctype>

namespace fenwold::cli {

const CLI::Validator& NonEmpty() {
    static const CLI::Validator validator(
        [](const std::string& text) { return text.empty() ? "must not be empty" : ""; },
        "NOT EMPTY", "NonEmpty");
    return validator;
}

const CLI::Validator& SeedNumber() {
    static const CLI::Validator validator(
        [](const std::string& text) -> std::string {
            const bool digits = !text.empty() && text.size() <= 10 &&
                                std::all_of(text.begin(), text.end(), [](char c) {
                                    return std::isdigit(static_cast<unsigned char>(c)) != 0;
                                });
            if (!digits || std::stoull(text) > 4294967295ull) {
                return "takes a whole number from 0 to 4294967295, not \"" + text + "\"";
            }
            return {};
        },
        "0..4294967295", "SeedNumber");
    return validator;
}

} // namespace fenwold::cli
