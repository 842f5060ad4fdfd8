// Reads any bytes as CSV, row by row: comma-separated rows written back by the exporter's
// line writer read back the same; and imports them into the sample game (the first byte picks
// the kind of records), which takes the whole file or changes nothing.
#include "CSampleGenerator.h"

#include "cli/CCsvReader.h"
#include "cli/ModelCsv.h"

#include "editor/model/CGameDatabase.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

constexpr std::array<const char*, 5> kKinds = {"players", "teams", "leagues", "links", "kits"};

CGameDatabase& Game() {
    static CGameDatabase* database = [] {
        auto* db = new CGameDatabase();
        CSampleGenerator::BuildGame(*db, CSampleGenerator::kDefaultSeed);
        return db;
    }();
    return *database;
}

// The rows of text, with the separator its first row shows (or the one given).
std::vector<std::vector<std::string>> ReadAll(const std::string& text, char& separator,
                                              bool& complete, bool detect = true) {
    std::istringstream in(text);
    CCsvReader reader(in);
    if (detect)
        separator = reader.DetectSeparator();
    else
        reader.SetSeparator(separator);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    while (reader.Next(row))
        rows.push_back(row);
    complete = reader.Error().empty();
    if (!complete && reader.Error().find("row ") != 0)
        __builtin_trap(); // a refusal names the row
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string csv(reinterpret_cast<const char*>(data) + 1, size - 1);
    char separator = ',';
    bool complete = false;
    const auto rows = ReadAll(csv, separator, complete);
    if (complete && separator == ',') {
        std::string written;
        for (const auto& row : rows)
            written += CModelCsv::Line(row);
        char comma = ',';
        bool completeAgain = false;
        // (A first cell that starts with a byte-order mark cannot come back as it was.)
        if (!written.starts_with("\xEF\xBB\xBF") &&
            ReadAll(written, comma, completeAgain, false) != rows)
            __builtin_trap();
    }

    CGameDatabase& db = Game();
    const bool wasDirty = db.IsDirty();
    std::istringstream in(csv);
    CModelCsv::SImported imported;
    const std::string error =
        CModelCsv::Import(db, kKinds[data[0] % kKinds.size()], in, data[0] & 0x80, imported);
    if (!error.empty() && db.IsDirty() != wasDirty)
        __builtin_trap();
    return 0;
}
