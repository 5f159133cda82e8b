// Any file opened the way the desktop program opens it: into a unit holding tool data, a unit
// holding a game file and a building, each first opened from a small file of its own. A file
// that is taken has every frame of every animation drawn and is saved to memory, and what was
// saved must open again and save the same; a file that is refused must leave the document as it
// was.
#include "FuzzSupport.h"
#include "building/BuildingFile.h"
#include "building/CFenwoldDoc.h"
#include "platform/ScriptedPlatform.h"
#include "unit/GameDataFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <vector>

using namespace fenwold;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A plain write: the atomic one syncs every file to disk, which would dominate every run.
void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        fuzz::Broken("cannot write the scratch folder");
    }
}

// A folder of this process's own (fuzzing may run several), with the documents' first files.
struct Scratch {
    std::filesystem::path folder;

    Scratch()
        : folder(std::filesystem::temp_directory_path() /
                 ("fenwold-fuzz-documents-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder);
        UnitData unit = fuzz::MakeSmallUnit(1);
        WriteFile(folder / "first.UTD", EncodeToolData(unit, "first.UTD"));
        WriteFile(folder / "first.UPT", EncodeGameData(unit, true, "first.UPT"));
        WriteFile(folder / "first.BPT", EncodeBuildingFile(fuzz::MakeSmallBuildingRecord(), unit,
                                                           ColourVariant::Pixel555, 0));
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

const UnitData& AnimationsOf(const CUnitDoc& doc) {
    return doc.Data();
}
const UnitData& AnimationsOf(const CFenwoldDoc& doc) {
    return doc.Animations();
}

Bytes SavedUnit(CUnitDoc& doc) {
    if (doc.ToolDataFlag()) {
        // Save writes both; only the tool data file is opened again.
        EncodeGameData(doc.Data(), true, "saved.UPT");
        return EncodeToolData(doc.Data(), "saved.UTD");
    }
    return EncodeGameData(doc.Data(), false, "saved.UPT");
}

Bytes SavedBuilding(const CFenwoldDoc& doc) {
    if (doc.Record() == nullptr) {
        return {};
    }
    EncodeBuildingFile(*doc.Record(), doc.Animations(), ColourVariant::Pixel565,
                       doc.GameDataSize());
    return EncodeBuildingFile(*doc.Record(), doc.Animations(), ColourVariant::Pixel555,
                              doc.GameDataSize());
}

template <typename Document, typename Save>
void OpenInto(const Scratch& scratch, const std::filesystem::path& first, bool toolData,
              Save save) {
    ScriptedPlatform platform(scratch.folder);
    Document doc(platform.Get());
    if constexpr (std::is_same_v<Document, CUnitDoc>) {
        doc.SetToolDataFlag(toolData);
    }
    if (!doc.OnOpenDocument(scratch.folder / first)) {
        fuzz::Broken("the document's first file was refused");
    }
    const Bytes before = save(doc);
    const std::string title = doc.Title();
    if (!doc.OnOpenDocument(scratch.folder / "input")) {
        if (save(doc) != before || doc.Title() != title) {
            fuzz::Broken("a refused file changed the open document");
        }
        return;
    }
    fuzz::DrawEveryFrame(AnimationsOf(doc));
    const Bytes saved = save(doc);
    if (saved.empty()) {
        return; // a building file of another version leaves nothing to save
    }
    WriteFile(scratch.folder / "saved", saved);
    Document again(platform.Get());
    if constexpr (std::is_same_v<Document, CUnitDoc>) {
        again.SetToolDataFlag(toolData);
    }
    if (!again.OnOpenDocument(scratch.folder / "saved") || save(again) != saved) {
        fuzz::Broken("a document saved after opening a file does not open to the same document");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    WriteFile(scratch.folder / "input", std::span(data, size));
    OpenInto<CUnitDoc>(scratch, "first.UTD", true, SavedUnit);
    OpenInto<CUnitDoc>(scratch, "first.UPT", false, SavedUnit);
    OpenInto<CFenwoldDoc>(scratch, "first.BPT", false, SavedBuilding);
    return 0;
}
