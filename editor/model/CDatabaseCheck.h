#pragma once

#include "editor/model/SCheckFinding.h"

#include <vector>

class CGameDatabase;
class CIngameTextDb;

// The integrity check of a loaded game database: broken links, squads the game cannot field,
// kits and values outside what the game expects, names the game cannot show, and what the
// load could not keep. Findings come by record kind, then id.
class CDatabaseCheck {
public:
    // texts: the in-game text database the names were loaded from; without it (null) the
    // names of teams and leagues are not checked, having not been loaded.
    static std::vector<SCheckFinding> Run(const CGameDatabase& database,
                                          const CIngameTextDb* texts);
    // Only the values the file's columns cannot hold (too wide for their bits), which make a
    // save fail: "value-width" errors naming the record and the field.
    static std::vector<SCheckFinding> Unstorable(const CGameDatabase& database);
    static bool HasErrors(const std::vector<SCheckFinding>& findings);
};
