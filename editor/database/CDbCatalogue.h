#pragma once

#include "CDbTable.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The catalogue fields every database object carries: where it was read from, the two header
// words, the table count and the tables. All tables are kept in descriptor order; the map by
// name holds the last table of each name, as the game does.
class CDbCatalogue {
public:
    CDbCatalogue() = default;
    CDbCatalogue(CDbCatalogue&&) noexcept = default;
    CDbCatalogue& operator=(CDbCatalogue&&) noexcept = default;

    std::string filePath;
    uint32_t headerWord1 = 0;
    uint32_t headerWord2 = 0;
    uint32_t tableCount = 0;

    // Appends a table (descriptor order) and enters it into the map, replacing one of the same
    // name there. Returns the table.
    CDbTable& AddTable(std::unique_ptr<CDbTable> table);
    // The table of that name, or null.
    CDbTable* FindTable(const std::string& name);
    const CDbTable* FindTable(const std::string& name) const;
    const std::vector<std::unique_ptr<CDbTable>>& Tables() const { return m_tables; }
    const std::map<std::string, CDbTable*>& TableMap() const { return m_tableMap; }
    void Clear();

private:
    std::vector<std::unique_ptr<CDbTable>> m_tables;
    std::map<std::string, CDbTable*> m_tableMap;
};
