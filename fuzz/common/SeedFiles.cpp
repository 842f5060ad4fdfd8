#include "SeedFiles.h"

#include <cstdio>
#include <fstream>

std::optional<std::filesystem::path> SeedFolder(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return std::nullopt;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder;
}

bool WriteSeed(const std::filesystem::path& folder, const Seed& seed) {
    const auto& [name, bytes] = seed;
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", (folder / name).string().c_str());
        return false;
    }
    return true;
}

int SeedsMain(int argc, char** argv, std::vector<Seed> (*makeSeeds)()) {
    const auto folder = SeedFolder(argc, argv);
    if (!folder)
        return 1;
    for (const Seed& seed : makeSeeds())
        if (!WriteSeed(*folder, seed))
            return 1;
    return 0;
}
