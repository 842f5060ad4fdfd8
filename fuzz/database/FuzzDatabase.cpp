// Reads any bytes as a database file: catalogue, then every table's records with their words,
// strings and packed fields; a file that reads is written back and must read again.
#include "editor/database/CDbFileReader.h"
#include "editor/database/CDbWriter.h"
#include "editor/database/CMessageSink.h"

#include <cstddef>
#include <cstdint>
#include <set>

namespace {

class CNullSink : public CMessageSink {
public:
    void Report(const std::string&, const std::string&) override {}
};

struct Row {
    uint32_t id = 0;
    std::string text;
    std::vector<int32_t> values;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDbFileReader reader;
    reader.Assign(std::vector<uint8_t>(data, data + size), "fuzz.db");
    CNullSink sink;
    CDbCatalogue catalogue;
    if (!reader.ReadCatalogue(catalogue, sink))
        return 0;

    std::vector<std::vector<Row>> rows;
    std::set<std::string> names;
    for (const auto& table : catalogue.Tables()) {
        names.insert(table->Name());
        rows.emplace_back();
        // Records of two words where they fit: an id and a string, as most tables begin.
        const int fixed = table->RecordSize() >= 8 ? 2 : 0;
        auto records = reader.Records(*table, fixed, sink);
        if (!records)
            continue;
        while (records->Next() && rows.back().size() < 10000) {
            Row row;
            row.id = records->Word(0);
            if (fixed)
                records->String(1, row.text);
            table->ResetBitCursor();
            for (int c = 0; c < table->ColumnCount(); ++c)
                row.values.push_back(table->ReadField(c, records->PackedArea()));
            rows.back().push_back(std::move(row));
        }
    }

    if (names.size() != catalogue.Tables().size())
        return 0; // the writer cannot list one name twice
    CDbWriter writer;
    for (size_t t = 0; t < catalogue.Tables().size(); ++t) {
        const CDbTable& table = *catalogue.Tables()[t];
        const std::vector<Row>& tableRows = rows[t];
        writer.AddTable(table.Name(), [&table, &tableRows](CDbSectionWriter& out) {
            for (const Row& row : tableRows) {
                out.BeginRecord();
                if (table.RecordSize() >= 8) {
                    out.Word(row.id);
                    out.String(row.text);
                }
                out.Pack(row.values);
            }
        });
    }
    const auto written = writer.Build(catalogue, sink);
    if (!written)
        return 0;
    CDbFileReader again;
    again.Assign(*written, "written.db");
    CDbCatalogue back;
    if (!again.ReadCatalogue(back, sink) || back.Tables().size() != catalogue.Tables().size())
        __builtin_trap();
    return 0;
}
