#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// Encoded rows, as the index tables and alpha tables hold them. A row is framed by its length L
// in bytes: L / 255 bytes 0xFF, then L mod 255, then the L token bytes. An empty row is the
// single byte 0.
//
// 7-bit scheme (index rows with 16-bit little-endian values, alpha rows of plain frames with
// 8-bit values): a header byte h; bit 7 set: a run, one value for h & 127 equal values; clear:
// h & 127 values follow. Counts are 1 to 126.
//
// 6-bit scheme (alpha rows of team-coloured frames): one byte a token, bits 6-7 the value
// (binary 10 = 0, 01 = 1, 00 = 255), bits 0-5 the run length 1-63.

inline constexpr int kMaxTokenCount = 126;
inline constexpr int kMaxRunLength6 = 63;
inline constexpr std::uint8_t kRunFlag = 0x80;

// Appends a row of index values; a row without a visible block is stored empty, a visible one
// is encoded even when all its values are 0.
void AppendIndexRow(std::span<const std::uint16_t> values, bool visible,
                    std::vector<std::uint8_t>& out);
// Appends an alpha row of a plain frame (7-bit scheme); a row of zeros is stored empty.
void AppendAlphaRow(std::span<const std::uint8_t> values, std::vector<std::uint8_t>& out);
// Appends an alpha row of a team-coloured frame (values 0, 1 and 255; 6-bit scheme).
void AppendMaskedAlphaRow(std::span<const std::uint8_t> values, std::vector<std::uint8_t>& out);

// One framed row: where its tokens are. Returns false when the frame runs past the bytes.
struct FramedRow {
    std::size_t tokens = 0; // offset of the first token byte
    std::size_t length = 0; // L
};
bool ReadRowFrame(std::span<const std::uint8_t> table, std::size_t at, FramedRow& row);

// The width * height byte plane of an encoded alpha table of the 7-bit scheme. Whatever the
// bytes, it reads and writes nothing outside them; what they do not supply stays 0.
std::vector<std::uint8_t> DecodeAlphaTable(std::span<const std::uint8_t> table, int width,
                                           int height);
// The same for the 6-bit scheme: values 0, 1 (team pixels) and 255.
std::vector<std::uint8_t> DecodeMaskedAlphaTable(std::span<const std::uint8_t> table, int width,
                                                 int height);
// The index map of an index table: `rows` rows of width / 2 entries, with the same care.
std::vector<std::uint16_t> DecodeIndexTable(std::span<const std::uint8_t> table, int width,
                                            int rows);

} // namespace fenwold
