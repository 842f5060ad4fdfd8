// Reads any bytes as the side file of a backup, among a backup our own code made: listing,
// finding, verifying and the rotation of a new backup must take it without crashing, and a
// backup whose side file is not read stays where it is.
#include "editor/model/CBackupStore.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool WriteFile(const fs::path& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fs::path root =
        fs::temp_directory_path() / ("kestrel-fuzz-backups-" + std::to_string(::getpid()));
    std::error_code ignored;
    fs::remove_all(root, ignored);
    const fs::path backups = root / "backups";
    fs::create_directories(backups, ignored);
    const fs::path database = root / "corvid.db";
    const char content[] = "game database";
    if (!WriteFile(database, content, sizeof content))
        return 0;
    const CBackupStore store(backups);
    std::string made, error;
    if (!store.Backup(database, 3, made, error))
        return 0;

    // The fuzzed side file beside a copy of its own.
    const std::string name = "20040101-000000-000001_corvid.db";
    if (!WriteFile(backups / name, content, sizeof content) ||
        !WriteFile(backups / (name + ".json"), data, size))
        return 0;
    for (const SBackupInfo& info : store.List()) {
        (void)store.Verify(info, error);
        if (!store.Find(info.name))
            __builtin_trap();
    }
    (void)store.Original("corvid.db");
    // A newer backup rotates among them; the one just made is never lost.
    const char changed[] = "game database, changed";
    if (!WriteFile(database, changed, sizeof changed) || !store.Backup(database, 3, made, error))
        return 0;
    if (!made.empty() && !store.Find(made))
        __builtin_trap();
    return 0;
}
