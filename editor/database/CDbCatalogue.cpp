#include "CDbCatalogue.h"

CDbTable& CDbCatalogue::AddTable(std::unique_ptr<CDbTable> table) {
    CDbTable& added = *table;
    m_tables.push_back(std::move(table));
    m_tableMap[added.Name()] = &added;
    return added;
}

CDbTable* CDbCatalogue::FindTable(const std::string& name) {
    const auto it = m_tableMap.find(name);
    return it == m_tableMap.end() ? nullptr : it->second;
}

const CDbTable* CDbCatalogue::FindTable(const std::string& name) const {
    const auto it = m_tableMap.find(name);
    return it == m_tableMap.end() ? nullptr : it->second;
}

void CDbCatalogue::Clear() {
    filePath.clear();
    headerWord1 = headerWord2 = tableCount = 0;
    m_tableMap.clear();
    m_tables.clear();
}
