#pragma once

#include <array>
#include <string>

// Where the game keeps each picture: the archives asked in turn, and the container entry and
// shape name of a kit, a crest and a player texture.
class CPictureNames {
public:
    // Every request asks the first archive and, when it yields nothing, the second.
    static constexpr std::array<const char*, 2> kArchives = {"data/zdata_05.big",
                                                             "data/zdata_04.big"};

    static std::string KitContainer(int team, int kit);
    static std::string KitShape(int kit);
    static std::string LogoContainer(int team);
    static std::string LogoShape();
    static std::string TextureContainer(int number);
    static std::string TextureShape();
};
