#pragma once

#include "editor/model/CDatabaseSlice.h"
#include "editor/model/SRecordChange.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class CGameDatabase;
class CPatch;

// Applies a patch to a database that may differ from the patch's base. A field whose value
// here is the patch's old value (or already its new one) takes the new value; a field changed
// differently here is a conflict, settled as the options say. Added records whose id is taken
// here get new ids, and every reference to them inside the patch follows. Nothing changes unless
// every value fits this database's ranges and the database check finds no new error afterwards.
class CPatchApply {
public:
    enum class EResolve {
        Refuse, // any conflict refuses the whole patch
        Ours,   // conflicts keep this database's values
        Theirs, // conflicts take the patch's values
        Choose  // the conflicts named in SOptions::theirs take the patch's values
    };

    struct SConflict {
        ERecordKind kind = ERecordKind::Player;
        int32_t id = 0;
        int32_t sub = 0;
        std::string field;
        std::string base;
        std::string ours;
        std::string theirs;
        int line = 0;

        // "KIND<TAB>ID<TAB>FIELD": how SOptions::theirs names a conflict.
        std::string Key() const;
    };

    struct SRenumber {
        ERecordKind kind = ERecordKind::Player;
        int32_t from = 0;
        int32_t to = 0;
    };

    struct SOptions {
        EResolve resolve = EResolve::Refuse;
        std::set<std::string> theirs;
        // Work out what would change, change nothing.
        bool dryRun = false;
        // Without an in-game text database a change of a team's or league's name is refused.
        bool namesStorable = true;
    };

    struct SResult {
        // Applied (with a dry run: could be applied).
        bool ok = false;
        std::vector<SConflict> conflicts;
        // Values that do not fit, references to records that do not exist, findings of the
        // database check: each refuses the patch.
        std::vector<std::string> errors;
        // What changed (or would), with the values this database had as old values.
        std::vector<SRecordChange> changes;
        std::vector<SRenumber> renumbered;
        // The touched records before and after (empty for a dry run or a refusal): undo and
        // redo of the whole patch as one step.
        CDatabaseSlice before;
        CDatabaseSlice after;
    };

    static SResult Apply(CGameDatabase& db, const CPatch& patch, const SOptions& options);
    // "KIND<TAB>ID<TAB>FIELD<TAB>BASE<TAB>OURS<TAB>THEIRS" lines.
    static std::string ConflictLines(const std::vector<SConflict>& conflicts);
};
