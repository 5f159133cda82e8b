#include "cli/QualityReport.h"

namespace fenwold::cli {

QualityFigures MeasureUnit(const std::list<RegisteredAnimation>& registered, const UnitData& data) {
    std::vector<CompressedAnimationView> views;
    for (const UnitAnimation& animation : data.animations) {
        views.push_back(ViewOfRecord(animation));
    }
    return MeasureCompression(RefsTo(registered), views, data.codebook.InUse(),
                              data.codebook.blockFlag);
}

std::string AnimationName(const RegisteredAnimation& animation, int index) {
    std::string name = "animation " + std::to_string(index);
    if (!animation.frames.empty() && !animation.frames.front().source.empty()) {
        name += " (" + animation.frames.front().source.string() + ")";
    }
    return name;
}

void PrintQuality(std::ostream& out, const QualityFigures& figures) {
    const std::vector<std::string> lines = QualityLines(figures);
    out << lines.front() << '\n';
    for (std::size_t a = 0; a < figures.animations.size(); ++a) {
        out << "animation " << a << ": " << PsnrText(figures.animations[a].compression) << '\n';
    }
    for (std::size_t line = 1; line < lines.size(); ++line) {
        out << lines[line] << '\n';
    }
}

void AddQualityJson(Json& json, const QualityFigures& figures) {
    Json perAnimation = Json::array();
    for (const AnimationQuality& animation : figures.animations) {
        perAnimation.push_back(Measured(animation.compression.Psnr()));
    }
    const int worst = figures.Worst();
    json["psnr"] = std::move(perAnimation);
    json["psnr_unit"] = Measured(figures.Pooled().Psnr());
    json["worst_animation"] = worst;
    json["worst_psnr"] =
        worst < 0
            ? Json(nullptr)
            : Measured(figures.animations[static_cast<std::size_t>(worst)].compression.Psnr());
    json["lossless"] = figures.Pooled().Exact();
    const auto reading = figures.PooledConversion();
    json["reading_psnr"] = reading ? Measured(reading->Psnr()) : Json(nullptr);
    json["reading_measured"] = figures.ConversionsMeasured();
}

} // namespace fenwold::cli
