#pragma once

#include "wren_utils/shapes/BgraImage.h"

#include <cstdint>
#include <string>

// The sample pictures, drawn from a team's colours and name or from a number. Colours are
// 0xRRGGBB.
class CSamplePictures {
public:
    enum class EPattern { Plain, Stripes, Hoops, Sash };

    struct SKit {
        uint32_t jersey = 0xFFFFFF;
        uint32_t pattern = 0x000000;
        uint32_t trim = 0x000000;
        uint32_t shorts = 0xFFFFFF;
        uint32_t socks = 0xFFFFFF;
        EPattern style = EPattern::Plain;
    };

    // Shirt and shorts on a transparent background.
    static wren::BgraImage Kit(const SKit& kit, uint32_t size);
    // The crowd in the team's colours, for kit slots 7 and 8.
    static wren::BgraImage Crowd(const SKit& kit, uint32_t seed, uint32_t size);
    // A shield with a band and the initials of `name`.
    static wren::BgraImage Crest(const SKit& kit, const std::string& name, uint32_t size);
    // A player's face texture, different for every number, with the number written on it.
    static wren::BgraImage FaceTexture(int number, uint32_t size);

    // The editor's face, hair and facial-hair pictures (opaque, for JPEG files).
    static wren::BgraImage Head(int faceType, uint32_t size);
    static wren::BgraImage Hair(int hairType, uint32_t size);
    static wren::BgraImage FacialHair(int style, int hairColour, uint32_t size);

    // Up to three initials of the words of a name, capitals only.
    static std::string Initials(const std::string& name);
};
