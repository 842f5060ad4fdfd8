#include "ShapeSeeds.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

// Writes fuzz_shape's seed corpus into the folder named by the first argument.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 1;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const auto& [name, bytes] : ShapeSeeds()) {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", (folder / name).string().c_str());
            return 1;
        }
    }
    return 0;
}
