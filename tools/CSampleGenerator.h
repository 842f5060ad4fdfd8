#pragma once

#include "editor/model/CGameDatabase.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class CMessageSink;

// Writes a complete, deterministic sample game installation into a folder: the game database
// (data/cmn/corvid.db) and the in-game text databases of every language (data/cmn/fe/*.db).
// Further parts (archives, pictures) join as extra steps, run in order after the built-in ones.
class CSampleGenerator {
public:
    struct SContext {
        std::filesystem::path folder;
        uint64_t seed;
        CMessageSink& sink;
        // The generated game, filled by the first step.
        CGameDatabase database;
    };
    // A step returns false after telling the sink what went wrong.
    using Step = std::function<bool(SContext&)>;

    CSampleGenerator();

    void AddStep(std::string name, Step step);
    std::vector<std::string> StepNames() const;

    bool Write(const std::filesystem::path& folder, uint64_t seed, CMessageSink& sink,
               size_t playerCount = 0) const;

    // The game alone, in memory, with the catalogue a save needs; with at least playerCount
    // players when that is more than the squads hold (for measuring large databases).
    static void BuildGame(CGameDatabase& database, uint64_t seed, size_t playerCount = 0);

    static constexpr uint64_t kDefaultSeed = 2004;

private:
    static bool WriteGameDatabase(SContext& context);
    static bool WriteTextDatabases(SContext& context);

    std::vector<std::pair<std::string, Step>> m_steps;
};

// The sample installation with the default steps.
bool WriteSampleInstallation(const std::filesystem::path& folder, uint64_t seed, CMessageSink& sink,
                             size_t playerCount = 0);
