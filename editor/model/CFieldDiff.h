#pragma once

#include "editor/model/SRecordChange.h"

#include <string>
#include <vector>

class CDiffFields;
class CGameDatabase;

// Field by field, how one game database differs from another: records matched by kind and id,
// added and removed records with every field, changed records with every changed field. The
// result is sorted by kind, then id, then field.
class CFieldDiff {
public:
    static std::vector<SRecordChange> Compare(const CGameDatabase& base,
                                              const CGameDatabase& other);
    static std::vector<SRecordChange> Compare(const CGameDatabase& base,
                                              const CGameDatabase& other,
                                              const CDiffFields& fields);

    // Records named by id (sorted, without repeats): a team stands for its kits and squad
    // places too. Formations and stadiums, which are few, are compared whole.
    struct SNamed {
        std::vector<int32_t> players;
        std::vector<int32_t> teams;
        std::vector<int32_t> leagues;
    };
    // What Compare gives for the named records and every formation and stadium, in its order.
    static std::vector<SRecordChange> CompareNamed(const CGameDatabase& base,
                                                   const CGameDatabase& other,
                                                   const CDiffFields& fields,
                                                   const SNamed& named);

    // One line per changed field, KIND<TAB>ID<TAB>FIELD<TAB>OLD<TAB>NEW; an added or removed
    // record is one line with FIELD + or -. Tabs, line breaks and backslashes in values are
    // written as \t, \n, \r and \\.
    static std::string Lines(const std::vector<SRecordChange>& changes);
    static std::string Escape(const std::string& value);
};
