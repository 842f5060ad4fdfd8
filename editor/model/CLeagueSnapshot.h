#pragma once

#include "editor/model/CLeague.h"

#include <cstdint>
#include <string>

// What the league window edits of a league: its three in-game names and its level. The
// record names, column 0 and the league's teams are never restored from it.
class CLeagueSnapshot {
public:
    static CLeagueSnapshot Of(const CLeague& league);
    void RestoreInto(CLeague& league) const;

    const std::string& Name() const { return m_name; }

    bool operator==(const CLeagueSnapshot&) const = default;

private:
    std::string m_name;
    std::string m_mediumName;
    std::string m_shortName;
    int32_t m_level = 0;
};
