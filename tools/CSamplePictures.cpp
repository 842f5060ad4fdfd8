#include "CSamplePictures.h"

#include "CSampleCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

using Colour = std::optional<uint32_t>;

constexpr uint32_t kTransparent = 0x00000000u;

uint32_t Opaque(uint32_t rgb) {
    return CSampleCanvas::Opaque(rgb);
}

// A cheap, stable hash for speckles that must look random but stay the same every run.
uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

constexpr std::array<uint32_t, 5> kSkinTones = {0xF1C7A5, 0xE0AC85, 0xC68642, 0x8D5524, 0x5C3A21};
constexpr std::array<uint32_t, 5> kHairColours = {0x1A1A1A, 0x5A3A1E, 0xB8863B, 0xE6CF8B, 0xA5402A};

uint32_t HairColour(int stored) {
    return kHairColours[static_cast<size_t>(std::clamp(stored, 1, 5) - 1)];
}

bool InEllipse(float u, float v, float cu, float cv, float ru, float rv) {
    const float du = (u - cu) / ru;
    const float dv = (v - cv) / rv;
    return du * du + dv * dv <= 1.0f;
}

bool InShield(float u, float v, float inset) {
    const float top = 0.08f + inset;
    const float half = 0.38f - inset;
    if (v < top || std::fabs(u - 0.5f) > half)
        return false;
    if (v <= 0.58f)
        return true;
    const float depth = 0.34f - inset;
    const float t = (v - 0.58f) / depth;
    return t <= 1.0f && std::fabs(u - 0.5f) <= half * std::sqrt(std::max(0.0f, 1.0f - t * t));
}

} // namespace

wren::BgraImage CSamplePictures::Kit(const SKit& kit, uint32_t size) {
    CSampleCanvas canvas(size, size, kTransparent);
    canvas.Paint([&](float u, float v) -> Colour {
        const bool body = u >= 0.27f && u <= 0.73f && v >= 0.06f && v <= 0.62f;
        const bool sleeve = v >= 0.06f && v <= 0.30f && u >= 0.06f && u <= 0.94f &&
                            v - 0.06f <= 0.24f - std::max(0.0f, 0.27f - u) * 0.3f -
                                             std::max(0.0f, u - 0.73f) * 0.3f;
        if (body || sleeve) {
            if (std::fabs(u - 0.5f) < 0.10f - (v - 0.06f) && v < 0.14f)
                return Opaque(kit.trim);
            if (sleeve && !body && v > 0.25f)
                return Opaque(kit.trim);
            bool accent = false;
            switch (kit.style) {
            case EPattern::Stripes:
                accent = static_cast<int>(u * 10.0f) % 2 == 1;
                break;
            case EPattern::Hoops:
                accent = static_cast<int>(v * 12.0f) % 2 == 1;
                break;
            case EPattern::Sash:
                accent = std::fabs((u - 0.2f) - (v - 0.06f)) < 0.09f;
                break;
            case EPattern::Plain:
                break;
            }
            return Opaque(accent ? kit.pattern : kit.jersey);
        }
        const bool shorts = v >= 0.66f && v <= 0.86f && u >= 0.29f && u <= 0.71f &&
                            !(std::fabs(u - 0.5f) < 0.03f && v > 0.76f);
        if (shorts)
            return Opaque(v < 0.69f ? kit.trim : kit.shorts);
        const bool socks = v >= 0.89f && v <= 0.98f &&
                           (std::fabs(u - 0.38f) < 0.06f || std::fabs(u - 0.62f) < 0.06f);
        if (socks)
            return Opaque(kit.socks);
        return std::nullopt;
    });
    return canvas.Take();
}

wren::BgraImage CSamplePictures::Crowd(const SKit& kit, uint32_t seed, uint32_t size) {
    CSampleCanvas canvas(size, size, Opaque(CSampleCanvas::Mix(kit.jersey, 0x202020, 0.7f)));
    const std::array<uint32_t, 4> colours = {kit.jersey, kit.pattern, kit.trim, kSkinTones[1]};
    const uint32_t rows = std::max(size / 4, 1u);
    canvas.Paint([&](float u, float v) -> Colour {
        const auto cx = static_cast<uint32_t>(u * static_cast<float>(rows));
        const auto cy = static_cast<uint32_t>(v * static_cast<float>(rows));
        const float fu = u * static_cast<float>(rows) - static_cast<float>(cx);
        const float fv = v * static_cast<float>(rows) - static_cast<float>(cy);
        if (!InEllipse(fu, fv, 0.5f, 0.5f, 0.4f, 0.4f))
            return std::nullopt;
        return Opaque(colours[Hash(seed, cx, cy) % colours.size()]);
    });
    return canvas.Take();
}

wren::BgraImage CSamplePictures::Crest(const SKit& kit, const std::string& name, uint32_t size) {
    CSampleCanvas canvas(size, size, kTransparent);
    canvas.Paint([&](float u, float v) -> Colour {
        if (!InShield(u, v, 0.0f))
            return std::nullopt;
        if (!InShield(u, v, 0.05f))
            return Opaque(kit.trim);
        if (v > 0.60f && v < 0.70f)
            return Opaque(kit.pattern);
        return Opaque(kit.jersey);
    });
    const std::string initials = Initials(name);
    const int scale = size >= 96 ? 3 : size >= 48 ? 2 : 1;
    const int width = CSampleCanvas::TextWidth(initials, scale);
    const uint32_t ink = CSampleCanvas::IsLight(kit.jersey) ? 0xFF101010u : 0xFFF8F8F8u;
    canvas.Text((static_cast<int>(size) - width) / 2, static_cast<int>(size) * 22 / 100, initials,
                scale, ink);
    return canvas.Take();
}

wren::BgraImage CSamplePictures::FaceTexture(int number, uint32_t size) {
    const auto n = static_cast<uint32_t>(number);
    const uint32_t skin = kSkinTones[n % kSkinTones.size()];
    const uint32_t hair = kHairColours[(n / 5) % kHairColours.size()];
    CSampleCanvas canvas(size, size, Opaque(0x6A8CAF));
    const float faceWidth = 0.30f + 0.04f * static_cast<float>(n % 3);
    canvas.Paint([&](float u, float v) -> Colour {
        if (InEllipse(u, v, 0.5f, 0.40f, faceWidth + 0.03f, 0.36f) && v < 0.30f)
            return Opaque(hair);
        if (InEllipse(u, v, 0.5f, 0.45f, faceWidth, 0.34f)) {
            if (InEllipse(u, v, 0.38f, 0.42f, 0.05f, 0.03f) ||
                InEllipse(u, v, 0.62f, 0.42f, 0.05f, 0.03f))
                return Opaque(0x202020);
            if (v > 0.60f && v < 0.63f && std::fabs(u - 0.5f) < 0.10f)
                return Opaque(0x803030);
            return Opaque(skin);
        }
        return std::nullopt;
    });
    const std::string digits = std::to_string(number);
    const int scale = size >= 64 ? 2 : 1;
    canvas.Text((static_cast<int>(size) - CSampleCanvas::TextWidth(digits, scale)) / 2,
                static_cast<int>(size) - 8 * scale, digits, scale, 0xFFFFFFFFu);
    return canvas.Take();
}

wren::BgraImage CSamplePictures::Head(int faceType, uint32_t size) {
    const auto n = static_cast<uint32_t>(std::max(faceType, 0));
    const uint32_t skin = kSkinTones[n % kSkinTones.size()];
    const float width = 0.26f + 0.02f * static_cast<float>(n % 4);
    const float chin = 0.34f + 0.02f * static_cast<float>((n / 4) % 3);
    CSampleCanvas canvas(size, size, Opaque(0xE8E8E8));
    canvas.Paint([&](float u, float v) -> Colour {
        if (!InEllipse(u, v, 0.5f, 0.5f, width, chin))
            return std::nullopt;
        if (InEllipse(u, v, 0.40f, 0.45f, 0.04f, 0.025f) ||
            InEllipse(u, v, 0.60f, 0.45f, 0.04f, 0.025f))
            return Opaque(0x202020);
        if (std::fabs(u - 0.5f) < 0.015f && v > 0.47f && v < 0.58f)
            return Opaque(CSampleCanvas::Mix(skin, 0x000000, 0.3f));
        if (v > 0.66f && v < 0.68f && std::fabs(u - 0.5f) < 0.08f)
            return Opaque(0x903838);
        return Opaque(skin);
    });
    return canvas.Take();
}

wren::BgraImage CSamplePictures::Hair(int hairType, uint32_t size) {
    const auto n = static_cast<uint32_t>(std::max(hairType, 0));
    const float length = 0.18f + 0.04f * static_cast<float>(n % 6);
    const bool curly = n % 2 == 0;
    CSampleCanvas canvas(size, size, Opaque(0xE8E8E8));
    canvas.Paint([&](float u, float v) -> Colour {
        if (!InEllipse(u, v, 0.5f, 0.45f, 0.34f, 0.36f) || v > 0.12f + length + 0.2f)
            return std::nullopt;
        if (InEllipse(u, v, 0.5f, 0.55f, 0.26f, 0.30f) && v > 0.12f + length)
            return std::nullopt;
        const bool light =
            curly && Hash(n, static_cast<uint32_t>(u * 40), static_cast<uint32_t>(v * 40)) % 3 == 0;
        return Opaque(light ? 0x4A3A2A : 0x2A1E14);
    });
    return canvas.Take();
}

wren::BgraImage CSamplePictures::FacialHair(int style, int hairColour, uint32_t size) {
    const uint32_t colour = HairColour(hairColour);
    CSampleCanvas canvas(size, size, Opaque(0xE8E8E8));
    canvas.Paint([&](float u, float v) -> Colour {
        const bool moustache = v > 0.50f && v < 0.56f && std::fabs(u - 0.5f) < 0.14f;
        const bool chinBeard = InEllipse(u, v, 0.5f, 0.72f, 0.12f, 0.10f);
        const bool fullBeard = InEllipse(u, v, 0.5f, 0.62f, 0.28f, 0.22f) &&
                               !InEllipse(u, v, 0.5f, 0.60f, 0.10f, 0.05f);
        const bool sideburns =
            v > 0.30f && v < 0.60f && std::fabs(std::fabs(u - 0.5f) - 0.25f) < 0.03f;
        bool hair = false;
        switch (style) {
        case 1:
            break;
        case 2:
            hair = moustache;
            break;
        case 3:
            hair = chinBeard;
            break;
        case 4:
            hair = moustache || chinBeard;
            break;
        case 5:
            hair = sideburns;
            break;
        default:
            hair = fullBeard;
            break;
        }
        return hair ? Colour(Opaque(colour)) : std::nullopt;
    });
    return canvas.Take();
}

std::string CSamplePictures::Initials(const std::string& name) {
    std::string initials;
    bool atWordStart = true;
    for (char c : name) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (letter && atWordStart && initials.size() < 3)
            initials.push_back(c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c);
        atWordStart = c == ' ' || c == '-';
    }
    return initials;
}
