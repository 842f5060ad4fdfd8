#include "CDatabaseDiff.h"

#include "editor/model/CGameDatabase.h"

namespace {

// Both maps iterate in ascending id: one merge pass.
template <typename T>
CDatabaseDiff::SCounts CompareMaps(const CIdMap<T>& base, const CIdMap<T>& other) {
    CDatabaseDiff::SCounts counts;
    auto a = base.begin();
    auto b = other.begin();
    while (a != base.end() || b != other.end()) {
        if (b == other.end() || (a != base.end() && a->first < b->first)) {
            ++counts.removed;
            ++a;
        } else if (a == base.end() || b->first < a->first) {
            ++counts.added;
            ++b;
        } else {
            counts.changed += a->second == b->second ? 0 : 1;
            ++a;
            ++b;
        }
    }
    return counts;
}

} // namespace

CDatabaseDiff CDatabaseDiff::Compare(const CGameDatabase& base, const CGameDatabase& other) {
    CDatabaseDiff diff;
    diff.players = CompareMaps(base.Players(), other.Players());
    diff.teams = CompareMaps(base.Teams(), other.Teams());
    diff.leagues = CompareMaps(base.Leagues(), other.Leagues());
    return diff;
}
