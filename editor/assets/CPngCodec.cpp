#include "CPngCodec.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxChunk = 0x7FFFFFFFu; // the format's own limit on a length or a side

enum EColour : uint8_t { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

uint32_t Be32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

uint16_t Be16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

void PutBe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t ChunkCrc(const uint8_t* typeAndData, size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most uInt at a time; chunks never exceed 2^31 - 1 bytes.
    return static_cast<uint32_t>(crc32(crc, typeAndData, static_cast<uInt>(size)));
}

unsigned Channels(uint8_t colour) {
    switch (colour) {
    case Rgb:
        return 3;
    case GreyAlpha:
        return 2;
    case Rgba:
        return 4;
    default:
        return 1;
    }
}

bool DepthAllowed(uint8_t colour, uint8_t depth) {
    switch (colour) {
    case Grey:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case Palette:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case Rgb:
    case GreyAlpha:
    case Rgba:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

// 16 bits to 8 exactly as Qt converts them, so both builds import a picture alike.
uint8_t To8(uint16_t value) {
    return static_cast<uint8_t>((value - (value >> 8) + 0x80u) >> 8);
}

struct SHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t depth = 0;
    uint8_t colour = 0;
    bool interlaced = false;
};

struct SChunks {
    SHeader header;
    std::vector<std::array<uint8_t, 4>> palette; // red, green, blue, alpha
    std::optional<std::array<uint16_t, 3>> colourKey; // tRNS of grey (first) or RGB
    std::vector<std::span<const uint8_t>> data; // the IDAT chunks in order
};

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

bool ReadHeader(std::span<const uint8_t> body, SHeader& header, std::string& error) {
    if (body.size() != 13)
        return Fail(error, "damaged: the header chunk has the wrong length");
    header.width = Be32(body.data());
    header.height = Be32(body.data() + 4);
    header.depth = body[8];
    header.colour = body[9];
    header.interlaced = body[12] == 1;
    if (header.width == 0 || header.height == 0 || header.width > kMaxChunk ||
        header.height > kMaxChunk)
        return Fail(error, "damaged: the picture's size is " + std::to_string(header.width) +
                               " x " + std::to_string(header.height));
    if (!DepthAllowed(header.colour, header.depth))
        return Fail(error, "damaged: colour type " + std::to_string(header.colour) +
                               " with " + std::to_string(header.depth) + " bits");
    if (body[10] != 0 || body[11] != 0 || body[12] > 1)
        return Fail(error, "damaged: unknown compression, filter or interlace method");
    if (uint64_t{header.width} * header.height > CPngCodec::kMaxPixels)
        return Fail(error, "too large: " + std::to_string(header.width) + " × " +
                               std::to_string(header.height) + " pixels");
    return true;
}

bool ReadTransparency(std::span<const uint8_t> body, SChunks& chunks, std::string& error) {
    switch (chunks.header.colour) {
    case Palette:
        if (body.size() > chunks.palette.size())
            return Fail(error, "damaged: more transparency entries than palette entries");
        for (size_t i = 0; i < body.size(); ++i)
            chunks.palette[i][3] = body[i];
        return true;
    case Grey:
        if (body.size() != 2)
            return Fail(error, "damaged: the transparency chunk has the wrong length");
        chunks.colourKey = std::array<uint16_t, 3>{Be16(body.data()), 0, 0};
        return true;
    case Rgb:
        if (body.size() != 6)
            return Fail(error, "damaged: the transparency chunk has the wrong length");
        chunks.colourKey = std::array<uint16_t, 3>{Be16(body.data()), Be16(body.data() + 2),
                                                   Be16(body.data() + 4)};
        return true;
    default:
        return Fail(error, "damaged: a transparency chunk in a picture with alpha");
    }
}

// Splits the file into its chunks, checking every length, checksum and the order the format
// requires.
bool ReadChunks(std::span<const uint8_t> data, SChunks& chunks, std::string& error) {
    if (!CPngCodec::IsPng(data))
        return Fail(error, "not a PNG file");
    size_t at = kSignature.size();
    bool seenHeader = false;
    bool seenPalette = false;
    bool seenTransparency = false;
    bool dataEnded = false;
    for (;;) {
        if (data.size() - at < 12)
            return Fail(error, "damaged: the file ends early (no IEND chunk)");
        const uint32_t length = Be32(data.data() + at);
        if (length > kMaxChunk || data.size() - at - 12 < length)
            return Fail(error, "damaged: a chunk runs past the end of the file");
        const uint8_t* type = data.data() + at + 4;
        const std::string name(reinterpret_cast<const char*>(type), 4);
        const std::span<const uint8_t> body(type + 4, length);
        if (ChunkCrc(type, size_t{length} + 4) != Be32(type + 4 + length))
            return Fail(error, "damaged: the checksum of chunk '" + name + "' is wrong");
        at += size_t{length} + 12;
        if (!seenHeader && name != "IHDR")
            return Fail(error, "damaged: the file does not start with its header chunk");
        if (name == "IHDR") {
            if (seenHeader)
                return Fail(error, "damaged: two header chunks");
            seenHeader = true;
            if (!ReadHeader(body, chunks.header, error))
                return false;
        } else if (name == "PLTE") {
            if (seenPalette || !chunks.data.empty() || seenTransparency)
                return Fail(error, "damaged: the palette is out of place");
            if (length == 0 || length % 3 != 0 || length / 3 > 256)
                return Fail(error, "damaged: the palette has the wrong length");
            seenPalette = true;
            for (size_t i = 0; i < length; i += 3)
                chunks.palette.push_back({body[i], body[i + 1], body[i + 2], 255});
        } else if (name == "tRNS") {
            if (seenTransparency || !chunks.data.empty() ||
                (chunks.header.colour == Palette && !seenPalette))
                return Fail(error, "damaged: the transparency chunk is out of place");
            seenTransparency = true;
            if (!ReadTransparency(body, chunks, error))
                return false;
        } else if (name == "IDAT") {
            if (dataEnded)
                return Fail(error, "damaged: the image data is split by other chunks");
            if (chunks.header.colour == Palette && !seenPalette)
                return Fail(error, "damaged: a palette picture without a palette");
            chunks.data.push_back(body);
        } else if (name == "IEND") {
            if (chunks.data.empty())
                return Fail(error, "damaged: the file has no image data");
            return true;
        } else if ((type[0] & 0x20) == 0) {
            return Fail(error, "damaged or of a kind not read here: unknown chunk '" + name + "'");
        }
        if (!chunks.data.empty() && name != "IDAT")
            dataEnded = true;
    }
}

uint8_t Paeth(uint8_t a, uint8_t b, uint8_t c) {
    const int p = int{a} + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

bool Unfilter(uint8_t filter, std::span<uint8_t> row, std::span<const uint8_t> previous,
              size_t bpp) {
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (size_t i = bpp; i < row.size(); ++i)
            row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
        return true;
    case 2:
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<uint8_t>(row[i] + previous[i]);
        return true;
    case 3:
        for (size_t i = 0; i < row.size(); ++i) {
            const unsigned left = i >= bpp ? row[i - bpp] : 0;
            row[i] = static_cast<uint8_t>(row[i] + ((left + previous[i]) >> 1));
        }
        return true;
    case 4:
        for (size_t i = 0; i < row.size(); ++i) {
            const uint8_t left = i >= bpp ? row[i - bpp] : 0;
            const uint8_t upLeft = i >= bpp ? previous[i - bpp] : 0;
            row[i] = static_cast<uint8_t>(row[i] + Paeth(left, previous[i], upLeft));
        }
        return true;
    default:
        return false;
    }
}

// Appends the `width` pixels of one unfiltered row as blue, green, red, alpha.
bool ConvertRow(const SChunks& chunks, std::span<const uint8_t> row, uint32_t width,
                std::vector<uint8_t>& out, std::string& error) {
    const SHeader& h = chunks.header;
    const unsigned depth = h.depth;
    const unsigned channels = Channels(h.colour);
    // Sample `index` of the row at the picture's bit depth.
    const auto sample = [&](size_t index) -> uint16_t {
        if (depth == 16)
            return Be16(row.data() + index * 2);
        if (depth == 8)
            return row[index];
        const size_t bit = index * depth;
        const unsigned shift = 8 - depth - static_cast<unsigned>(bit % 8);
        return static_cast<uint16_t>((row[bit / 8] >> shift) & ((1u << depth) - 1));
    };
    const auto to8 = [&](uint16_t value) -> uint8_t {
        if (depth == 16)
            return To8(value);
        return static_cast<uint8_t>(value * 255u / ((1u << depth) - 1));
    };
    for (uint32_t x = 0; x < width; ++x) {
        const size_t first = size_t{x} * channels;
        uint8_t r = 0, g = 0, b = 0, a = 255;
        switch (h.colour) {
        case Grey: {
            const uint16_t v = sample(first);
            r = g = b = to8(v);
            if (chunks.colourKey && (*chunks.colourKey)[0] == v)
                a = 0;
            break;
        }
        case GreyAlpha:
            r = g = b = to8(sample(first));
            a = to8(sample(first + 1));
            break;
        case Rgb: {
            const uint16_t vr = sample(first), vg = sample(first + 1), vb = sample(first + 2);
            r = to8(vr);
            g = to8(vg);
            b = to8(vb);
            if (chunks.colourKey && *chunks.colourKey == std::array<uint16_t, 3>{vr, vg, vb})
                a = 0;
            break;
        }
        case Rgba:
            r = to8(sample(first));
            g = to8(sample(first + 1));
            b = to8(sample(first + 2));
            a = to8(sample(first + 3));
            break;
        case Palette: {
            const uint16_t index = sample(first);
            if (index >= chunks.palette.size()) {
                error = "damaged: palette index " + std::to_string(index) + " beyond the " +
                        std::to_string(chunks.palette.size()) + "-colour palette";
                return false;
            }
            const auto& entry = chunks.palette[index];
            r = entry[0];
            g = entry[1];
            b = entry[2];
            a = entry[3];
            break;
        }
        default:
            break;
        }
        out.insert(out.end(), {b, g, r, a});
    }
    return true;
}

// Inflates the image data row by row: memory grows with the data actually present, so a file
// that declares a huge picture but holds little is refused before much is allocated.
class CRowInflater {
public:
    explicit CRowInflater(const std::vector<std::span<const uint8_t>>& chunks) : chunks(chunks) {
        ok = inflateInit(&stream) == Z_OK;
    }
    ~CRowInflater() { inflateEnd(&stream); }
    CRowInflater(const CRowInflater&) = delete;
    CRowInflater& operator=(const CRowInflater&) = delete;

    // Fills out whole; false with the reason when the data ends or is damaged.
    bool Next(std::span<uint8_t> out, std::string& error) {
        if (!ok)
            return Fail(error, "out of memory");
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        while (stream.avail_out > 0) {
            if (ended)
                return Fail(error, "damaged: the image data ends early");
            if (stream.avail_in == 0 && !Feed())
                return Fail(error, "damaged: the image data ends early");
            const int status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_STREAM_END)
                ended = true;
            else if (status != Z_OK && status != Z_BUF_ERROR)
                return Fail(error, "damaged: the image data cannot be unpacked");
        }
        return true;
    }

    // After the last row: the stream must end there, with nothing after it.
    bool Finish(std::string& error) {
        uint8_t extra = 0;
        while (!ended) {
            if (stream.avail_in == 0 && !Feed())
                return Fail(error, "damaged: the image data is not complete");
            stream.next_out = &extra;
            stream.avail_out = 1;
            const int status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_STREAM_END && stream.avail_out == 1)
                ended = true;
            else if (stream.avail_out == 0)
                return Fail(error, "damaged: more image data than the picture's size");
            else if (status != Z_OK && status != Z_BUF_ERROR)
                return Fail(error, "damaged: the image data cannot be unpacked");
        }
        return true;
    }

private:
    bool Feed() {
        while (next < chunks.size()) {
            const auto chunk = chunks[next++];
            if (chunk.empty())
                continue;
            stream.next_in = const_cast<Bytef*>(chunk.data());
            stream.avail_in = static_cast<uInt>(chunk.size());
            return true;
        }
        return false;
    }

    const std::vector<std::span<const uint8_t>>& chunks;
    size_t next = 0;
    z_stream stream{};
    bool ok = false;
    bool ended = false;
};

// The filter a row gets: the one whose bytes, taken as signed, sum smallest (libpng's rule).
uint8_t ChooseFilter(std::span<const uint8_t> row, std::span<const uint8_t> previous, size_t bpp,
                     std::vector<uint8_t>& best, std::vector<uint8_t>& trial) {
    uint64_t bestSum = UINT64_MAX;
    uint8_t bestFilter = 0;
    for (uint8_t filter = 0; filter <= 4; ++filter) {
        trial.assign(row.begin(), row.end());
        uint64_t sum = 0;
        for (size_t i = 0; i < row.size(); ++i) {
            const uint8_t left = i >= bpp ? row[i - bpp] : 0;
            const uint8_t up = previous[i];
            const uint8_t upLeft = i >= bpp ? previous[i - bpp] : 0;
            uint8_t predicted = 0;
            switch (filter) {
            case 1:
                predicted = left;
                break;
            case 2:
                predicted = up;
                break;
            case 3:
                predicted = static_cast<uint8_t>((unsigned{left} + up) >> 1);
                break;
            case 4:
                predicted = Paeth(left, up, upLeft);
                break;
            default:
                break;
            }
            trial[i] = static_cast<uint8_t>(row[i] - predicted);
            sum += static_cast<uint64_t>(std::abs(static_cast<int8_t>(trial[i])));
        }
        if (sum < bestSum) {
            bestSum = sum;
            bestFilter = filter;
            best.swap(trial);
        }
    }
    return bestFilter;
}

void PutChunk(std::vector<uint8_t>& out, const char* type, std::span<const uint8_t> body) {
    PutBe32(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBe32(out, ChunkCrc(out.data() + start, body.size() + 4));
}

} // namespace

bool CPngCodec::IsPng(std::span<const uint8_t> data) {
    return data.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), data.begin());
}

std::optional<wren::BgraImage> CPngCodec::Decode(std::span<const uint8_t> data,
                                                 std::string& error) {
    SChunks chunks;
    if (!ReadChunks(data, chunks, error))
        return std::nullopt;
    const SHeader& h = chunks.header;
    const size_t bitsPerPixel = size_t{h.depth} * Channels(h.colour);
    const size_t bpp = std::max<size_t>(1, bitsPerPixel / 8);
    CRowInflater inflater(chunks.data);
    // One sub-image, filtered on its own, converted to 32 bits into `out`.
    const auto readPass = [&](uint32_t width, uint32_t height, std::vector<uint8_t>& out) {
        const size_t rowBytes = (size_t{width} * bitsPerPixel + 7) / 8;
        std::vector<uint8_t> previous(rowBytes, 0);
        std::vector<uint8_t> current(rowBytes + 1);
        for (uint32_t y = 0; y < height; ++y) {
            if (!inflater.Next(current, error))
                return false;
            const std::span<uint8_t> row(current.data() + 1, rowBytes);
            if (!Unfilter(current[0], row, previous, bpp))
                return Fail(error, "damaged: row " + std::to_string(y) + " has an unknown filter");
            if (!ConvertRow(chunks, row, width, out, error))
                return false;
            std::copy(row.begin(), row.end(), previous.begin());
        }
        return true;
    };
    wren::BgraImage image;
    image.width = h.width;
    image.height = h.height;
    if (!h.interlaced) {
        if (!readPass(h.width, h.height, image.pixels))
            return std::nullopt;
    } else {
        // Adam7: seven sub-images on a grid of 8 x 8. Each pass is kept whole until the data
        // has been read, so memory still grows with the data actually present.
        struct SPass {
            uint32_t x, y, dx, dy;
        };
        constexpr std::array<SPass, 7> kPasses = {{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
                                                   {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2},
                                                   {0, 1, 1, 2}}};
        std::array<std::vector<uint8_t>, 7> passes;
        for (size_t p = 0; p < kPasses.size(); ++p) {
            const SPass& pass = kPasses[p];
            const uint32_t width =
                h.width > pass.x ? (h.width - pass.x + pass.dx - 1) / pass.dx : 0;
            const uint32_t height =
                h.height > pass.y ? (h.height - pass.y + pass.dy - 1) / pass.dy : 0;
            // An empty pass has no rows, not even filter bytes.
            if (width > 0 && height > 0 && !readPass(width, height, passes[p]))
                return std::nullopt;
        }
        image.pixels.resize(size_t{h.width} * h.height * 4);
        for (size_t p = 0; p < kPasses.size(); ++p) {
            const SPass& pass = kPasses[p];
            const uint8_t* from = passes[p].data();
            for (uint32_t y = pass.y; y < h.height; y += pass.dy)
                for (uint32_t x = pass.x; x < h.width; x += pass.dx, from += 4)
                    std::copy(from, from + 4, image.pixels.data() + (size_t{y} * h.width + x) * 4);
        }
    }
    if (!inflater.Finish(error))
        return std::nullopt;
    return image;
}

std::optional<std::vector<uint8_t>> CPngCodec::Encode(const wren::BgraImage& image,
                                                      std::string& error) {
    const uint64_t pixels = uint64_t{image.width} * image.height;
    if (pixels == 0 || pixels > kMaxPixels || image.pixels.size() != pixels * 4) {
        error = "cannot write a picture of " + std::to_string(image.width) + " x " +
                std::to_string(image.height) + " pixels as PNG";
        return std::nullopt;
    }
    bool opaque = true;
    for (size_t i = 3; i < image.pixels.size() && opaque; i += 4)
        opaque = image.pixels[i] == 255;
    const size_t channels = opaque ? 3 : 4;
    const size_t rowBytes = size_t{image.width} * channels;

    // Every row with its filter byte, then one deflate stream over all of them.
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * image.height);
    std::vector<uint8_t> previous(rowBytes, 0), row(rowBytes), best, trial;
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* in = image.pixels.data() + size_t{y} * image.width * 4;
        for (uint32_t x = 0; x < image.width; ++x, in += 4) {
            uint8_t* to = row.data() + size_t{x} * channels;
            to[0] = in[2];
            to[1] = in[1];
            to[2] = in[0];
            if (!opaque)
                to[3] = in[3];
        }
        raw.push_back(ChooseFilter(row, previous, channels, best, trial));
        raw.insert(raw.end(), best.begin(), best.end());
        previous.swap(row);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        error = "out of memory while packing the picture";
        return std::nullopt;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> out(kSignature.begin(), kSignature.end());
    std::vector<uint8_t> header;
    PutBe32(header, image.width);
    PutBe32(header, image.height);
    header.insert(header.end(), {8, static_cast<uint8_t>(opaque ? Rgb : Rgba), 0, 0, 0});
    PutChunk(out, "IHDR", header);
    // Chunks stay well under the format's 2^31 - 1 bytes.
    constexpr size_t kDataChunk = size_t{1} << 20;
    for (size_t at = 0; at < packed.size(); at += kDataChunk)
        PutChunk(out, "IDAT",
                 std::span<const uint8_t>(packed).subspan(at, std::min(kDataChunk,
                                                                       packed.size() - at)));
    PutChunk(out, "IEND", {});
    return out;
}
