#include "MixedData.h"

#include <algorithm>
#include <random>
#include <string>

std::vector<std::uint8_t> MakeMixedData(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> data;
    data.reserve(size + 4096);
    const std::string words[] = {"league", "crest",  "kit",     "home", "away", "shape",
                                 "team",   "player", "stadium", "the ", "of ",  "and "};
    while (data.size() < size) {
        switch (random() % 6) {
        case 0: // text
            for (int i = 0; i < 40 + static_cast<int>(random() % 200); ++i) {
                const std::string& word = words[random() % 12];
                data.insert(data.end(), word.begin(), word.end());
            }
            break;
        case 1: { // an image row of 32-bit pixels: gradient with flat patches
            const unsigned width = 64 + random() % 256;
            std::uint8_t r = static_cast<std::uint8_t>(random());
            std::uint8_t g = static_cast<std::uint8_t>(random());
            for (unsigned x = 0; x < width; ++x) {
                if (random() % 4 == 0)
                    ++r;
                if (random() % 8 == 0)
                    g += 2;
                data.insert(data.end(), {static_cast<std::uint8_t>(x), g, r, 255});
            }
            break;
        }
        case 2: // run
            data.insert(data.end(), 8 + random() % 400, static_cast<std::uint8_t>(random()));
            break;
        case 3: // noise
            for (int i = 8 + static_cast<int>(random() % 120); i > 0; --i)
                data.push_back(static_cast<std::uint8_t>(random()));
            break;
        default: { // repeat of earlier data, near or far
            if (data.size() < 16)
                break;
            const std::size_t reach =
                std::min<std::size_t>(data.size(), random() % 2 ? 2000 : 120000);
            const std::size_t from = data.size() - 1 - random() % reach;
            const std::size_t length =
                std::min<std::size_t>(6 + random() % 600, data.size() - from);
            for (std::size_t i = 0; i < length; ++i)
                data.push_back(data[from + i]);
        }
        }
    }
    data.resize(size);
    return data;
}
