#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CGameDatabase;

// Finds leagues, teams and players whose name contains a text, ignoring letter case.
class CNameSearch {
public:
    enum class EKind { League, Team, Player };

    struct SHit {
        EKind kind;
        int32_t id;
        std::string name;
    };

    // Hits grouped by kind (leagues, teams, players), each group in ascending id. A player is
    // matched by the common name when there is one, else by first and last name.
    static std::vector<SHit> Find(const CGameDatabase& database, std::string_view text,
                                  bool leagues, bool teams, bool players);
    // The same with the caller's test of a name (the editor folds case with its text library).
    using Matcher = std::function<bool(std::string_view name)>;
    static std::vector<SHit> Find(const CGameDatabase& database, const Matcher& matches,
                                  bool leagues, bool teams, bool players);
    static std::string SearchName(const CGameDatabase& database, int32_t playerId);
};
