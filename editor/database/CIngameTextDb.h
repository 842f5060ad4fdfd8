#pragma once

#include "CDbCatalogue.h"
#include "CDbWriter.h"
#include "CIngameTextEntry.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CDbFileReader;
class CMessageSink;

// An in-game text database in memory: the texts of its "language" table in file order, and the
// catalogue needed to write the file back. Texts stay the bytes read; nothing is converted.
class CIngameTextDb {
public:
    explicit CIngameTextDb(std::string path = {});

    // An empty text database with the one "language" table the game expects, to be filled with
    // AddText and saved as a new file.
    static CIngameTextDb CreateNew(std::string path);

    const std::string& Path() const { return m_path; }

    // Reads the file at Path(). On failure reports to the sink and keeps its previous contents.
    // A file without a "language" table reads as no texts.
    bool ReadIngameTextDb(CMessageSink& sink);
    // The same from a file already in memory.
    bool ReadIngameTextDb(const CDbFileReader& reader, CMessageSink& sink);
    // Writes the texts back to Path() with the catalogue read; refuses a catalogue whose only
    // table is not "language", and texts over 255 bytes.
    bool SaveIngameTextDb(CMessageSink& sink);
    // The file's bytes as SaveIngameTextDb would write them.
    std::optional<std::vector<uint8_t>> BuildFile(CMessageSink& sink) const;

    // The text of the first entry with that id; empty when there is none.
    const std::string& FindText(uint32_t textId) const;
    bool HasText(uint32_t textId) const { return m_firstById.contains(textId); }
    // Gives the first entry with that id the text; false when no entry has it.
    bool SetText(uint32_t textId, std::string text);
    // Appends an entry (found by FindText only when no earlier entry has the id).
    void AddText(uint32_t textId, std::string text);
    // Changes the text of the entry at index (as a text window edits in place).
    bool SetEntryText(size_t index, std::string text);
    // Whether the game reads the entry at index for its id: no earlier entry has the id.
    bool IsFirstOfId(size_t index) const;
    // Gives `fresh` (the same file read again, with whatever was written to it since) the texts
    // of the entries at `indices`; false, leaving it unchanged, when its entries no longer have
    // this database's ids in the same order.
    bool CopyEntriesInto(CIngameTextDb& fresh, const std::set<size_t>& indices) const;

    const std::vector<CIngameTextEntry>& Entries() const { return m_entries; }
    const CDbCatalogue& Catalogue() const { return m_catalogue; }

    // The text database of a game language number, relative to the installation folder.
    static std::string_view RelativePathForLanguage(uint32_t languageNumber);

    static constexpr const char* kTableName = "language";

private:
    CDbWriter MakeWriter() const;
    void RebuildIndex();

    std::string m_path;
    std::vector<CIngameTextEntry> m_entries;
    CDbCatalogue m_catalogue;
    std::unordered_map<uint32_t, size_t> m_firstById;
};
