// Writes valid database files made by our own writer into the folder argv[1].
#include "CPrintSink.h"

#include "editor/database/CDbWriter.h"
#include "fuzz/common/SeedFiles.h"

#include <array>

namespace {

bool Save(const std::filesystem::path& folder, const std::string& name,
          const CDbCatalogue& catalogue, const CDbWriter& writer) {
    CPrintSink sink;
    const auto bytes = writer.Build(catalogue, sink);
    return bytes && WriteSeed(folder, {name, *bytes});
}

} // namespace

int main(int argc, char** argv) {
    const auto folder = SeedFolder(argc, argv);
    if (!folder)
        return 1;
    bool ok = true;

    CDbCatalogue empty;
    ok &= Save(*folder, "empty.db", empty, CDbWriter());

    // A players-like table (id, name, packed columns) and a links-like one (two words).
    for (int variant = 0; variant < 3; ++variant) {
        CDbCatalogue catalogue;
        catalogue.headerWord1 = 0x12345678u + static_cast<uint32_t>(variant);
        catalogue.tableCount = 2;
        auto people = std::make_unique<CDbTable>(0, 20);
        people->SetName("people");
        people->SetRecordSize(variant == 2 ? 16 : 12);
        people->AddNameListEntry(1, "first list");
        people->AddNameListEntry(3, "third list");
        const std::array<std::pair<int32_t, int32_t>, 4> ranges = {
            {{0, 100}, {-5, 5}, {0, 1}, {1900, 2100}}};
        for (size_t c = 0; c < ranges.size(); ++c)
            people->AddColumn("column " + std::to_string(c), ranges[c].first, ranges[c].second);
        catalogue.AddTable(std::move(people));
        auto links = std::make_unique<CDbTable>(0, 0);
        links->SetName("links");
        links->SetRecordSize(8);
        links->AddNameListEntry(2, "second list");
        catalogue.AddTable(std::move(links));

        CDbWriter writer;
        writer.AddTable("people", [variant](CDbSectionWriter& out) {
            const char* names[] = {"Åsa Öberg", "Jiří Novák", "이강인", "", "O'Neill"};
            for (int r = 0; r < 5 + variant * 10; ++r) {
                out.BeginRecord();
                out.Word(static_cast<uint32_t>(1000 + r));
                out.String(names[r % 5]);
                const std::array<int32_t, 4> values = {r % 101, r % 11 - 5, r % 2, 1950 + r};
                out.Pack(values);
            }
        });
        writer.AddTable("links", [variant](CDbSectionWriter& out) {
            for (int r = 0; r < 3 * variant; ++r) {
                out.BeginRecord();
                out.Word(static_cast<uint32_t>(r));
                out.Word(static_cast<uint32_t>(1000 + r));
            }
        });
        ok &= Save(*folder, "tables" + std::to_string(variant) + ".db", catalogue, writer);
    }
    return ok ? 0 : 1;
}
