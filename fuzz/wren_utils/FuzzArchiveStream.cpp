#include "wren_utils/archive/BigStreamReader.h"
#include "wren_utils/engine/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#if defined(_WIN32)
#include <process.h>
#define KESTREL_PID _getpid()
#else
#include <unistd.h>
#define KESTREL_PID getpid()
#endif

// The streamed reader works on files: each input is written to one private file and the
// lookups go through the library's file system.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("kestrel-fuzz-archive-" + std::to_string(KESTREL_PID) + ".big"))
            .string();
    static const bool ready = wren::FILESYS_init();
    if (!ready)
        return 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    wren::BIG_readentry(path, "league.fsh");
    wren::BIG_readentry(path, "kits/t0001_home.fsh");
    return 0;
}
