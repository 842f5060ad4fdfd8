#pragma once

#include "CSampleGenerator.h"

#include <cstdint>
#include <string>

// The picture archives of the sample installation: data/zdata_05.big and data/zdata_04.big with
// a kit picture for every kit of every team, a crest for every team and a face texture for every
// specific face a player uses, in the containers and shapes the editor asks for. Each container
// is a packed stream; the shapes mix 32-bit, DXT1, DXT3 and DXT5. Some teams' and faces'
// containers are only in zdata_04.big, so the editor's fallback is used.
class CSampleArchives {
public:
    static bool Write(CSampleGenerator::SContext& context);

    // Containers of these teams go only into the older archive.
    static bool TeamOnlyInOlderArchive(int32_t teamId) { return teamId % 6 == 0; }
    static bool FaceOnlyInOlderArchive(int32_t number) { return number % 7 == 0; }

    static std::string KitContainer(int32_t teamId, int32_t kit);
    static std::string KitShape(int32_t kit);
    static std::string CrestContainer(int32_t teamId);
    static std::string FaceContainer(int32_t number);

    static constexpr uint32_t kKitSize = 64;
    static constexpr uint32_t kCrestSize = 64;
    static constexpr uint32_t kFaceSize = 64;
};
