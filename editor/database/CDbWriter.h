#pragma once

#include "CDbCatalogue.h"
#include "CDbSectionWriter.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CMessageSink;

// Writes a database file: header, directory, the descriptors of the listed tables, their record
// sections (emitted by the caller, table by table), then every stored string, each patched into
// its pointer, and finally the directory. The file is built in memory, checked as a whole, and
// only then written beside the target and renamed over it, so a refused or failed save leaves
// the existing file as it was. Failures go to the sink under "Error_OpenToWrite".
class CDbWriter {
public:
    using RecordsFn = std::function<void(CDbSectionWriter&)>;

    // Appends a table to the table list; records emits its records (none when empty).
    void AddTable(std::string name, RecordsFn records = {});

    // The bytes of the file, or nothing (reported) when the catalogue lacks a listed table, its
    // table count differs from the list, or a record is refused.
    std::optional<std::vector<uint8_t>> Build(const CDbCatalogue& catalogue,
                                              CMessageSink& sink) const;

    // Builds and writes to path. On success the tables' section offsets and record counts
    // are those of the new file.
    bool Save(CDbCatalogue& catalogue, const std::string& path, CMessageSink& sink) const;

private:
    struct Entry {
        std::string name;
        RecordsFn records;
    };
    std::optional<std::vector<uint8_t>> BuildWith(const CDbCatalogue& catalogue, CMessageSink& sink,
                                                  std::vector<uint32_t>& sectionOffsets,
                                                  std::vector<uint32_t>& recordCounts) const;

    std::vector<Entry> m_tables;
};
