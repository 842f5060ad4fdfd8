#include "CDbWriter.h"

#include "CDbFileReader.h"
#include "CMessageSink.h"
#include "CSafeFile.h"
#include "LittleEndian.h"

void CDbWriter::AddTable(std::string name, RecordsFn records) {
    m_tables.push_back({std::move(name), std::move(records)});
}

std::optional<std::vector<uint8_t>> CDbWriter::Build(const CDbCatalogue& catalogue,
                                                     CMessageSink& sink) const {
    std::vector<uint32_t> offsets, counts;
    return BuildWith(catalogue, sink, offsets, counts);
}

std::optional<std::vector<uint8_t>>
CDbWriter::BuildWith(const CDbCatalogue& catalogue, CMessageSink& sink,
                     std::vector<uint32_t>& sectionOffsets,
                     std::vector<uint32_t>& recordCounts) const {
    const std::string file = catalogue.filePath.empty() ? "database" : catalogue.filePath;
    auto fail = [&](const std::string& detail) {
        sink.Report("Error_OpenToWrite", file + ": " + detail);
        return std::nullopt;
    };
    if (catalogue.tableCount != m_tables.size())
        return fail("the file has " + std::to_string(catalogue.tableCount) +
                    " tables, but this kind of file is saved with " +
                    std::to_string(m_tables.size()));
    std::vector<const CDbTable*> tables;
    for (const Entry& entry : m_tables) {
        const CDbTable* table = catalogue.FindTable(entry.name);
        if (!table)
            return fail("the file has no table " + entry.name);
        tables.push_back(table);
    }

    std::vector<uint8_t> out;
    CDbFixupList fixups;
    std::string error;
    auto stringAt = [&](const CDbTable& table, const std::string& text, const char* what) {
        const std::string_view cut = std::string_view(text).substr(0, text.find('\0'));
        if (cut.size() > CDbFileReader::kMaxStringBytes && error.empty())
            error = "table " + table.Name() + ": " + what + " is longer than 255 bytes";
        fixups.Add(out.size(), cut);
        AppendLe32(out, CDbSectionWriter::kPlaceholder);
    };

    AppendLe32(out, catalogue.headerWord1);
    AppendLe32(out, catalogue.headerWord2);
    AppendLe32(out, catalogue.tableCount);
    for (size_t t = 0; t < tables.size(); ++t)
        AppendLe32(out, CDbSectionWriter::kPlaceholder);

    for (const CDbTable* table : tables) {
        stringAt(*table, table->Name(), "the table name");
        AppendLe32(out, table->RecordSize());
        for (int list : {1, 3, 2})
            AppendLe32(out, static_cast<uint32_t>(table->NameListCount(list)));
        AppendLe32(out, static_cast<uint32_t>(table->ColumnCount()));
        for (int c = 0; c < table->ColumnCount(); ++c) {
            AppendLe32(out, static_cast<uint32_t>(table->ColumnLow(c)));
            AppendLe32(out, static_cast<uint32_t>(table->ColumnHigh(c)));
        }
        for (int list : {1, 3, 2})
            for (const std::string& entry : table->NameList(list))
                stringAt(*table, entry, "a name list entry");
        for (int c = 0; c < table->ColumnCount(); ++c)
            stringAt(*table, table->ColumnName(c), "a column name");
    }
    if (!error.empty())
        return fail(error);

    sectionOffsets.clear();
    recordCounts.clear();
    for (size_t t = 0; t < tables.size(); ++t) {
        const CDbTable& table = *tables[t];
        const size_t section = out.size();
        sectionOffsets.push_back(static_cast<uint32_t>(section));
        AppendLe32(out, 0);
        AppendLe32(out, table.DescriptorOffset());
        CDbSectionWriter writer(table, out, fixups);
        if (m_tables[t].records)
            m_tables[t].records(writer);
        writer.Finish();
        if (writer.Failed())
            return fail(writer.Error());
        StoreLe32(out.data() + section, writer.RecordsWritten());
        recordCounts.push_back(writer.RecordsWritten());
        // Only a record size that is not a multiple of 4 leaves anything to align.
        out.resize((out.size() + 3) / 4 * 4, 0);
    }

    out.reserve(out.size() + fixups.TextBytes() + 8 * fixups.Fixups().size());
    for (const CDbFixupList::Fixup& fixup : fixups.Fixups()) {
        const size_t position = out.size();
        const std::string_view text = fixups.Text(fixup);
        AppendLe32(out, fixup.length);
        out.insert(out.end(), text.begin(), text.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
        StoreLe32(out.data() + fixup.position, static_cast<uint32_t>(position));
        if (out.size() > UINT32_MAX)
            break;
    }
    if (out.size() > UINT32_MAX)
        return fail("the file would be larger than 4 GB");

    for (size_t t = 0; t < tables.size(); ++t)
        StoreLe32(out.data() + 12 + 4 * t, sectionOffsets[t]);
    return out;
}

bool CDbWriter::Save(CDbCatalogue& catalogue, const std::string& path, CMessageSink& sink) const {
    std::vector<uint32_t> offsets, counts;
    const auto bytes = BuildWith(catalogue, sink, offsets, counts);
    if (!bytes)
        return false;
    std::string error;
    if (!CSafeFile::Write(path, *bytes, error)) {
        sink.Report("Error_OpenToWrite", path + ": " + error);
        return false;
    }
    for (size_t t = 0; t < m_tables.size(); ++t) {
        CDbTable* table = catalogue.FindTable(m_tables[t].name);
        table->SetSectionOffset(offsets[t]);
        table->SetRecordCount(counts[t]);
    }
    return true;
}
