#include "cli/Json.h"

#include <cmath>
#include <cstdio>

namespace fenwold::cli {

std::string JsonWriter::Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void JsonWriter::Key(std::string_view key) {
    if (!first_.back()) {
        text_ += ",";
    }
    first_.back() = false;
    if (!key.empty()) {
        text_ += Quoted(key) + ":";
    }
}

JsonWriter& JsonWriter::BeginObject(std::string_view key) {
    Key(key);
    text_ += "{";
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    first_.pop_back();
    text_ += "}";
    return *this;
}

JsonWriter& JsonWriter::BeginArray(std::string_view key) {
    Key(key);
    text_ += "[";
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    first_.pop_back();
    text_ += "]";
    return *this;
}

JsonWriter& JsonWriter::Value(std::string_view key, std::string_view text) {
    Key(key);
    text_ += Quoted(text);
    return *this;
}

JsonWriter& JsonWriter::Value(std::string_view key, std::int64_t number) {
    Key(key);
    text_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::Value(std::string_view key, double number) {
    Key(key);
    if (!std::isfinite(number)) {
        text_ += "null";
        return *this;
    }
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%.4f", number);
    text_ += formatted;
    return *this;
}

JsonWriter& JsonWriter::Value(std::string_view key, bool flag) {
    Key(key);
    text_ += flag ? "true" : "false";
    return *this;
}

} // namespace fenwold::cli
