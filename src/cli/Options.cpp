#include "cli/Commands.h"
#include "cli/Console.h"

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
            if (!digits || std::stoull(text) > kLargestSeed) {
                return "takes a whole number from 0 to " + std::to_string(kLargestSeed) +
                       ", not \"" + text + "\"";
            }
            return {};
        },
        "0..4294967295", "SeedNumber");
    return validator;
}

std::pair<int, int> ParsePair(const std::string& text, char separator, const char* what) {
    const auto split = text.find(separator);
    try {
        if (split == std::string::npos) {
            throw std::invalid_argument(text);
        }
        std::size_t used = 0;
        const int first = std::stoi(text.substr(0, split), &used);
        const std::string rest = text.substr(split + 1);
        std::size_t usedRest = 0;
        const int second = std::stoi(rest, &usedRest);
        if (used != split || usedRest != rest.size()) {
            throw std::invalid_argument(text);
        }
        return {first, second};
    } catch (const std::exception&) {
        throw CliFailure(kExitUsage, std::string(what) + " takes two whole numbers like 100" +
                                         separator + "80, not \"" + text + "\"");
    }
}

} // namespace fenwold::cli
