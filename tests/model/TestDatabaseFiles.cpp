#include "TestDatabaseFiles.h"

#include "editor/database/CDbWriter.h"
#include "editor/model/CPlayer.h"
#include "editor/model/CTeam.h"

#include <gtest/gtest.h>

CSampleSchema::STable GameTable(const std::string& name) {
    for (const CSampleSchema::STable& table : CSampleSchema::GameTables())
        if (table.name == name)
            return table;
    ADD_FAILURE() << "no table " << name;
    return {};
}

STestTable Table(const std::string& name, std::function<void(CDbSectionWriter&)> records) {
    return {GameTable(name), std::move(records)};
}

void WriteDatabase(const std::filesystem::path& path, const std::vector<STestTable>& tables) {
    std::vector<CSampleSchema::STable> layouts;
    CDbWriter writer;
    for (const STestTable& table : tables) {
        layouts.push_back(table.layout);
        writer.AddTable(table.layout.name, table.records);
    }
    CDbCatalogue catalogue = CSampleSchema::MakeCatalogue(layouts);
    CRecordingSink sink;
    ASSERT_TRUE(writer.Save(catalogue, path.string(), sink))
        << (sink.messages.empty() ? "" : sink.messages.back());
}

std::vector<STestTable> FullGame(std::vector<STestTable> overrides) {
    std::vector<STestTable> tables;
    for (const CSampleSchema::STable& layout : CSampleSchema::GameTables()) {
        STestTable table{layout, {}};
        for (STestTable& override : overrides)
            if (override.layout.name == layout.name)
                table = override;
        tables.push_back(std::move(table));
    }
    return tables;
}

void WriteTexts(const std::filesystem::path& path,
                const std::vector<std::pair<uint32_t, std::string>>& texts) {
    CDbCatalogue catalogue = CSampleSchema::TextCatalogue();
    CDbWriter writer;
    writer.AddTable("language", [&](CDbSectionWriter& out) {
        for (const auto& [id, text] : texts) {
            out.BeginRecord();
            out.Word(id);
            out.String(text);
        }
    });
    CRecordingSink sink;
    ASSERT_TRUE(writer.Save(catalogue, path.string(), sink));
}

void PackPlayer(CDbSectionWriter& out, int32_t id, const std::string& first,
                const std::string& common, const std::string& last,
                std::vector<int32_t> columnValues) {
    out.BeginRecord();
    out.Int(id);
    out.String(first);
    out.String(common);
    out.String(last);
    const int columns = out.Table().ColumnCount();
    std::vector<int32_t> values(static_cast<size_t>(columns), 0);
    for (int c = 0; c < columns; ++c)
        values[c] = out.Table().ColumnLow(c) > 0 ? out.Table().ColumnLow(c) : 0;
    for (size_t i = 0; i < columnValues.size() && i < values.size(); ++i)
        values[i] = columnValues[i];
    out.Pack(values);
}

void PackTeam(CDbSectionWriter& out, int32_t id, const std::string& name1, const std::string& name2,
              const std::string& name3, std::vector<int32_t> columnValues) {
    out.BeginRecord();
    out.Int(id);
    out.String(name1);
    out.String(name2);
    out.String(name3);
    std::vector<int32_t> values(static_cast<size_t>(out.Table().ColumnCount()), 0);
    for (size_t i = 0; i < columnValues.size() && i < values.size(); ++i)
        values[i] = columnValues[i];
    out.Pack(values);
}
