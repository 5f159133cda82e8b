#include "support/TgaBuilder.h"

namespace fenwold::test {

TgaBuilder::TgaBuilder(int width, int height, int depth, bool runLength)
    : depth_(depth), bytes_(18, 0) {
    bytes_[2] = runLength ? 10 : 2;
    bytes_[12] = static_cast<std::uint8_t>(width);
    bytes_[13] = static_cast<std::uint8_t>(width >> 8);
    bytes_[14] = static_cast<std::uint8_t>(height);
    bytes_[15] = static_cast<std::uint8_t>(height >> 8);
    bytes_[16] = static_cast<std::uint8_t>(depth);
    bytes_[17] = depth == 32 ? 8 : 0;
}

TgaBuilder& TgaBuilder::Type(std::uint8_t type) {
    bytes_[2] = type;
    return *this;
}

TgaBuilder& TgaBuilder::Depth(std::uint8_t depth) {
    bytes_[16] = depth;
    return *this;
}

TgaBuilder& TgaBuilder::Descriptor(std::uint8_t descriptor) {
    bytes_[17] = descriptor;
    return *this;
}

TgaBuilder& TgaBuilder::Pixel(TgaColor colour) {
    bytes_.push_back(BlueOf(colour));
    bytes_.push_back(GreenOf(colour));
    bytes_.push_back(RedOf(colour));
    if (depth_ == 32) {
        bytes_.push_back(AlphaOf(colour));
    }
    return *this;
}

TgaBuilder& TgaBuilder::Pixels(std::span<const TgaColor> colours) {
    for (const TgaColor colour : colours) {
        Pixel(colour);
    }
    return *this;
}

TgaBuilder& TgaBuilder::Run(int count, TgaColor colour) {
    bytes_.push_back(static_cast<std::uint8_t>(0x80 | (count - 1)));
    return Pixel(colour);
}

TgaBuilder& TgaBuilder::Raw(std::span<const TgaColor> colours) {
    bytes_.push_back(static_cast<std::uint8_t>(colours.size() - 1));
    return Pixels(colours);
}

TgaBuilder& TgaBuilder::Byte(std::uint8_t value) {
    bytes_.push_back(value);
    return *this;
}

std::vector<std::uint8_t> TgaBuilder::Picture(int width, int height,
                                              std::span<const TgaColor> topRowFirst, int depth,
                                              bool runLength) {
    TgaBuilder builder(width, height, depth, runLength);
    for (int y = height - 1; y >= 0; --y) {
        const auto row = topRowFirst.subspan(static_cast<std::size_t>(y) * width, width);
        if (!runLength) {
            builder.Pixels(row);
            continue;
        }
        std::size_t x = 0;
        while (x < row.size()) {
            std::size_t same = 1;
            while (x + same < row.size() && same < 128 && row[x + same] == row[x]) {
                ++same;
            }
            if (same >= 2) {
                builder.Run(static_cast<int>(same), row[x]);
                x += same;
                continue;
            }
            std::size_t raw = 1;
            while (x + raw < row.size() && raw < 128 &&
                   !(x + raw + 1 < row.size() && row[x + raw] == row[x + raw + 1])) {
                ++raw;
            }
            builder.Raw(row.subspan(x, raw));
            x += raw;
        }
    }
    return builder.bytes();
}

std::vector<std::uint8_t> TgaBuilder::WithImageId(std::vector<std::uint8_t> file,
                                                   std::uint8_t length) {
    file[0] = length;
    std::vector<std::uint8_t> id(length);
    for (std::size_t i = 0; i < id.size(); ++i) {
        id[i] = static_cast<std::uint8_t>(0xC3 + 7 * i); // never mistaken for pixels
    }
    file.insert(file.begin() + 18, id.begin(), id.end());
    return file;
}

std::vector<std::uint8_t> TgaBuilder::WithColourMap(std::vector<std::uint8_t> file,
                                                    std::uint16_t entries) {
    file[1] = 1;
    file[5] = static_cast<std::uint8_t>(entries);
    file[6] = static_cast<std::uint8_t>(entries >> 8);
    file[7] = 24;
    file.insert(file.begin() + 18, std::size_t{entries} * 3, 0x9D);
    return file;
}

} // namespace fenwold::test
