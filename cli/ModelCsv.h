#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

class CGameDatabase;

// CSV exchange of records (players, teams, leagues, links, kits): every field as a column with
// a header row. An import checks every value first and changes nothing unless all are good.
class CModelCsv {
public:
    static bool IsKind(std::string_view kind);
    static std::string Export(const CGameDatabase& database, std::string_view kind);
    // What an import read: the separator its header row uses, and the rows after the header.
    struct SImported {
        char separator = ',';
        size_t rows = 0;
    };
    // Files beyond this are refused: far larger than any game's records written out.
    static constexpr uint64_t kMaxImportBytes = uint64_t{256} << 20;

    // Empty on success; otherwise the first problem, naming row and field. The rows are read
    // one at a time from the stream (comma, semicolon or tab separated, as the header row is),
    // at most limit bytes of it.
    // Without an in-game text database (namesStorable false) a change of an in-game name is
    // refused, as it could not be saved.
    static std::string Import(CGameDatabase& database, std::string_view kind, std::istream& csv,
                              bool namesStorable, SImported& imported,
                              uint64_t limit = kMaxImportBytes);
    // A team or league name kept in the in-game text database.
    static bool IsInGameName(std::string_view field);

    static std::string Line(const std::vector<std::string>& cells);
};
