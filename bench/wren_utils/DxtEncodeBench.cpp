#include "tests/support/TestPictures.h"
#include "wren_utils/shapes/DxtDecoder.h"
#include "wren_utils/shapes/DxtEncoder.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <benchmark/benchmark.h>

#ifdef KESTREL_HAVE_SQUISH
#include <squish.h>
#endif

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// Quality and speed of the DXT encoder on pictures like kits and crests, beside libsquish's
// cluster fit when it is installed. Every result is decoded by this library's decoder (the one
// the editor shows pictures with); the counters are PSNR in dB against the source (colour over
// visible pixels, alpha over all), the time is per picture, or per set of pictures for
// BM_EncodeSet.
namespace {

using Encoder = std::function<std::vector<uint8_t>(uint8_t type, const wren::BgraImage&)>;

struct Format {
    const char* name;
    uint8_t type;
    bool withAlpha;
};

constexpr Format kFormats[] = {{"Dxt1", wren::kShapeTypeDxt1, false},
                               {"Dxt3", wren::kShapeTypeDxt3, true},
                               {"Dxt5", wren::kShapeTypeDxt5, true}};

std::vector<uint8_t> Decode(uint8_t type, const std::vector<uint8_t>& blocks, uint32_t side) {
    std::vector<uint8_t> pixels(size_t{side} * side * 4);
    wren::DxtDecoder::DecodeLevel(type, blocks, side, side, pixels);
    return pixels;
}

struct Psnrs {
    double rgb = 0;
    double alpha = 0;
};

Psnrs Measure(const wren::BgraImage& image, const Format& format,
              const std::vector<uint8_t>& blocks) {
    const std::vector<uint8_t> decoded = Decode(format.type, blocks, image.width);
    const size_t stride = size_t{image.width} * 4;
    return {PsnrRgb(image, decoded, stride, format.withAlpha ? 1 : 128),
            format.withAlpha ? PsnrAlpha(image, decoded, stride) : 99.0};
}

void EncodePicture(benchmark::State& state, const Encoder& encode, TestPicture picture,
                   uint32_t side, Format format) {
    const wren::BgraImage image = MakeTestPicture(picture, side, format.withAlpha);
    std::vector<uint8_t> blocks;
    for (auto _ : state) {
        blocks = encode(format.type, image);
        benchmark::DoNotOptimize(blocks.data());
    }
    const Psnrs psnrs = Measure(image, format, blocks);
    state.counters["rgb_dB"] = psnrs.rgb;
    if (format.withAlpha)
        state.counters["alpha_dB"] = psnrs.alpha;
    state.SetItemsProcessed(state.iterations() * int64_t{side} * side);
}

constexpr wren::DxtQuality kQualities[] = {wren::DxtQuality::High, wren::DxtQuality::Fast};

std::string QualityName(wren::DxtQuality quality) {
    return quality == wren::DxtQuality::High ? "High" : "Fast";
}

Encoder OursAt(wren::DxtQuality quality) {
    return [quality](uint8_t type, const wren::BgraImage& image) {
        return *wren::DxtEncoder::Encode(type, image, quality);
    };
}

#ifdef KESTREL_HAVE_SQUISH
int SquishFlags(uint8_t type) {
    const int format = type == wren::kShapeTypeDxt1   ? squish::kDxt1
                       : type == wren::kShapeTypeDxt3 ? squish::kDxt3
                                                      : squish::kDxt5;
    return format | squish::kColourClusterFit;
}

// Squish reads red, green, blue, alpha: the swap is part of its work, as it would be in use.
std::vector<uint8_t> SwapRedBlue(std::vector<uint8_t> pixels) {
    for (size_t i = 0; i + 3 < pixels.size(); i += 4)
        std::swap(pixels[i], pixels[i + 2]);
    return pixels;
}

// Squared error is what PSNR counts, so squish gets its uniform metric rather than its
// perceptual default. Its CompressImage spreads blocks over OpenMP threads; ours runs on one, so
// squish gets the same loop on one thread (per-core speed, the same blocks and masks as
// CompressImage would give it).
std::vector<uint8_t> EncodeSquish(uint8_t type, const wren::BgraImage& image) {
    float uniform[3] = {1.0f, 1.0f, 1.0f};
    const int flags = SquishFlags(type);
    const auto w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    std::vector<uint8_t> blocks(static_cast<size_t>(squish::GetStorageRequirements(w, h, flags)));
    const std::vector<uint8_t> rgba = SwapRedBlue(image.pixels);
    const size_t blockBytes = type == wren::kShapeTypeDxt1 ? 8 : 16;
    uint8_t* out = blocks.data();
    for (int y = 0; y < h; y += 4)
        for (int x = 0; x < w; x += 4, out += blockBytes) {
            uint8_t pixels[64] = {};
            int mask = 0;
            for (int py = 0; py < 4; ++py)
                for (int px = 0; px < 4; ++px)
                    if (x + px < w && y + py < h) {
                        std::copy_n(rgba.data() + 4 * (size_t(y + py) * w + x + px), 4,
                                    pixels + 4 * (4 * py + px));
                        mask |= 1 << (4 * py + px);
                    }
            squish::CompressMasked(pixels, mask, out, flags, uniform);
        }
    return blocks;
}

// Squish's blocks through squish's own decoder too: how much of the gap is the decoder's palette.
void AddSquishOwnDecoderPsnr(benchmark::State& state, TestPicture picture, uint32_t side,
                             Format format) {
    const wren::BgraImage image = MakeTestPicture(picture, side, format.withAlpha);
    const std::vector<uint8_t> blocks = EncodeSquish(format.type, image);
    std::vector<uint8_t> rgba(size_t{side} * side * 4);
    const auto s = static_cast<int>(side);
    squish::DecompressImage(rgba.data(), s, s, blocks.data(), SquishFlags(format.type) & 7);
    state.counters["rgb_dB_own_decoder"] =
        PsnrRgb(image, SwapRedBlue(std::move(rgba)), size_t{side} * 4, format.withAlpha ? 1 : 128);
}
#endif

// The whole set of pictures of one format, so that the overall speed ratio of two encoders is
// read from two lines. With squish installed, ours also report their smallest margin over
// squish's PSNR (both decoded by our decoder) across the set: negative where squish is better.
void EncodeSet(benchmark::State& state, const Encoder& encode, Format format, bool compare) {
    std::vector<wren::BgraImage> images;
    for (TestPicture picture : AllTestPictures())
        for (uint32_t side : {256u, 512u})
            images.push_back(MakeTestPicture(picture, side, format.withAlpha));
    std::vector<std::vector<uint8_t>> blocks(images.size());
    for (auto _ : state)
        for (size_t i = 0; i < images.size(); ++i) {
            blocks[i] = encode(format.type, images[i]);
            benchmark::DoNotOptimize(blocks[i].data());
        }
#ifdef KESTREL_HAVE_SQUISH
    if (!compare)
        return;
    double rgbMargin = 1e9, alphaMargin = 1e9;
    for (size_t i = 0; i < images.size(); ++i) {
        const Psnrs ours = Measure(images[i], format, blocks[i]);
        const Psnrs peer = Measure(images[i], format, EncodeSquish(format.type, images[i]));
        rgbMargin = std::min(rgbMargin, ours.rgb - peer.rgb);
        alphaMargin = std::min(alphaMargin, ours.alpha - peer.alpha);
    }
    state.counters["min_rgb_margin_dB"] = rgbMargin;
    if (format.withAlpha)
        state.counters["min_alpha_margin_dB"] = alphaMargin;
#else
    (void)compare;
#endif
}

int RegisterAll() {
    for (const Format& format : kFormats)
        for (TestPicture picture : AllTestPictures())
            for (uint32_t side : {256u, 512u}) {
                const std::string suffix = std::string(format.name) + "/" +
                                           TestPictureName(picture) + "/" + std::to_string(side);
                for (wren::DxtQuality quality : kQualities)
                    benchmark::RegisterBenchmark(
                        ("BM_Encode" + QualityName(quality) + "/" + suffix).c_str(),
                        [=](benchmark::State& state) {
                            EncodePicture(state, OursAt(quality), picture, side, format);
                        })
                        ->Unit(benchmark::kMillisecond);
#ifdef KESTREL_HAVE_SQUISH
                benchmark::RegisterBenchmark(
                    ("BM_EncodeSquishClusterFit/" + suffix).c_str(),
                    [=](benchmark::State& state) {
                        EncodePicture(state, EncodeSquish, picture, side, format);
                        AddSquishOwnDecoderPsnr(state, picture, side, format);
                    })
                    ->Unit(benchmark::kMillisecond);
#endif
            }
    for (const Format& format : kFormats) {
        const std::string prefix = std::string("BM_EncodeSet/") + format.name + "/";
        for (wren::DxtQuality quality : kQualities)
            benchmark::RegisterBenchmark(
                (prefix + QualityName(quality)).c_str(),
                [=](benchmark::State& state) { EncodeSet(state, OursAt(quality), format, true); })
                ->Unit(benchmark::kMillisecond);
#ifdef KESTREL_HAVE_SQUISH
        benchmark::RegisterBenchmark(
            (prefix + "SquishClusterFit").c_str(),
            [=](benchmark::State& state) { EncodeSet(state, EncodeSquish, format, false); })
            ->Unit(benchmark::kMillisecond);
#endif
    }
    return 0;
}

[[maybe_unused]] const int kRegistered = RegisterAll();

} // namespace
