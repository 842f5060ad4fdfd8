#pragma once

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
    // Empty on success; otherwise the first problem, naming row and field.
    // Without an in-game text database (namesStorable false) a change of an in-game name is
    // refused, as it could not be saved.
    static std::string Import(CGameDatabase& database, std::string_view kind, std::string_view csv,
                              bool namesStorable = true);
    // A team or league name kept in the in-game text database.
    static bool IsInGameName(std::string_view field);

    static std::string Line(const std::vector<std::string>& cells);
    // Rows of cells as RFC 4180 has them (quoted fields, doubled quotes, CRLF; a leading
    // byte-order mark is skipped); false with the row and column of malformed quoting.
    static bool Parse(std::string_view text, std::vector<std::vector<std::string>>& rows,
                      std::string& error);
};
