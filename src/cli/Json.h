#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fenwold::cli {

// A small JSON writer for the machine-readable summaries: objects and arrays opened and closed
// in order, commas placed by the writer.
class JsonWriter {
public:
    JsonWriter& BeginObject(std::string_view key = {});
    JsonWriter& EndObject();
    JsonWriter& BeginArray(std::string_view key = {});
    JsonWriter& EndArray();
    JsonWriter& Value(std::string_view key, std::string_view text);
    JsonWriter& Value(std::string_view key, const char* text) {
        return Value(key, std::string_view(text));
    }
    JsonWriter& Value(std::string_view key, std::int64_t number);
    JsonWriter& Value(std::string_view key, int number) {
        return Value(key, static_cast<std::int64_t>(number));
    }
    JsonWriter& Value(std::string_view key, double number);
    JsonWriter& Value(std::string_view key, bool flag);
    // An array of numbers on one line.
    template <typename Range>
    JsonWriter& Numbers(std::string_view key, const Range& values) {
        BeginArray(key);
        for (const auto value : values) {
            Value({}, static_cast<std::int64_t>(value));
        }
        return EndArray();
    }

    const std::string& text() const { return text_; }

private:
    void Key(std::string_view key);
    static std::string Quoted(std::string_view text);

    std::string text_;
    std::vector<bool> first_{true};
};

} // namespace fenwold::cli
