#include "CIngameTextDb.h"

#include "CDbFileReader.h"
#include "CDbWriter.h"
#include "CMessageSink.h"

#include <array>

namespace {
const std::string kEmpty;
} // namespace

CIngameTextDb::CIngameTextDb(std::string path) : m_path(std::move(path)) {}

CIngameTextDb CIngameTextDb::CreateNew(std::string path) {
    CIngameTextDb texts(std::move(path));
    texts.m_catalogue.filePath = texts.m_path;
    texts.m_catalogue.tableCount = 1;
    // Its descriptor follows the header and the one directory word.
    auto table = std::make_unique<CDbTable>(0, 16);
    table->SetName(kTableName);
    table->SetRecordSize(8);
    texts.m_catalogue.AddTable(std::move(table));
    return texts;
}

bool CIngameTextDb::ReadIngameTextDb(CMessageSink& sink) {
    CDbFileReader reader;
    if (!reader.Open(m_path, sink))
        return false;
    return ReadIngameTextDb(reader, sink);
}

bool CIngameTextDb::ReadIngameTextDb(const CDbFileReader& reader, CMessageSink& sink) {
    CDbCatalogue catalogue;
    if (!reader.ReadCatalogue(catalogue, sink))
        return false;
    std::vector<CIngameTextEntry> entries;
    if (const CDbTable* table = catalogue.FindTable(kTableName)) {
        auto records = reader.Records(*table, 2, sink);
        if (!records)
            return false;
        entries.reserve(records->RecordCount());
        while (records->Next()) {
            CIngameTextEntry entry;
            entry.textId = records->Word(0);
            if (!records->String(1, entry.text))
                return false;
            entries.push_back(std::move(entry));
        }
    }
    m_catalogue = std::move(catalogue);
    m_entries = std::move(entries);
    RebuildIndex();
    return true;
}

CDbWriter CIngameTextDb::MakeWriter() const {
    CDbWriter writer;
    writer.AddTable(kTableName, [this](CDbSectionWriter& out) {
        size_t textBytes = 0;
        for (const CIngameTextEntry& entry : m_entries)
            textBytes += entry.text.size();
        out.Reserve(m_entries.size(), textBytes);
        for (const CIngameTextEntry& entry : m_entries) {
            out.BeginRecord();
            out.Word(entry.textId);
            out.String(entry.text);
        }
    });
    return writer;
}

std::optional<std::vector<uint8_t>> CIngameTextDb::BuildFile(CMessageSink& sink) const {
    return MakeWriter().Build(m_catalogue, sink);
}

bool CIngameTextDb::SaveIngameTextDb(CMessageSink& sink) {
    return MakeWriter().Save(m_catalogue, m_path, sink);
}

const std::string& CIngameTextDb::FindText(uint32_t textId) const {
    const auto it = m_firstById.find(textId);
    return it == m_firstById.end() ? kEmpty : m_entries[it->second].text;
}

bool CIngameTextDb::SetText(uint32_t textId, std::string text) {
    const auto it = m_firstById.find(textId);
    if (it == m_firstById.end())
        return false;
    m_entries[it->second].text = std::move(text);
    return true;
}

void CIngameTextDb::AddText(uint32_t textId, std::string text) {
    m_firstById.try_emplace(textId, m_entries.size());
    m_entries.push_back({std::move(text), textId});
}

bool CIngameTextDb::SetEntryText(size_t index, std::string text) {
    if (index >= m_entries.size())
        return false;
    m_entries[index].text = std::move(text);
    return true;
}

bool CIngameTextDb::IsFirstOfId(size_t index) const {
    if (index >= m_entries.size())
        return false;
    const auto it = m_firstById.find(m_entries[index].textId);
    return it != m_firstById.end() && it->second == index;
}

bool CIngameTextDb::CopyEntriesInto(CIngameTextDb& fresh, const std::set<size_t>& indices) const {
    if (fresh.m_entries.size() != m_entries.size())
        return false;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (fresh.m_entries[i].textId != m_entries[i].textId)
            return false;
    for (size_t index : indices)
        if (index < m_entries.size())
            fresh.m_entries[index].text = m_entries[index].text;
    return true;
}

void CIngameTextDb::RebuildIndex() {
    m_firstById.clear();
    m_firstById.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_firstById.try_emplace(m_entries[i].textId, i);
}

std::string_view CIngameTextDb::RelativePathForLanguage(uint32_t languageNumber) {
    static constexpr std::array<std::string_view, 13> kFiles = {
        "data/cmn/fe/eng.db", "data/cmn/fe/eng.db", "data/cmn/fe/fre.db", "data/cmn/fe/ger.db",
        "data/cmn/fe/ita.db", "data/cmn/fe/spa.db", "data/cmn/fe/swe.db", "data/cmn/fe/dut.db",
        "data/cmn/fe/brp.db", "data/cmn/fe/.db",    "data/cmn/fe/.db",    "data/cmn/fe/jpn.db",
        "data/cmn/fe/kor.db"};
    return languageNumber < kFiles.size() ? kFiles[languageNumber] : kFiles[0];
}
