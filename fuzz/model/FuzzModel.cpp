// Loads any bytes as a whole game database, as the editor and the tool do; one that loads is
// checked, saved and must load again with the same records.
#include "editor/database/CMessageSink.h"
#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CGameDatabase.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

class CNullSink : public CMessageSink {
public:
    void Report(const std::string&, const std::string&) override {}
};

// The loader reads files: each run's input goes to a file of this process's own.
const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("kestrel-fuzz-model-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

bool WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = (Folder() / "corvid.db").string();
    const std::string saved = (Folder() / "saved.db").string();
    if (!WriteFile(input, data, size))
        return 0;
    CNullSink sink;
    CGameDatabase database;
    database.SetBackupSettings({false, 0});
    if (!database.LoadGameDatabase(input, "", sink))
        return 0;
    (void)CDatabaseCheck::Run(database, nullptr);
    std::error_code ignored;
    std::filesystem::remove(saved, ignored);
    if (!database.SaveGameDatabase(saved, "", sink))
        return 0;
    CGameDatabase again;
    if (!again.LoadGameDatabase(saved, "", sink) ||
        again.Players().size() != database.Players().size() ||
        again.Teams().size() != database.Teams().size() ||
        again.Leagues().size() != database.Leagues().size())
        __builtin_trap();
    return 0;
}
