#include "tests/support/TestPictures.h"
#include "wren_utils/shapes/DxtDecoder.h"
#include "wren_utils/shapes/DxtEncoder.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <benchmark/benchmark.h>

#ifdef KESTREL_HAVE_SQUISH
#include <squish.h>
#endif

#include <functional>
#include <string>
#include <vector>

// Quality and speed of the DXT encoder on pictures like kits and crests, beside libsquish's
// cluster fit when it is installed. Every result is decoded by this library's decoder (the one
// the editor shows pictures with); the counters are PSNR in dB against the source (colour over
// visible pixels, alpha over all), the time is per picture.
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

void EncodePicture(benchmark::State& state, const Encoder& encode, TestPicture picture,
                   uint32_t side, Format format) {
    const wren::BgraImage image = MakeTestPicture(picture, side, format.withAlpha);
    std::vector<uint8_t> blocks;
    for (auto _ : state) {
        blocks = encode(format.type, image);
        benchmark::DoNotOptimize(blocks.data());
    }
    const std::vector<uint8_t> decoded = Decode(format.type, blocks, side);
    const size_t stride = size_t{side} * 4;
    state.counters["rgb_dB"] = PsnrRgb(image, decoded, stride, format.withAlpha ? 1 : 128);
    if (format.withAlpha)
        state.counters["alpha_dB"] = PsnrAlpha(image, decoded, stride);
    state.SetItemsProcessed(state.iterations() * int64_t{side} * side);
}

std::vector<uint8_t> EncodeOurs(uint8_t type, const wren::BgraImage& image,
                                wren::DxtQuality quality) {
    return *wren::DxtEncoder::Encode(type, image, quality);
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
// perceptual default.
std::vector<uint8_t> EncodeSquish(uint8_t type, const wren::BgraImage& image) {
    float uniform[3] = {1.0f, 1.0f, 1.0f};
    const int flags = SquishFlags(type);
    const auto w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    std::vector<uint8_t> blocks(static_cast<size_t>(squish::GetStorageRequirements(w, h, flags)));
    const std::vector<uint8_t> rgba = SwapRedBlue(image.pixels);
    squish::CompressImage(rgba.data(), w, h, blocks.data(), flags, uniform);
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

int RegisterAll() {
    for (const Format& format : kFormats)
        for (TestPicture picture : AllTestPictures())
            for (uint32_t side : {256u, 512u}) {
                const std::string suffix = std::string(format.name) + "/" +
                                           TestPictureName(picture) + "/" + std::to_string(side);
                benchmark::RegisterBenchmark(("BM_EncodeHigh/" + suffix).c_str(),
                                             [=](benchmark::State& state) {
                                                 EncodePicture(
                                                     state,
                                                     [](uint8_t t, const wren::BgraImage& i) {
                                                         return EncodeOurs(t, i,
                                                                           wren::DxtQuality::High);
                                                     },
                                                     picture, side, format);
                                             })
                    ->Unit(benchmark::kMillisecond);
                benchmark::RegisterBenchmark(("BM_EncodeFast/" + suffix).c_str(),
                                             [=](benchmark::State& state) {
                                                 EncodePicture(
                                                     state,
                                                     [](uint8_t t, const wren::BgraImage& i) {
                                                         return EncodeOurs(t, i,
                                                                           wren::DxtQuality::Fast);
                                                     },
                                                     picture, side, format);
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
    return 0;
}

[[maybe_unused]] const int kRegistered = RegisterAll();

} // namespace
