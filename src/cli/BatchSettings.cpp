#include "cli/BatchSettings.h"

#include "building/BuildingRecord.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"
#include "vq/CompressionRun.h"

#include <algorithm>
#include <initializer_list>
#include <limits>

namespace fenwold::cli {
namespace {

class SettingsReader {
public:
    explicit SettingsReader(const std::filesystem::path& path)
        : path_(path), folder_(path.parent_path()) {}

    [[noreturn]] void Fail(const std::string& key, const std::string& reason) const {
        throw CliFailure(kExitFileFailure,
                         path_.string() + ": " + (key.empty() ? "" : key + ": ") + reason);
    }

    // The object at `key`, with nothing in it but the known keys.
    const Json& Object(const Json& value, const std::string& key,
                       std::initializer_list<std::string_view> known) const {
        if (!value.is_object()) {
            Fail(key, "must be an object");
        }
        for (const auto& item : value.items()) {
            bool found = false;
            std::string list;
            for (const auto name : known) {
                found = found || item.key() == name;
                list += (list.empty() ? "" : ", ") + std::string(name);
            }
            if (!found) {
                Fail(Join(key, item.key()), "unknown key (known: " + list + ")");
            }
        }
        return value;
    }

    const Json& Array(const Json& value, const std::string& key) const {
        if (!value.is_array()) {
            Fail(key, "must be an array");
        }
        return value;
    }

    std::string String(const Json& value, const std::string& key) const {
        if (!value.is_string()) {
            Fail(key, "must be a text");
        }
        return value.get<std::string>();
    }

    bool Bool(const Json& value, const std::string& key) const {
        if (!value.is_boolean()) {
            Fail(key, "must be true or false");
        }
        return value.get<bool>();
    }

    std::int64_t Integer(const Json& value, const std::string& key, std::int64_t least,
                         std::int64_t most) const {
        if (!value.is_number_integer() ||
            (value.is_number_unsigned() &&
             value.get<std::uint64_t>() > static_cast<std::uint64_t>(most)) ||
            value.get<std::int64_t>() < least || value.get<std::int64_t>() > most) {
            Fail(key, "must be a whole number from " + std::to_string(least) + " to " +
                          std::to_string(most));
        }
        return value.get<std::int64_t>();
    }

    // A name the outputs are called by: a plain file name without a dot, which would cut it.
    std::string Name(const Json& value, const std::string& key) const {
        const std::string name = String(value, key);
        if (name.empty() || name.front() == '-' ||
            name.find_first_of("./\\:") != std::string::npos ||
            std::any_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
            Fail(key, "\"" + name +
                          "\" cannot name files: use letters, digits, \"-\" and \"_\" (no \".\", "
                          "\"/\" or \":\")");
        }
        return name;
    }

    // A file or folder that must exist, relative to the settings file's folder.
    std::string Path(const Json& value, const std::string& key) const {
        const std::string path = String(value, key);
        if (path.empty()) {
            Fail(key, "must name a file or folder");
        }
        if (path.find_first_of(",\n\r") != std::string::npos) {
            Fail(key, "\"" + path + "\": a path with a comma or a line break cannot be passed on");
        }
        std::error_code error;
        if (!std::filesystem::exists(folder_ / path, error)) {
            Fail(key, "\"" + path + "\": no such file or folder");
        }
        return path;
    }

    static std::string Join(const std::string& key, std::string_view name) {
        return key.empty() ? std::string(name) : key + "." + std::string(name);
    }
    static std::string At(const std::string& key, std::size_t index) {
        return key + "[" + std::to_string(index) + "]";
    }

private:
    std::filesystem::path path_;
    std::filesystem::path folder_;
};

SeriesSetting ReadSeries(const SettingsReader& reader, const Json& value, const std::string& key,
                         std::initializer_list<std::string_view> known) {
    reader.Object(value, key, known);
    if (!value.contains("pictures")) {
        reader.Fail(SettingsReader::Join(key, "pictures"), "missing");
    }
    SeriesSetting series;
    series.pictures = reader.Path(value["pictures"], SettingsReader::Join(key, "pictures"));
    if (value.contains("masks")) {
        series.masks = reader.Path(value["masks"], SettingsReader::Join(key, "masks"));
    }
    return series;
}

std::vector<SeriesSetting> ReadSeriesList(const SettingsReader& reader, const Json& object,
                                          const std::string& key, std::string_view name) {
    std::vector<SeriesSetting> list;
    if (!object.contains(name)) {
        return list;
    }
    const std::string listKey = SettingsReader::Join(key, name);
    const Json& values = reader.Array(object[std::string(name)], listKey);
    for (std::size_t i = 0; i < values.size(); ++i) {
        list.push_back(
            ReadSeries(reader, values[i], SettingsReader::At(listKey, i), {"pictures", "masks"}));
    }
    return list;
}

CompressionSetting ReadCompression(const SettingsReader& reader, const Json& object,
                                   const std::string& key) {
    CompressionSetting compression;
    const auto field = [&](std::string_view name) { return SettingsReader::Join(key, name); };
    if (object.contains("lookup")) {
        compression.lookup =
            static_cast<int>(reader.Integer(object["lookup"], field("lookup"), 1, 65534));
    }
    if (object.contains("weight")) {
        compression.weight = reader.String(object["weight"], field("weight"));
        if (compression.weight != "none" && compression.weight != "average" &&
            compression.weight != "max") {
            reader.Fail(field("weight"), "\"" + compression.weight +
                                             "\" is not one of \"none\", \"average\", \"max\"");
        }
    }
    if (object.contains("sampling")) {
        compression.sampling = reader.Bool(object["sampling"], field("sampling"));
    }
    if (object.contains("lbg")) {
        compression.lbg = reader.Bool(object["lbg"], field("lbg"));
    }
    if (object.contains("seed")) {
        compression.seed = static_cast<std::uint64_t>(reader.Integer(
            object["seed"], field("seed"), 0, static_cast<std::int64_t>(kLargestSeed)));
    }
    if (object.contains("refine")) {
        compression.refine = static_cast<int>(
            reader.Integer(object["refine"], field("refine"), 0, kMaxRefinePasses));
        if (compression.refine > 0 && !compression.lbg) {
            reader.Fail(field("refine"), "a table of every block (\"lbg\": false) is not refined");
        }
    }
    if (object.contains("min_psnr")) {
        const Json& value = object["min_psnr"];
        if (!value.is_number() || value.get<double>() < 0.0 || value.get<double>() > 1000.0) {
            reader.Fail(field("min_psnr"), "must be a number of dB from 0 to 1000");
        }
        compression.minPsnr = value.get<double>();
    }
    return compression;
}

std::string RequiredName(const SettingsReader& reader, const Json& object, const std::string& key) {
    if (!object.contains("name")) {
        reader.Fail(SettingsReader::Join(key, "name"), "missing");
    }
    return reader.Name(object["name"], SettingsReader::Join(key, "name"));
}

UnitSetting ReadUnit(const SettingsReader& reader, const Json& object, const std::string& key) {
    reader.Object(object, key,
                  {"name", "groups", "series", "lookup", "weight", "sampling", "lbg", "seed",
                   "refine", "min_psnr", "team_colours"});
    UnitSetting unit;
    unit.name = RequiredName(reader, object, key);
    unit.groups = ReadSeriesList(reader, object, key, "groups");
    unit.series = ReadSeriesList(reader, object, key, "series");
    if (unit.groups.empty() && unit.series.empty()) {
        reader.Fail(key, "names no series: give \"groups\" or \"series\"");
    }
    unit.compression = ReadCompression(reader, object, key);
    if (object.contains("team_colours")) {
        unit.teamColours =
            reader.Path(object["team_colours"], SettingsReader::Join(key, "team_colours"));
    }
    return unit;
}

BuildingSetting ReadBuilding(const SettingsReader& reader, const Json& object,
                             const std::string& key) {
    reader.Object(object, key,
                  {"name", "picture", "mask", "team_colours", "animations", "lookup", "weight",
                   "sampling", "lbg", "seed"});
    BuildingSetting building;
    building.name = RequiredName(reader, object, key);
    for (const auto field : {"picture", "mask"}) {
        if (!object.contains(field)) {
            reader.Fail(SettingsReader::Join(key, field), "missing");
        }
    }
    building.picture = reader.Path(object["picture"], SettingsReader::Join(key, "picture"));
    building.mask = reader.Path(object["mask"], SettingsReader::Join(key, "mask"));
    if (object.contains("team_colours")) {
        building.teamColours =
            reader.Path(object["team_colours"], SettingsReader::Join(key, "team_colours"));
    }
    if (object.contains("animations")) {
        const std::string listKey = SettingsReader::Join(key, "animations");
        const Json& values = reader.Array(object["animations"], listKey);
        if (values.size() > static_cast<std::size_t>(kMaxBuildingAnimations)) {
            reader.Fail(listKey, "a building holds at most " +
                                     std::to_string(kMaxBuildingAnimations) + " animations");
        }
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::string itemKey = SettingsReader::At(listKey, i);
            BuildingAnimationSetting animation;
            animation.series =
                ReadSeries(reader, values[i], itemKey, {"pictures", "masks", "position"});
            const std::string positionKey = SettingsReader::Join(itemKey, "position");
            if (!values[i].contains("position")) {
                reader.Fail(positionKey, "missing");
            }
            const Json& position = reader.Array(values[i]["position"], positionKey);
            if (position.size() != 2) {
                reader.Fail(positionKey, "must be [x, y]");
            }
            animation.x = static_cast<int>(reader.Integer(position[0], positionKey, -32768, 32767));
            animation.y = static_cast<int>(reader.Integer(position[1], positionKey, -32768, 32767));
            building.animations.push_back(std::move(animation));
        }
    }
    building.compression = ReadCompression(reader, object, key);
    return building;
}

Json SeriesJson(const SeriesSetting& series) {
    Json value = {{"pictures", series.pictures}};
    if (!series.masks.empty()) {
        value["masks"] = series.masks;
    }
    return value;
}

void AddCompressionJson(Json& value, const CompressionSetting& compression) {
    value["lookup"] = compression.lookup;
    value["weight"] = compression.weight;
    value["sampling"] = compression.sampling;
    value["lbg"] = compression.lbg;
    value["seed"] = compression.seed;
}

} // namespace

Settings ReadSettings(const std::filesystem::path& path) {
    const SettingsReader reader(path);
    Json document;
    try {
        const auto bytes = ReadWholeFile(path);
        document = Json::parse(bytes.begin(), bytes.end());
    } catch (const FileError& error) {
        throw CliFailure(kExitFileFailure, error.what());
    } catch (const Json::parse_error& error) {
        reader.Fail("", std::string("not valid JSON: ") + error.what());
    }
    reader.Object(document, "", {"units", "buildings"});
    Settings settings;
    for (const auto* part : {"units", "buildings"}) {
        if (!document.contains(part)) {
            continue;
        }
        const Json& list = reader.Array(document[part], part);
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string key = SettingsReader::At(part, i);
            if (std::string_view(part) == "units") {
                settings.units.push_back(ReadUnit(reader, list[i], key));
            } else {
                settings.buildings.push_back(ReadBuilding(reader, list[i], key));
            }
        }
    }
    return settings;
}

std::string SettingsText(const Settings& settings) {
    Json units = Json::array();
    for (const auto& unit : settings.units) {
        Json value = {{"name", unit.name}};
        Json groups = Json::array();
        for (const auto& group : unit.groups) {
            groups.push_back(SeriesJson(group));
        }
        Json series = Json::array();
        for (const auto& one : unit.series) {
            series.push_back(SeriesJson(one));
        }
        value["groups"] = std::move(groups);
        value["series"] = std::move(series);
        AddCompressionJson(value, unit.compression);
        value["refine"] = unit.compression.refine;
        if (unit.compression.minPsnr) {
            value["min_psnr"] = *unit.compression.minPsnr;
        }
        if (!unit.teamColours.empty()) {
            value["team_colours"] = unit.teamColours;
        }
        units.push_back(std::move(value));
    }
    Json buildings = Json::array();
    for (const auto& building : settings.buildings) {
        Json value = {
            {"name", building.name}, {"picture", building.picture}, {"mask", building.mask}};
        if (!building.teamColours.empty()) {
            value["team_colours"] = building.teamColours;
        }
        Json animations = Json::array();
        for (const auto& animation : building.animations) {
            Json item = SeriesJson(animation.series);
            item["position"] = {animation.x, animation.y};
            animations.push_back(std::move(item));
        }
        value["animations"] = std::move(animations);
        AddCompressionJson(value, building.compression);
        buildings.push_back(std::move(value));
    }
    return DumpJson({{"units", std::move(units)}, {"buildings", std::move(buildings)}}, 2) + "\n";
}

} // namespace fenwold::cli
