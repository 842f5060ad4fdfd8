#include "DxtEncoder.h"

#include "DxtDecoder.h"
#include "Lanes4.h"
#include "ShapeFormat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace wren {

namespace {

// Channels in the order red, green, blue: the largest 5:6:5 value, the shift that expands it to
// 8 bits, and what the decoder adds to the two end colours (never to the mixed entries).
constexpr int kMaxQ[3] = {31, 63, 31};
constexpr int kShift[3] = {3, 2, 3};
constexpr int kEndBias[3] = {4, 2, 4};

// A colour as its three 5:6:5 channel values.
using Quantised = std::array<int, 3>;

uint16_t Pack(const Quantised& q) {
    return static_cast<uint16_t>(q[0] << 11 | q[1] << 5 | q[2]);
}

int QuantiseChannel(float expanded, int channel) {
    // Truncation rounds as well as lround for every value that is not clamped to 0 anyway.
    constexpr float kScale[3] = {1.0f / 8.0f, 1.0f / 4.0f, 1.0f / 8.0f};
    const int q = static_cast<int>(expanded * kScale[channel] + 0.5f);
    return std::clamp(q, 0, kMaxQ[channel]);
}

inline Floats Select(Ints mask, Floats yes, Floats no) {
    return std::bit_cast<Floats>((mask & std::bit_cast<Ints>(yes)) |
                                 (~mask & std::bit_cast<Ints>(no)));
}

inline float Sum(Floats v) {
    return (v[0] + v[1]) + (v[2] + v[3]);
}

inline Floats Min(Floats a, Floats b) {
    return Select(a < b, a, b);
}

inline Floats Max(Floats a, Floats b) {
    return Select(a > b, a, b);
}

// The pixels a colour block has to match, four pixels to a vector. In DXT1 pixels with alpha
// below 128 weigh nothing: they take the transparent entry.
struct ColourSet {
    Floats channel[3][4]; // red, green, blue
    Floats weight[4];
    int count = 0;
    bool anyTransparent = false;
};

ColourSet GatherColours(const uint8_t pixels[64], bool alphaTested) {
    float channel[3][16];
    float weight[16];
    for (int i = 0; i < 16; ++i) {
        const uint8_t* p = pixels + 4 * i;
        channel[0][i] = p[2];
        channel[1][i] = p[1];
        channel[2][i] = p[0];
        weight[i] = !alphaTested || p[3] >= 128 ? 1.0f : 0.0f;
    }
    ColourSet set;
    std::memcpy(set.channel, channel, sizeof channel);
    std::memcpy(set.weight, weight, sizeof weight);
    const float count = Sum(set.weight[0] + set.weight[1] + set.weight[2] + set.weight[3]);
    set.count = static_cast<int>(count);
    set.anyTransparent = set.count < 16;
    return set;
}

// The block's colour pair for two end colours: the four-colour palette needs c0 >= c1, the
// three-colour one c0 < c1 (so never two equal colours).
bool Order(const Quantised& a, const Quantised& b, bool three, uint16_t& c0, uint16_t& c1) {
    const uint16_t pa = Pack(a);
    const uint16_t pb = Pack(b);
    if (three && pa == pb)
        return false;
    c0 = three ? std::min(pa, pb) : std::max(pa, pb);
    c1 = three ? std::max(pa, pb) : std::min(pa, pb);
    return true;
}

// The palette the decoder builds from (c0, c1) as floats, red, green, blue per entry. Entry 3 of
// the three-colour palette is transparent: it is put out of reach of every opaque pixel.
void FloatPalette(uint16_t c0, uint16_t c1, float palette[4][3]) {
    const uint8_t colours[4] = {static_cast<uint8_t>(c0), static_cast<uint8_t>(c0 >> 8),
                                static_cast<uint8_t>(c1), static_cast<uint8_t>(c1 >> 8)};
    uint32_t entries[4];
    DxtDecoder::ColourPalette(colours, entries);
    for (int k = 0; k < 4; ++k) {
        palette[k][0] = static_cast<float>((entries[k] >> 16) & 0xFF);
        palette[k][1] = static_cast<float>((entries[k] >> 8) & 0xFF);
        palette[k][2] = static_cast<float>(entries[k] & 0xFF);
    }
    if (c0 < c1)
        palette[3][0] = palette[3][1] = palette[3][2] = 1e4f;
}

// The nearest palette entry of four pixels among those offered so far, the first of equals.
struct NearestEntry {
    explicit NearestEntry(Floats first) : distance(first) {}

    void Offer(Floats candidate, int k) {
        const Ints closer = candidate < distance;
        distance = Select(closer, candidate, distance);
        index = (closer & k) | (~closer & index);
    }

    Floats distance;
    Ints index = {};
};

// Sum of squared differences of the set against the palette of (c0, c1), each pixel taking its
// nearest usable entry (the first of equals), written to `indices`. Sums of squares of bytes
// over 16 pixels are exact in a float.
float Evaluate(const ColourSet& set, uint16_t c0, uint16_t c1, Ints indices[4]) {
    float palette[4][3];
    FloatPalette(c0, c1, palette);
    Floats total = {};
    for (int q = 0; q < 4; ++q) {
        const auto distance = [&](int k) {
            const Floats dr = set.channel[0][q] - palette[k][0];
            const Floats dg = set.channel[1][q] - palette[k][1];
            const Floats db = set.channel[2][q] - palette[k][2];
            return dr * dr + dg * dg + db * db;
        };
        NearestEntry nearest(distance(0));
        for (int k = 1; k < 4; ++k)
            nearest.Offer(distance(k), k);
        total += nearest.distance * set.weight[q];
        indices[q] = nearest.index;
    }
    return Sum(total);
}

// Best end-colour pairs for a single channel value: each entry of the palette reproduces it as
// closely as the 5- or 6-bit channel allows.
struct ChannelPair {
    uint8_t a = 0;
    uint8_t b = 0;
};

struct SingleColourTables {
    // [5-bit or 6-bit][value]: an end colour, the 5:3 mix of the four-colour palette, the mean of
    // the three-colour palette and that mean from two different ends, each with how far its
    // entry stays from the value.
    ChannelPair end[2][256];
    ChannelPair mix4[2][256];
    ChannelPair mix3[2][256];
    ChannelPair mix3Split[2][256];
    uint8_t endError[2][256];
    uint8_t mix4Error[2][256];
    uint8_t mix3Error[2][256];
    uint8_t mix3SplitError[2][256];

    SingleColourTables() {
        for (int wide = 0; wide < 2; ++wide) {
            const int channel = wide ? 1 : 0;
            const int maxQ = kMaxQ[channel];
            for (int v = 0; v < 256; ++v) {
                int bestEnd = 1 << 20, best4 = 1 << 20, best3 = 1 << 20, bestSplit = 1 << 20;
                for (int a = 0; a <= maxQ; ++a) {
                    const int ea = a << kShift[channel];
                    const int dEnd = std::abs(ea + kEndBias[channel] - v);
                    if (dEnd < bestEnd) {
                        bestEnd = dEnd;
                        end[wide][v] = {static_cast<uint8_t>(a), static_cast<uint8_t>(a)};
                    }
                    for (int b = 0; b <= maxQ; ++b) {
                        const int eb = b << kShift[channel];
                        const int d4 = std::abs(((5 * ea + 3 * eb) >> 3) - v);
                        const int d3 = std::abs(((ea + eb) >> 1) - v);
                        if (d4 < best4) {
                            best4 = d4;
                            mix4[wide][v] = {static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
                        }
                        if (d3 < best3) {
                            best3 = d3;
                            mix3[wide][v] = {static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
                        }
                        if (a != b && d3 < bestSplit) {
                            bestSplit = d3;
                            mix3Split[wide][v] = {static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
                        }
                    }
                }
                endError[wide][v] = static_cast<uint8_t>(bestEnd);
                mix4Error[wide][v] = static_cast<uint8_t>(best4);
                mix3Error[wide][v] = static_cast<uint8_t>(best3);
                mix3SplitError[wide][v] = static_cast<uint8_t>(bestSplit);
            }
        }
    }

    static const SingleColourTables& Get() {
        static const SingleColourTables tables;
        return tables;
    }
};

// End colours that reproduce one colour through `table` (one of the tables above).
void SingleColourEnds(const ChannelPair (&table)[2][256], const int rgb[3], Quantised& a,
                      Quantised& b) {
    for (int c = 0; c < 3; ++c) {
        const ChannelPair& pair = table[c == 1 ? 1 : 0][rgb[c]];
        a[c] = pair.a;
        b[c] = pair.b;
    }
}

// Squared error of one colour through a table of errors per channel.
int SingleColourError(const uint8_t (&errors)[2][256], const int rgb[3]) {
    int total = 0;
    for (int c = 0; c < 3; ++c) {
        const int e = errors[c == 1 ? 1 : 0][rgb[c]];
        total += e * e;
    }
    return total;
}

// Ends whose three-colour mean (entry 2) comes nearest one colour, and its squared error. The
// two ends must differ: where every channel's nearest mean has equal ends, the channel that loses
// least takes its nearest mean of unequal ends.
int ThreeColourMeanEnds(const int rgb[3], Quantised& a, Quantised& b) {
    const SingleColourTables& tables = SingleColourTables::Get();
    SingleColourEnds(tables.mix3, rgb, a, b);
    const int error = SingleColourError(tables.mix3Error, rgb);
    if (Pack(a) != Pack(b))
        return error;
    int split = 0, increase = 1 << 20;
    for (int c = 0; c < 3; ++c) {
        const int wide = c == 1 ? 1 : 0;
        const int best = tables.mix3Error[wide][rgb[c]];
        const int unequal = tables.mix3SplitError[wide][rgb[c]];
        if (unequal * unequal - best * best < increase) {
            increase = unequal * unequal - best * best;
            split = c;
        }
    }
    const ChannelPair& pair = tables.mix3Split[split == 1 ? 1 : 0][rgb[split]];
    a[split] = pair.a;
    b[split] = pair.b;
    return error + increase;
}

// The search for one palette kind (four or three colours): keeps the best pair seen.
class ColourFit {
public:
    ColourFit(const ColourSet& set, bool three) : m_set(set), m_three(three) {}

    bool Try(const Quantised& a, const Quantised& b) {
        uint16_t c0, c1;
        if (!Order(a, b, m_three, c0, c1))
            return false;
        if (m_found && c0 == m_c0 && c1 == m_c1)
            return false;
        Ints indices[4];
        const float error = Evaluate(m_set, c0, c1, indices);
        if (m_found && error >= m_error)
            return false;
        m_found = true;
        m_error = error;
        m_c0 = c0;
        m_c1 = c1;
        std::copy_n(indices, 4, m_indices);
        return true;
    }

    // End colours by least squares for the indices of the best pair, as long as that helps.
    void Refine(int iterations) {
        for (int i = 0; i < iterations && m_found && m_error > 0; ++i) {
            Quantised a, b;
            if (!LeastSquares(a, b) || !Try(a, b))
                return;
        }
    }

    bool Found() const { return m_found; }
    float Error() const { return m_error; }

    // The block for the best pair; pixels outside the set take entry 3 (transparent).
    void Write(uint8_t out[8]) const {
        out[0] = static_cast<uint8_t>(m_c0);
        out[1] = static_cast<uint8_t>(m_c0 >> 8);
        out[2] = static_cast<uint8_t>(m_c1);
        out[3] = static_cast<uint8_t>(m_c1 >> 8);
        uint32_t bits = 0;
        for (int q = 0; q < 4; ++q) {
            const Ints index = Select(m_set.weight[q] > 0.0f, m_indices[q], Ints{3, 3, 3, 3});
            for (int j = 0; j < 4; ++j)
                bits |= static_cast<uint32_t>(index[j]) << (8 * q + 2 * j);
        }
        for (int i = 0; i < 4; ++i)
            out[4 + i] = static_cast<uint8_t>(bits >> (8 * i));
    }

private:
    static Ints Select(Ints mask, Ints yes, Ints no) { return (mask & yes) | (~mask & no); }

    bool LeastSquares(Quantised& a, Quantised& b) const {
        // Each entry as a weight between the expanded c0 and c1, the two ends with the decoder's
        // bias, the 5:3 mixes of green rounded down by a quarter on average.
        const Floats mixWeight = m_three ? Floats{0.0f, 1.0f, 0.5f, 0.0f}
                                         : Floats{0.0f, 1.0f, 3.0f / 8.0f, 5.0f / 8.0f};
        const float mixOffset[3] = {0.0f, m_three ? 0.0f : 0.25f, 0.0f};
        Floats aa = {}, ab = {}, bb = {};
        Floats ax[3] = {}, bx[3] = {};
        for (int q = 0; q < 4; ++q) {
            const Ints index = m_indices[q];
            const Floats w = {mixWeight[index[0]], mixWeight[index[1]], mixWeight[index[2]],
                              mixWeight[index[3]]};
            const Floats n = m_set.weight[q];
            const Ints end = index < 2;
            const Floats u = 1.0f - w;
            aa += n * u * u;
            ab += n * u * w;
            bb += n * w * w;
            for (int c = 0; c < 3; ++c) {
                const Floats bias = {static_cast<float>(kEndBias[c]), static_cast<float>(kEndBias[c]),
                                     static_cast<float>(kEndBias[c]), static_cast<float>(kEndBias[c])};
                const Floats offset = {-mixOffset[c], -mixOffset[c], -mixOffset[c], -mixOffset[c]};
                const Floats target = m_set.channel[c][q] - wren::Select(end, bias, offset);
                ax[c] += n * u * target;
                bx[c] += n * w * target;
            }
        }
        const float saa = Sum(aa), sab = Sum(ab), sbb = Sum(bb);
        const float determinant = saa * sbb - sab * sab;
        if (std::fabs(determinant) < 1e-3f)
            return false;
        // c0 is the first end: entries 0 and 1 follow the stored order, not a and b.
        for (int c = 0; c < 3; ++c) {
            const float sax = Sum(ax[c]), sbx = Sum(bx[c]);
            a[c] = QuantiseChannel((sbb * sax - sab * sbx) / determinant, c);
            b[c] = QuantiseChannel((saa * sbx - sab * sax) / determinant, c);
        }
        return true;
    }

    const ColourSet& m_set;
    bool m_three;
    bool m_found = false;
    float m_error = 0;
    uint16_t m_c0 = 0, m_c1 = 0;
    Ints m_indices[4] = {};
};

struct ColourStats {
    float mean[3] = {0, 0, 0};
    int meanRgb[3] = {0, 0, 0};
    float spread = 0; // sum of squared distances from the mean
    Floats offset[3][4]; // each pixel's distance from the mean, 0 for pixels that do not count
};

ColourStats Statistics(const ColourSet& set) {
    ColourStats stats;
    Floats spread = {};
    for (int c = 0; c < 3; ++c) {
        const Floats sum = set.channel[c][0] * set.weight[0] + set.channel[c][1] * set.weight[1] +
                           set.channel[c][2] * set.weight[2] + set.channel[c][3] * set.weight[3];
        stats.mean[c] = Sum(sum) / static_cast<float>(set.count);
        stats.meanRgb[c] = std::clamp(static_cast<int>(stats.mean[c] + 0.5f), 0, 255);
        for (int q = 0; q < 4; ++q) {
            const Floats d = (set.channel[c][q] - stats.mean[c]) * set.weight[q];
            stats.offset[c][q] = d;
            spread += d * d;
        }
    }
    stats.spread = Sum(spread);
    return stats;
}

// Sums over the pixels of the products of two channels' offsets from the mean.
float Covariance(const ColourStats& stats, int r, int c) {
    Floats sum = {};
    for (int q = 0; q < 4; ++q)
        sum += stats.offset[r][q] * stats.offset[c][q];
    return Sum(sum);
}

// End colours at the extremes of the pixels along their main axis (two power iterations on
// covariance, started from its strongest row).
void PrincipalEnds(const ColourStats& stats, Quantised& a, Quantised& b) {
    float cov[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = r; c < 3; ++c)
            cov[r][c] = cov[c][r] = Covariance(stats, r, c);
    int strongest = 0;
    for (int c = 1; c < 3; ++c)
        if (cov[c][c] > cov[strongest][strongest])
            strongest = c;
    float axis[3] = {cov[strongest][0], cov[strongest][1], cov[strongest][2]};
    for (int iteration = 0; iteration < 2; ++iteration) {
        float next[3];
        for (int r = 0; r < 3; ++r)
            next[r] = cov[r][0] * axis[0] + cov[r][1] * axis[1] + cov[r][2] * axis[2];
        const float length = std::max({std::fabs(next[0]), std::fabs(next[1]), std::fabs(next[2])});
        if (length < 1e-6f)
            break;
        const float scale = 1.0f / length;
        for (int c = 0; c < 3; ++c)
            axis[c] = next[c] * scale;
    }
    const float norm = axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2];
    // Pixels that do not count sit at the mean, inside the range.
    Floats low = {}, high = {};
    for (int q = 0; q < 4; ++q) {
        const Floats t = stats.offset[0][q] * axis[0] + stats.offset[1][q] * axis[1] +
                         stats.offset[2][q] * axis[2];
        low = Min(low, t);
        high = Max(high, t);
    }
    float lowest = std::min({low[0], low[1], low[2], low[3]});
    float highest = std::max({high[0], high[1], high[2], high[3]});
    if (norm > 0) {
        lowest /= norm;
        highest /= norm;
    }
    for (int c = 0; c < 3; ++c) {
        a[c] = QuantiseChannel(stats.mean[c] + axis[c] * highest - kEndBias[c], c);
        b[c] = QuantiseChannel(stats.mean[c] + axis[c] * lowest - kEndBias[c], c);
    }
}

// End colours at the corners of the pixels' bounding box, on the diagonal the colours run along.
void BoxEnds(const ColourStats& stats, Quantised& a, Quantised& b) {
    float low[3], high[3];
    for (int c = 0; c < 3; ++c) {
        // Pixels that do not count sit at the mean, inside the box.
        Floats lo = {}, hi = {};
        for (int q = 0; q < 4; ++q) {
            lo = Min(lo, stats.offset[c][q]);
            hi = Max(hi, stats.offset[c][q]);
        }
        low[c] = stats.mean[c] + std::min({lo[0], lo[1], lo[2], lo[3]});
        high[c] = stats.mean[c] + std::max({hi[0], hi[1], hi[2], hi[3]});
    }
    // Measure the diagonal against the channel with the widest range.
    int widest = 0;
    for (int c = 1; c < 3; ++c)
        if (high[c] - low[c] > high[widest] - low[widest])
            widest = c;
    for (int c = 0; c < 3; ++c) {
        float top = high[c] - kEndBias[c];
        float bottom = low[c] - kEndBias[c];
        if (Covariance(stats, widest, c) < 0)
            std::swap(top, bottom);
        a[c] = QuantiseChannel(top, c);
        b[c] = QuantiseChannel(bottom, c);
    }
}

// The three-colour candidates that reproduce one colour as closely as the palette allows.
void TryThreeColourMean(ColourFit& fit, const int rgb[3]) {
    const SingleColourTables& tables = SingleColourTables::Get();
    Quantised a, b;
    ThreeColourMeanEnds(rgb, a, b);
    fit.Try(a, b);
    // An end colour alone, the other one step away so that the pair stays ordered.
    SingleColourEnds(tables.end, rgb, a, b);
    b[2] = a[2] < kMaxQ[2] ? a[2] + 1 : a[2] - 1;
    fit.Try(a, b);
}

// The four-colour candidates for the block's mean colour, tried only where they can win: every
// pixel on one entry costs the spread around the mean plus the mean's distance to the entry for
// each pixel.
void TryMeanColour(ColourFit& fit, const ColourStats& stats, int count) {
    const SingleColourTables& tables = SingleColourTables::Get();
    for (const auto* table : {&tables.end, &tables.mix4}) {
        Quantised a, b;
        SingleColourEnds(*table, stats.meanRgb, a, b);
        float distance = 0;
        for (int c = 0; c < 3; ++c) {
            const int ea = a[c] << kShift[c], eb = b[c] << kShift[c];
            const int entry = table == &tables.end ? ea + kEndBias[c] : (5 * ea + 3 * eb) >> 3;
            const float d = stats.mean[c] - static_cast<float>(entry);
            distance += d * d;
        }
        if (stats.spread + static_cast<float>(count) * distance < fit.Error())
            fit.Try(a, b);
    }
}

// A block whose counted pixels share one colour, straight from the tables: the palette entry
// nearest in every channel (an end colour, or a mix of two), one index for every counted pixel,
// the transparent entry for the others.
void EncodeSingleColour(const int rgb[3], uint32_t transparent, uint8_t out[8]) {
    const SingleColourTables& tables = SingleColourTables::Get();
    Quantised a, b;
    uint16_t c0 = 0, c1 = 0;
    int index = 0;
    const int endError = SingleColourError(tables.endError, rgb);
    if (transparent) {
        // Three colours (c0 < c1): their mean, else an end colour with the other a step away.
        if (ThreeColourMeanEnds(rgb, a, b) <= endError) {
            Order(a, b, true, c0, c1);
            index = 2;
        } else {
            SingleColourEnds(tables.end, rgb, a, b);
            b[2] = a[2] < kMaxQ[2] ? a[2] + 1 : a[2] - 1;
            Order(a, b, true, c0, c1);
            index = c0 == Pack(a) ? 0 : 1;
        }
    } else if (SingleColourError(tables.mix4Error, rgb) < endError) {
        // The 5:3 mix weighs c0 five times: the other way round it is entry 3.
        SingleColourEnds(tables.mix4, rgb, a, b);
        Order(a, b, false, c0, c1);
        index = c0 == Pack(a) ? 2 : 3;
    } else {
        SingleColourEnds(tables.end, rgb, a, b);
        c0 = c1 = Pack(a);
        index = 0;
    }
    uint32_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= static_cast<uint32_t>(transparent >> i & 1 ? 3 : index) << (2 * i);
    const uint8_t block[8] = {static_cast<uint8_t>(c0),   static_cast<uint8_t>(c0 >> 8),
                              static_cast<uint8_t>(c1),   static_cast<uint8_t>(c1 >> 8),
                              static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                              static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
    std::copy_n(block, 8, out);
}

// The distinct colours (0xRRGGBB) of the pixels that count (alpha 128 or more in DXT1, all
// otherwise) as far as the first two: blocks of one or two colours need no search.
struct BlockColours {
    uint32_t transparent = 0; // pixels that do not count
    int distinct = 0;         // 0, 1, 2, or 3 for more
    uint32_t colour[2] = {};
    uint32_t second = 0; // pixels of the second colour
};

BlockColours FindColours(const uint8_t pixels[64], bool alphaTested) {
    uint32_t words[16];
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(words, pixels, 64);
    } else {
        for (int i = 0; i < 16; ++i)
            words[i] = pixels[4 * i] | pixels[4 * i + 1] << 8 | pixels[4 * i + 2] << 16 |
                       static_cast<uint32_t>(pixels[4 * i + 3]) << 24;
    }
    BlockColours colours;
    if (alphaTested)
        for (int i = 0; i < 16; ++i)
            colours.transparent |= static_cast<uint32_t>(words[i] < 0x80000000u) << i;
    if (colours.transparent == 0xFFFF)
        return colours;
    const uint32_t first = words[std::countr_one(colours.transparent)] & 0xFFFFFFu;
    uint32_t others = 0;
    for (int i = 0; i < 16; ++i)
        others |= static_cast<uint32_t>(((words[i] ^ first) & 0xFFFFFFu) != 0) << i;
    others &= ~colours.transparent;
    colours.colour[0] = first;
    colours.distinct = 1;
    if (!others)
        return colours;
    const uint32_t second = words[std::countr_zero(others)] & 0xFFFFFFu;
    uint32_t rest = 0;
    for (int i = 0; i < 16; ++i)
        rest |= static_cast<uint32_t>(((words[i] ^ second) & 0xFFFFFFu) != 0) << i;
    colours.colour[1] = second;
    colours.second = others;
    colours.distinct = (rest & others) ? 3 : 2;
    return colours;
}

void Channels(uint32_t colour, int rgb[3]) {
    rgb[0] = static_cast<int>(colour >> 16 & 0xFF);
    rgb[1] = static_cast<int>(colour >> 8 & 0xFF);
    rgb[2] = static_cast<int>(colour & 0xFF);
}

// An opaque block of two colours: each on its own end colour, as near as the 5:6:5 ends with the
// decoder's bias come.
void EncodeTwoColours(const BlockColours& colours, uint8_t out[8]) {
    const SingleColourTables& tables = SingleColourTables::Get();
    Quantised ends[2], unused;
    for (int k = 0; k < 2; ++k) {
        int rgb[3];
        Channels(colours.colour[k], rgb);
        SingleColourEnds(tables.end, rgb, ends[k], unused);
    }
    const uint16_t first = Pack(ends[0]), second = Pack(ends[1]);
    const uint16_t c0 = std::max(first, second), c1 = std::min(first, second);
    const uint32_t firstIndex = first == c0 ? 0 : 1;
    const uint32_t secondIndex = first == second ? 0 : 1 - firstIndex;
    uint32_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= (colours.second >> i & 1 ? secondIndex : firstIndex) << (2 * i);
    const uint8_t block[8] = {static_cast<uint8_t>(c0),   static_cast<uint8_t>(c0 >> 8),
                              static_cast<uint8_t>(c1),   static_cast<uint8_t>(c1 >> 8),
                              static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                              static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
    std::copy_n(block, 8, out);
}

void EncodeColour(const uint8_t pixels[64], bool alphaTested, DxtQuality quality, uint8_t out[8]) {
    const BlockColours colours = FindColours(pixels, alphaTested);
    if (colours.distinct == 1) {
        int rgb[3];
        Channels(colours.colour[0], rgb);
        EncodeSingleColour(rgb, colours.transparent, out);
        return;
    }
    if (colours.distinct == 2 && colours.transparent == 0) {
        EncodeTwoColours(colours, out);
        return;
    }
    const ColourSet set = GatherColours(pixels, alphaTested);
    if (set.count == 0) {
        // Every pixel transparent: the three-colour palette (c0 < c1), every index 3.
        const uint8_t block[8] = {0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF};
        std::copy_n(block, 8, out);
        return;
    }
    const ColourStats stats = Statistics(set);
    const bool high = quality == DxtQuality::High;
    Quantised a, b;
    // Where the pixels stay within a few levels of their mean the box is as good an axis.
    if (high && stats.spread > 64.0f * static_cast<float>(set.count))
        PrincipalEnds(stats, a, b);
    else
        BoxEnds(stats, a, b);
    // The three-colour palette only where DXT1's transparent pixels need it: for opaque blocks
    // it rarely beats four colours and would double the work.
    const bool isThree = set.anyTransparent;
    ColourFit fit(set, isThree);
    // For three colours the palette entry nearest the mean is the pair that is always valid.
    if (isThree)
        TryThreeColourMean(fit, stats.meanRgb);
    fit.Try(a, b);
    if (high) {
        // Blocks that are already close (a few levels per channel) gain too little from it.
        if (fit.Error() > 24.0f * static_cast<float>(set.count))
            fit.Refine(1);
        // One colour for all leaves at least the spread around the mean as error.
        if (!isThree && fit.Error() > stats.spread)
            TryMeanColour(fit, stats, set.count);
    }
    fit.Write(out);
}

// DXT5 alpha: the palette kind (eight graded values, or six with 0 and 255) and its best pair.
class AlphaFit {
public:
    AlphaFit(const Floats values[4], bool eight) : m_values(values), m_eight(eight) {}

    bool Try(int a0, int a1) {
        if (a0 < 0 || a1 < 0 || a0 > 255 || a1 > 255)
            return false;
        // Eight values need a0 > a1, six a0 <= a1; the reversed pair gives the same values.
        if (m_eight ? a0 < a1 : a0 > a1)
            std::swap(a0, a1);
        if (m_eight && a0 == a1)
            return false;
        // Both ends 255 mark a block as opaque (blocks of one value never get here): a level of
        // only such blocks is shown opaque whatever the indices say.
        if (a0 == 255 && a1 == 255)
            return false;
        if (m_found && a0 == m_a0 && a1 == m_a1)
            return false;
        uint8_t palette[8];
        DxtDecoder::AlphaPalette(static_cast<uint8_t>(a0), static_cast<uint8_t>(a1), palette);
        // Each pixel takes the first of its nearest entries.
        Floats total = {};
        Ints indices[4];
        for (int q = 0; q < 4; ++q) {
            const auto distance = [&](int k) {
                const Floats d = m_values[q] - static_cast<float>(palette[k]);
                return d * d;
            };
            NearestEntry nearest(distance(0));
            for (int k = 1; k < 8; ++k)
                nearest.Offer(distance(k), k);
            total += nearest.distance;
            indices[q] = nearest.index;
        }
        const auto error = static_cast<int>(Sum(total));
        if (m_found && error >= m_error)
            return false;
        m_found = true;
        m_error = error;
        m_a0 = a0;
        m_a1 = a1;
        std::copy_n(indices, 4, m_indices);
        return true;
    }

    void Refine(int iterations) {
        for (int i = 0; i < iterations && m_found && m_error > 0; ++i) {
            int a0, a1;
            if (!LeastSquares(a0, a1) || !Try(a0, a1))
                return;
        }
    }

    bool Found() const { return m_found; }
    int Error() const { return m_error; }

    void Write(uint8_t out[8]) const {
        uint64_t bits = 0;
        for (int q = 0; q < 4; ++q)
            for (int j = 0; j < 4; ++j)
                bits |= static_cast<uint64_t>(m_indices[q][j]) << (3 * (4 * q + j));
        out[0] = static_cast<uint8_t>(m_a0);
        out[1] = static_cast<uint8_t>(m_a1);
        for (int i = 0; i < 6; ++i)
            out[2 + i] = static_cast<uint8_t>(bits >> (8 * i));
    }

private:
    bool LeastSquares(int& a0, int& a1) const {
        // Each entry as a weight between a0 and a1; the fixed 0 and 255 weigh nothing.
        const float steps = m_eight ? 7.0f : 5.0f;
        float weights[8], counts[8];
        for (int k = 0; k < 8; ++k) {
            weights[k] = k == 0 ? 0.0f : k == 1 ? 1.0f : static_cast<float>(k - 1) / steps;
            counts[k] = m_eight || k < 6 ? 1.0f : 0.0f;
        }
        Floats aa = {}, ab = {}, bb = {}, ax = {}, bx = {};
        for (int q = 0; q < 4; ++q) {
            const Ints index = m_indices[q];
            const Floats w = {weights[index[0]], weights[index[1]], weights[index[2]],
                              weights[index[3]]};
            const Floats n = {counts[index[0]], counts[index[1]], counts[index[2]],
                              counts[index[3]]};
            const Floats u = n - n * w;
            const Floats v = n * w;
            aa += u * u;
            ab += u * v;
            bb += v * v;
            ax += u * m_values[q];
            bx += v * m_values[q];
        }
        const float saa = Sum(aa), sab = Sum(ab), sbb = Sum(bb), sax = Sum(ax), sbx = Sum(bx);
        const float determinant = saa * sbb - sab * sab;
        if (std::fabs(determinant) < 1e-3f)
            return false;
        a0 = std::clamp(static_cast<int>(std::lround((sbb * sax - sab * sbx) / determinant)), 0, 255);
        a1 = std::clamp(static_cast<int>(std::lround((saa * sbx - sab * sax) / determinant)), 0, 255);
        return true;
    }

    const Floats* m_values;
    bool m_eight;
    bool m_found = false;
    int m_error = 0;
    int m_a0 = 0, m_a1 = 0;
    Ints m_indices[4] = {};
};

void EncodeDxt5Alpha(const uint8_t pixels[64], DxtQuality quality, uint8_t out[8]) {
    int alpha[16];
    int low = 255, high = 0;
    int innerLow = 255, innerHigh = 0;
    for (int i = 0; i < 16; ++i) {
        alpha[i] = pixels[4 * i + 3];
        low = std::min(low, alpha[i]);
        high = std::max(high, alpha[i]);
        if (alpha[i] != 0 && alpha[i] != 255) {
            innerLow = std::min(innerLow, alpha[i]);
            innerHigh = std::max(innerHigh, alpha[i]);
        }
    }
    if (low == high) {
        // One value: entry 0 of either palette; 255 twice marks the block opaque.
        const uint8_t block[8] = {
            static_cast<uint8_t>(low), static_cast<uint8_t>(low), 0, 0, 0, 0, 0, 0};
        std::copy_n(block, 8, out);
        return;
    }
    float alphaValues[16];
    for (int i = 0; i < 16; ++i)
        alphaValues[i] = static_cast<float>(alpha[i]);
    Floats values[4];
    std::memcpy(values, alphaValues, sizeof values);
    AlphaFit eight(values, true);
    eight.Try(high, low);
    // Two values are met exactly by the ends: nothing left to gain.
    if (eight.Error() == 0) {
        eight.Write(out);
        return;
    }
    // Six graded values plus exact 0 and 255: only worth a try where 0 or 255 occur. With at
    // most two values besides those, the ends meet them exactly and no search is needed.
    const bool sixWorthTrying = low == 0 || high == 255;
    bool sixExact = sixWorthTrying;
    for (int i = 0; i < 16 && sixExact; ++i)
        sixExact = alpha[i] == 0 || alpha[i] == 255 || alpha[i] == innerLow ||
                   alpha[i] == innerHigh;
    AlphaFit six(values, false);
    if (sixExact) {
        if (innerLow <= innerHigh)
            six.Try(innerLow, innerHigh);
        else
            six.Try(0, 0); // only 0 and 255, both fixed entries of the six-value palette
        six.Write(out);
        return;
    }
    // Previews take each palette's range as it is, as common encoders do; the quality mode
    // refines each once.
    const bool refine = quality == DxtQuality::High;
    if (refine && !(low == 0 && high == 255))
        eight.Refine(1);
    if (sixWorthTrying) {
        six.Try(innerLow, innerHigh);
        if (refine)
            six.Refine(2);
    }
    if (!six.Found() || eight.Error() <= six.Error())
        eight.Write(out);
    else
        six.Write(out);
}

} // namespace

void DxtEncoder::EncodeDxt1Block(const uint8_t pixels[64], uint8_t out[8], DxtQuality quality) {
    EncodeColour(pixels, true, quality, out);
}

void DxtEncoder::EncodeDxt3Block(const uint8_t pixels[64], uint8_t out[16], DxtQuality quality) {
    // The nearest of the sixteen values n * 17.
    for (int i = 0; i < 8; ++i) {
        const int first = (pixels[8 * i + 3] * 15 + 127) / 255;
        const int second = (pixels[8 * i + 7] * 15 + 127) / 255;
        out[i] = static_cast<uint8_t>(first | (second << 4));
    }
    EncodeColour(pixels, false, quality, out + 8);
}

void DxtEncoder::EncodeDxt5Block(const uint8_t pixels[64], uint8_t out[16], DxtQuality quality) {
    EncodeDxt5Alpha(pixels, quality, out);
    EncodeColour(pixels, false, quality, out + 8);
}

namespace {

// The 16 pixels of block (bx, by), the last column and row repeated past the picture's edge.
void GatherBlock(const BgraImage& image, size_t bx, size_t by, uint8_t pixels[64]) {
    if (bx * 4 + 4 <= image.width && by * 4 + 4 <= image.height) {
        for (size_t y = 0; y < 4; ++y)
            std::memcpy(pixels + 16 * y,
                        image.pixels.data() + 4 * ((by * 4 + y) * image.width + bx * 4), 16);
        return;
    }
    for (size_t y = 0; y < 4; ++y)
        for (size_t x = 0; x < 4; ++x) {
            const size_t sx = std::min<size_t>(bx * 4 + x, image.width - 1);
            const size_t sy = std::min<size_t>(by * 4 + y, image.height - 1);
            std::copy_n(image.pixels.data() + 4 * (sy * image.width + sx), 4,
                        pixels + 4 * (4 * y + x));
        }
}

uint64_t HashBlock(const uint8_t pixels[64]) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (int i = 0; i < 8; ++i) {
        uint64_t word;
        std::memcpy(&word, pixels + 8 * i, 8);
        hash = (hash ^ word) * 0x100000001B3ull;
        hash ^= hash >> 29;
    }
    return hash;
}

} // namespace

std::optional<std::vector<uint8_t>> DxtEncoder::Encode(uint8_t type, const BgraImage& image,
                                                       DxtQuality quality) {
    const uint8_t t = type & 0x7F;
    if (!IsDxtShapeType(t) || image.width == 0 || image.height == 0 ||
        image.pixels.size() / 4 / image.width < image.height)
        return std::nullopt;
    const size_t blockBytes = t == kShapeTypeDxt1 ? 8 : 16;
    const size_t blocksWide = (image.width + 3) / 4;
    const size_t blocksHigh = (image.height + 3) / 4;
    std::vector<uint8_t> out(blocksWide * blocksHigh * blockBytes);
    // Pictures repeat blocks (flat areas, stripes, borders): each distinct block is encoded
    // once, found again through a table of block numbers addressed by the pixels' hash. The
    // table holds the first distinct blocks only: small enough to stay in the cache (a miss per
    // block costs more than the table saves), at most half full to keep probes short.
    const size_t blockCount = blocksWide * blocksHigh;
    size_t tableSize = 16;
    while (tableSize < 2 * blockCount && tableSize < 4096)
        tableSize *= 2;
    struct Entry {
        uint32_t hash;
        uint32_t block;
    };
    constexpr uint32_t kEmpty = UINT32_MAX;
    std::vector<Entry> table(tableSize, Entry{0, kEmpty});
    size_t stored = 0;
    // The blocks to the left and above are compared first: they are the most likely repeats,
    // found without hashing.
    uint8_t buffers[2][64];
    uint8_t earlier[64];
    for (size_t n = 0; n < blockCount; ++n) {
        const size_t bx = n % blocksWide;
        const size_t by = n / blocksWide;
        uint8_t* pixels = buffers[n & 1];
        GatherBlock(image, bx, by, pixels);
        uint8_t* block = out.data() + n * blockBytes;
        if (bx > 0 && std::memcmp(pixels, buffers[(n - 1) & 1], 64) == 0) {
            std::memcpy(block, block - blockBytes, blockBytes);
            continue;
        }
        if (by > 0) {
            GatherBlock(image, bx, by - 1, earlier);
            if (std::memcmp(pixels, earlier, 64) == 0) {
                std::memcpy(block, block - blocksWide * blockBytes, blockBytes);
                continue;
            }
        }
        const uint64_t fullHash = HashBlock(pixels);
        const auto hash = static_cast<uint32_t>(fullHash >> 32);
        size_t slot = fullHash & (tableSize - 1);
        bool found = false;
        for (; table[slot].block != kEmpty; slot = (slot + 1) & (tableSize - 1)) {
            if (table[slot].hash != hash)
                continue;
            const size_t other = table[slot].block;
            GatherBlock(image, other % blocksWide, other / blocksWide, earlier);
            if (std::equal(pixels, pixels + 64, earlier)) {
                std::copy_n(out.data() + other * blockBytes, blockBytes, block);
                found = true;
                break;
            }
        }
        if (found)
            continue;
        if (stored < tableSize / 2) {
            table[slot] = {hash, static_cast<uint32_t>(n)};
            ++stored;
        }
        if (t == kShapeTypeDxt1)
            EncodeDxt1Block(pixels, block, quality);
        else if (t == kShapeTypeDxt3)
            EncodeDxt3Block(pixels, block, quality);
        else
            EncodeDxt5Block(pixels, block, quality);
    }
    return out;
}

} // namespace wren
