#pragma once

#include "image/SampleArt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fenwold::test {

// The sample art (walking figures with their masks, a house) drawn into a fresh folder.
class SampleFolder : public ::testing::Test {
protected:
    explicit SampleFolder(const SampleOptions& options)
        : set(WriteSampleSet(folder.path(), options)) {}

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    // Compresses the sample's figures and masks as one group into `base`.
    std::vector<std::string> CompressGroup(const std::string& base, int seed, int lookup) const {
        return {"compress",
                "-o",
                Path(base),
                "--seed",
                std::to_string(seed),
                "--lookup",
                std::to_string(lookup),
                "--group",
                Path("unit") + "," + Path("mask")};
    }

    TempFolder folder;
    SampleSet set;
};

} // namespace fenwold::test
