// Writes backup side files made by our own backup store into the folder argv[1].
#include "editor/model/CBackupStore.h"
#include "fuzz/common/SeedFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    const auto folder = SeedFolder(argc, argv);
    if (!folder)
        return 1;
    const fs::path scratch = *folder / "scratch";
    fs::create_directories(scratch / "backups");
    const fs::path database = scratch / "corvid.db";
    bool ok = true;
    const CBackupStore store(scratch / "backups");
    for (int round = 0; round < 3; ++round) {
        std::ofstream(database, std::ios::binary) << "game database " << round;
        std::string made, error;
        ok &= store.Backup(database, 20, made, error);
    }
    int index = 0;
    for (const auto& entry : fs::directory_iterator(scratch / "backups")) {
        if (entry.path().extension() != ".json")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        ok &= WriteSeed(*folder, {"side" + std::to_string(index++) + ".json", bytes});
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return ok && index > 0 ? 0 : 1;
}
