#include "VqBaseline.h"

#include "image/FrameStreams.h"
#include "vq/AlphaTables.h"
#include "vq/EncodedTables.h"
#include "vq/IndexMaps.h"

#include <cmath>
#include <cstring>
#include <random>

namespace fenwold::bench {

namespace {

struct Node {
    std::uint32_t index = 0;
    float weight = 1.0f;
    std::uint8_t v[48] = {};
};

struct Table {
    int count = 0;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> assignment;
};

struct Decoded {
    std::vector<Pixel555> pixels[4];
    std::vector<std::uint8_t> alpha[4];
    std::vector<std::uint8_t> mask[4];
};

Decoded DecodeGroup(const RegisteredAnimation& animation, int group) {
    Decoded d;
    for (int f = 0; f < 4; ++f) {
        const int frame = std::min(group * 4 + f, static_cast<int>(animation.frames.size()) - 1);
        const RegisteredFrame& source = animation.frames[static_cast<std::size_t>(frame)];
        d.pixels[f] = DecodeFramePixels(source.pixelStream, animation.width, animation.height);
        d.alpha[f] = DecodeFrameAlpha(source.alphaStream, animation.width, animation.height);
        if (!source.maskStream.empty()) {
            d.mask[f] = DecodeFrameAlpha(source.maskStream, animation.width, animation.height);
        }
    }
    return d;
}

bool BuildBlock(const Decoded& d, int width, int height, int x0, int y0, std::uint8_t* out) {
    bool visible = false;
    std::memset(out, 0, 48);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            if (x0 + c >= width || y0 + r >= height) {
                continue;
            }
            const int at = (y0 + r) * width + x0 + c;
            for (int f = 0; f < 4; ++f) {
                const int p = d.pixels[f][static_cast<std::size_t>(at)] & 0x7FFF;
                const int a = d.alpha[f][static_cast<std::size_t>(at)];
                const int m = d.mask[f].empty() ? 0 : d.mask[f][static_cast<std::size_t>(at)];
                std::uint8_t* e = out + 3 * ((c + 2 * r) + 4 * f);
                if (m != 0) {
                    const double red = p >> 10, green = (p >> 5) & 31, blue = p & 31;
                    const auto y =
                        static_cast<std::uint8_t>(0.299 * red + 0.589 * green + 0.114 * blue);
                    e[0] = e[1] = e[2] = y;
                    visible = true;
                } else if (a != 0) {
                    e[0] = static_cast<std::uint8_t>(p & 31);
                    e[1] = static_cast<std::uint8_t>((p >> 5) & 31);
                    e[2] = static_cast<std::uint8_t>(p >> 10);
                    visible = true;
                }
            }
        }
    }
    return visible;
}

double Luminance(const std::uint8_t* e) {
    const double blue = e[0], green = e[1], red = e[2];
    return 0.114 * blue + 0.299 * red + 0.589 * green;
}

void Weigh(std::vector<Node>& list, int mode) {
    for (std::size_t i = 1; i < list.size(); ++i) {
        double factor = 1.0;
        if (mode == 1) {
            double sum = 0.0;
            for (int e = 0; e < 16; ++e) {
                sum += Luminance(list[i].v + 3 * e);
            }
            factor = sum * 0.0625;
        } else if (mode == 2) {
            float largest = 0.0f;
            for (int e = 0; e < 16; ++e) {
                largest = std::max(largest, static_cast<float>(Luminance(list[i].v + 3 * e)));
            }
            factor = static_cast<double>(largest) * (1.0 / 31.0) + 0.5;
        }
        list[i].weight = static_cast<float>(list[i].weight * factor);
    }
}

// Vector against float entry (channels red, green, blue).
float Distance(const std::uint8_t* v, const float* e) {
    float sum = 0.0f;
    for (int j = 0; j < 48; ++j) {
        const float d = static_cast<float>(v[j - j % 3 + 2 - j % 3]) - e[j];
        sum += d * d;
    }
    return std::sqrt(sum);
}

float FloatDistance(const float* a, const float* b) {
    float sum = 0.0f;
    for (int j = 0; j < 48; ++j) {
        const float d = a[j] - b[j];
        sum += d * d;
    }
    return std::sqrt(sum);
}

std::vector<float> ToFloat(const std::vector<std::uint8_t>& bytes) {
    std::vector<float> table(bytes.size());
    for (std::size_t j = 0; j < bytes.size(); ++j) {
        table[j] = bytes[j - j % 3 + 2 - j % 3];
    }
    return table;
}

std::vector<std::uint8_t> ToBytes(const std::vector<float>& table) {
    std::vector<std::uint8_t> bytes(table.size());
    for (std::size_t j = 0; j < table.size(); ++j) {
        bytes[j - j % 3 + 2 - j % 3] = static_cast<std::uint8_t>(table[j] + 0.5f);
    }
    return bytes;
}

double Assign(const std::vector<Node>& list, const std::vector<float>& table,
              const std::vector<std::vector<std::uint32_t>>* buckets,
              const std::vector<std::uint32_t>* first, std::vector<std::uint32_t>& assignment) {
    const int count = static_cast<int>(table.size() / 48);
    double error = 0.0;
    std::vector<std::uint32_t> all(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        all[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(k);
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::vector<std::uint32_t>& members =
            buckets != nullptr && !(*buckets)[(*first)[i]].empty() ? (*buckets)[(*first)[i]] : all;
        std::uint32_t best = members[0];
        float bestDistance = Distance(list[i].v, &table[best * 48]);
        for (std::size_t m = 1; m < members.size(); ++m) {
            const float d = Distance(list[i].v, &table[members[m] * 48]);
            if (d < bestDistance) {
                bestDistance = d;
                best = members[m];
            }
        }
        assignment[i] = best;
        error += list[i].weight * bestDistance;
    }
    return error;
}

void Means(const std::vector<Node>& list, const std::vector<std::uint32_t>& assignment,
           std::vector<float>& table) {
    const std::size_t count = table.size() / 48;
    std::vector<double> sums(table.size(), 0.0), weights(count, 0.0);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const double w = list[i].weight;
        weights[assignment[i]] += w;
        for (int j = 0; j < 48; ++j) {
            sums[assignment[i] * 48 + static_cast<std::size_t>(j)] +=
                w * static_cast<float>(list[i].v[j - j % 3 + 2 - j % 3]);
        }
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (weights[k] != 0.0) {
            for (std::size_t j = 0; j < 48; ++j) {
                table[k * 48 + j] = static_cast<float>(sums[k * 48 + j] / weights[k]);
            }
        }
    }
}

std::vector<std::vector<std::uint32_t>> Buckets(const std::vector<float>& table,
                                                const std::vector<float>& first) {
    const std::size_t count = table.size() / 48, firstCount = first.size() / 48;
    std::vector<std::vector<std::uint32_t>> buckets(firstCount);
    for (std::size_t k = 0; k < count; ++k) {
        std::vector<float> d(firstCount);
        for (std::size_t b = 0; b < firstCount; ++b) {
            d[b] = FloatDistance(&table[k * 48], &first[b * 48]);
        }
        std::vector<bool> taken(firstCount, false);
        for (std::size_t t = 0; t < std::min<std::size_t>(3, firstCount); ++t) {
            std::size_t best = firstCount;
            for (std::size_t b = 0; b < firstCount; ++b) {
                if (!taken[b] && (best == firstCount || d[b] < d[best])) {
                    best = b;
                }
            }
            taken[best] = true;
            buckets[best].push_back(static_cast<std::uint32_t>(k));
        }
    }
    return buckets;
}

// The first entry equal to v, or -1.
int FindEqual(const std::vector<std::uint8_t>& bytes, const std::uint8_t* v) {
    for (std::size_t k = 0; k * 48 < bytes.size(); ++k) {
        if (std::memcmp(&bytes[k * 48], v, 48) == 0) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

Table EqualEntries(const std::vector<Node>& list, std::vector<std::uint8_t> bytes) {
    Table table{static_cast<int>(bytes.size() / 48), std::move(bytes), {}};
    for (const Node& node : list) {
        table.assignment.push_back(static_cast<std::uint32_t>(FindEqual(table.bytes, node.v)));
    }
    return table;
}

Table Design(const std::vector<Node>& list, int k, double threshold, int patience) {
    const int wanted = std::min<int>(k, static_cast<int>(list.size()));
    if (wanted < 1000) {
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i < list.size() && static_cast<int>(bytes.size() / 48) < wanted;
             ++i) {
            if (FindEqual(bytes, list[i].v) < 0) {
                bytes.insert(bytes.end(), list[i].v, list[i].v + 48);
            }
        }
        if (static_cast<int>(bytes.size() / 48) < wanted) {
            return EqualEntries(list, bytes);
        }
        std::vector<float> table = ToFloat(bytes);
        std::vector<std::uint32_t> assignment(list.size());
        Assign(list, table, nullptr, nullptr, assignment);
        Means(list, assignment, table);
        Assign(list, table, nullptr, nullptr, assignment);
        return {wanted, ToBytes(table), assignment};
    }
    const Table first = Design(list, wanted / 100, 0.001, 1);
    std::vector<std::uint8_t> bytes = first.bytes;
    for (std::size_t i = 0; i < list.size() && static_cast<int>(bytes.size() / 48) < wanted; ++i) {
        if (FindEqual(bytes, list[i].v) < 0) {
            bytes.insert(bytes.end(), list[i].v, list[i].v + 48);
        }
    }
    if (static_cast<int>(bytes.size() / 48) < wanted) {
        return EqualEntries(list, bytes);
    }
    std::vector<float> table = ToFloat(bytes);
    const std::vector<float> firstTable = ToFloat(first.bytes);
    std::vector<std::uint32_t> assignment(list.size());
    auto buckets = Buckets(table, firstTable);
    double error = Assign(list, table, &buckets, &first.assignment, assignment);
    int stale = 0;
    for (;;) {
        Means(list, assignment, table);
        buckets = Buckets(table, firstTable);
        const double newError = Assign(list, table, &buckets, &first.assignment, assignment);
        if (error - newError <= error * threshold) {
            if (++stale >= patience) {
                break;
            }
        } else {
            stale = 0;
        }
        error = newError;
    }
    return {wanted, ToBytes(table), assignment};
}

std::vector<Node> Sample(const std::vector<Node>& training, int k, std::uint64_t seed) {
    const std::size_t n = training.size();
    const int count =
        static_cast<int>(std::min<std::size_t>(4 * static_cast<std::size_t>(k), n / 5));
    const float step = static_cast<float>(n) / static_cast<float>(count);
    std::vector<Node> samples(1);
    std::mt19937 random(static_cast<std::uint32_t>(seed));
    float sum = 0.0f, previous = 0.0f;
    std::size_t node = 0;
    for (int i = 0; i < count; ++i) {
        const float target = static_cast<float>(random() % static_cast<std::uint32_t>(step)) + sum;
        const float d = target - previous;
        for (int moves = 0; d - static_cast<float>(moves) > 1.0f && node + 1 < n; ++moves) {
            ++node;
        }
        Node sample;
        std::memcpy(sample.v, training[node].v, 48);
        samples.push_back(sample);
        previous = target;
        sum += step;
    }
    return samples;
}

} // namespace

int BaselineNearestByte(const std::uint8_t* vector, const std::vector<std::uint8_t>& table,
                        int count) {
    int best = 0, bestSum = 1 << 30;
    for (int k = 0; k < count; ++k) {
        int sum = 0;
        for (int j = 0; j < 48; ++j) {
            const int d = vector[j] - table[static_cast<std::size_t>(k * 48 + j)];
            sum += d * d;
        }
        if (sum < bestSum) {
            bestSum = sum;
            best = k;
        }
    }
    return best;
}

CompressionResult BaselineCompress(const std::vector<RegisteredAnimation>& animations,
                                   const BaselineParameters& parameters) {
    std::vector<Node> training;
    for (const RegisteredAnimation& animation : animations) {
        for (int g = 0; g < (static_cast<int>(animation.frames.size()) + 3) / 4; ++g) {
            const Decoded d = DecodeGroup(animation, g);
            for (int y0 = 0; y0 < animation.height; y0 += 2) {
                for (int x0 = 0; x0 < animation.width; x0 += 2) {
                    Node node;
                    if (BuildBlock(d, animation.width, animation.height, x0, y0, node.v)) {
                        node.index = static_cast<std::uint32_t>(training.size());
                        training.push_back(node);
                    }
                }
            }
        }
    }
    int size = parameters.size;
    std::vector<std::uint8_t> table;
    if (parameters.sampling && training.size() >= 5) {
        size = std::min<int>(size, static_cast<int>(training.size()));
        std::vector<Node> samples = Sample(training, size, parameters.seed);
        Weigh(samples, parameters.weightMode);
        const Table designed = Design(samples, size, 0.0001, 2);
        size = designed.count;
        table = designed.bytes;
        for (Node& node : training) {
            node.index = static_cast<std::uint32_t>(BaselineNearestByte(node.v, table, size));
        }
    } else {
        Weigh(training, parameters.weightMode);
        const Table designed = Design(training, size, 0.0001, 2);
        size = designed.count;
        table = designed.bytes;
        for (std::size_t i = 0; i < training.size(); ++i) {
            training[i].index = designed.assignment[i];
        }
    }

    std::vector<AnimationIndexMaps> maps;
    std::size_t cursor = 0;
    for (const RegisteredAnimation& animation : animations) {
        AnimationIndexMaps result{animation.width, animation.height, {}};
        for (int g = 0; g < (static_cast<int>(animation.frames.size()) + 3) / 4; ++g) {
            const Decoded d = DecodeGroup(animation, g);
            IndexMap map;
            map.entries.assign(static_cast<std::size_t>(animation.width * animation.height / 2), 0);
            map.rowVisible.assign(animation.height, 0);
            std::size_t block = 0;
            for (int y0 = 0; y0 < animation.height; y0 += 2) {
                for (int x0 = 0; x0 < animation.width; x0 += 2, ++block) {
                    std::uint8_t v[48];
                    if (!BuildBlock(d, animation.width, animation.height, x0, y0, v)) {
                        continue;
                    }
                    std::uint16_t index = 0xFFFE;
                    for (std::size_t n = 0; n < training.size(); ++n) {
                        const std::size_t at = (cursor + n) % training.size();
                        if (std::memcmp(training[at].v, v, 48) == 0) {
                            index = static_cast<std::uint16_t>(training[at].index);
                            cursor = at + 1;
                            break;
                        }
                    }
                    map.entries[block] = index;
                    map.rowVisible[block / static_cast<std::size_t>(animation.width / 2)] = 1;
                }
            }
            result.maps.push_back(std::move(map));
        }
        maps.push_back(std::move(result));
    }
    CompressionResult result;
    result.entryCount = size;
    result.lookupTable = table;
    for (std::size_t a = 0; a < animations.size(); ++a) {
        const RegisteredAnimation& animation = animations[a];
        EncodedAnimation encoded;
        encoded.fields = animation;
        for (const IndexMap& map : maps[a].maps) {
            encoded.indexTables.push_back(EncodeIndexTable(map, animation.width, animation.height));
        }
        for (const RegisteredFrame& frame : animation.frames) {
            const auto alpha =
                DecodeFrameAlpha(frame.alphaStream, animation.width, animation.height);
            std::vector<std::uint8_t> mask;
            if (!frame.maskStream.empty()) {
                mask = DecodeFrameAlpha(frame.maskStream, animation.width, animation.height);
            }
            encoded.alphaTables.push_back(
                EncodeAlphaPlanes(alpha, mask, animation.width, animation.height));
        }
        result.animations.push_back(std::move(encoded));
    }
    return result;
}

} // namespace fenwold::bench
