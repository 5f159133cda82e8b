#pragma once

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

namespace fenwold::cli {

// Keys stay in the order they were set, so that every summary and sheet reads in the same order.
using Json = nlohmann::ordered_json;

// The text of a value: compact with indent -1, else pretty. Bytes that are not UTF-8 (a file
// name from another system, say) are replaced rather than failing the command.
inline std::string DumpJson(const Json& value, int indent = -1) {
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

// Whole numbers of any type as an array.
template <typename Range>
Json NumberList(const Range& values) {
    Json list = Json::array();
    for (const auto value : values) {
        list.push_back(static_cast<std::int64_t>(value));
    }
    return list;
}

// A measured figure with four decimals; null when it is not finite (an exact copy's PSNR).
inline Json Measured(double value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    return std::round(value * 10000.0) / 10000.0;
}

} // namespace fenwold::cli
