// Writes game databases made by our own sample generator into the folder argv[1]: the sample
// game, and the same game cut down to a few teams so that runs stay quick.
#include "CSampleGenerator.h"

#include "editor/database/CMessageSink.h"
#include "fuzz/common/SeedFiles.h"

#include <filesystem>
#include <iostream>

namespace {

class CPrintSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        std::cerr << key << ": " << detail << "\n";
    }
};

bool Save(CGameDatabase& database, const std::filesystem::path& path) {
    CPrintSink sink;
    database.SetBackupSettings({false, 0});
    return database.SaveGameDatabase(path.string(), "", sink);
}

} // namespace

int main(int argc, char** argv) {
    const auto folder = SeedFolder(argc, argv);
    if (!folder)
        return 1;
    bool ok = true;
    for (uint64_t seed : {CSampleGenerator::kDefaultSeed, uint64_t{7}}) {
        CGameDatabase database;
        CSampleGenerator::BuildGame(database, seed);
        ok &= Save(database, *folder / ("sample" + std::to_string(seed) + ".db"));
        // A few teams and their players only: the same tables, a fraction of the bytes.
        std::vector<int32_t> teams;
        for (const auto& [id, team] : database.Teams())
            teams.push_back(id);
        for (size_t i = 3; i < teams.size(); ++i)
            for (int32_t player : database.PlayersOfTeam(teams[i]))
                database.RemovePlayerFromTeam(player, teams[i]);
        std::vector<int32_t> free;
        for (const auto& [id, player] : database.Players())
            if (player.Teams().empty())
                free.push_back(id);
        if (database.DeletePlayers(free))
            ok &= Save(database, *folder / ("small" + std::to_string(seed) + ".db"));
    }
    return ok ? 0 : 1;
}
