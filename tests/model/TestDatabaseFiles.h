#pragma once

#include "CSampleSchema.h"

#include "editor/database/CDbSectionWriter.h"
#include "editor/database/CMessageSink.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Small hand-made database files for the model tests: any tables of the sample layout, in any
// order, with records the test writes word by word.
struct STestTable {
    CSampleSchema::STable layout;
    std::function<void(CDbSectionWriter&)> records;
};

class CRecordingSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        messages.push_back(key + ": " + detail);
    }
    std::vector<std::string> messages;
};

// The sample layout of a game table by name.
CSampleSchema::STable GameTable(const std::string& name);
// A table of the sample layout with the given records.
STestTable Table(const std::string& name, std::function<void(CDbSectionWriter&)> records = {});

// Writes a database file of the given tables; fails the test when it cannot.
void WriteDatabase(const std::filesystem::path& path, const std::vector<STestTable>& tables);
// All fifteen tables, those named in overrides taking their records from there.
std::vector<STestTable> FullGame(std::vector<STestTable> overrides);
// An in-game text database with the given entries.
void WriteTexts(const std::filesystem::path& path,
                const std::vector<std::pair<uint32_t, std::string>>& texts);

// Packs the first n of the values (the rest of a player's columns being zero).
void PackPlayer(CDbSectionWriter& out, int32_t id, const std::string& first,
                const std::string& common, const std::string& last,
                std::vector<int32_t> columnValues = {});
void PackTeam(CDbSectionWriter& out, int32_t id, const std::string& name1 = "r1",
              const std::string& name2 = "r2", const std::string& name3 = "r3",
              std::vector<int32_t> columnValues = {});
