#include "CPlayerSort.h"

#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerField.h"
#include "editor/model/CTextCase.h"

#include <algorithm>
#include <string>

namespace {

// Keys are computed once per player, not once per comparison.
template <typename Key, typename MakeKey>
void SortByKey(std::vector<int32_t>& ids, bool descending, const CGameDatabase& database,
               MakeKey makeKey) {
    std::vector<std::pair<Key, int32_t>> keyed;
    keyed.reserve(ids.size());
    for (int32_t id : ids)
        if (const CPlayer* player = database.FindPlayer(id))
            keyed.emplace_back(makeKey(*player), id);
    auto less = [descending](const std::pair<Key, int32_t>& a, const std::pair<Key, int32_t>& b) {
        if (a.first != b.first)
            return descending ? b.first < a.first : a.first < b.first;
        return a.second < b.second;
    };
    std::sort(keyed.begin(), keyed.end(), less);
    ids.clear();
    for (const auto& entry : keyed)
        ids.push_back(entry.second);
}

} // namespace

void CPlayerSort::Sort(std::vector<int32_t>& playerIds, const CPlayerField& field, bool descending,
                       const SPlayerFieldContext& context) {
    if (field.Type() == CPlayerField::EType::Number) {
        SortByKey<int64_t>(playerIds, descending, context.database,
                           [&](const CPlayer& p) { return field.Number(p, context); });
        return;
    }
    std::string text;
    SortByKey<std::string>(playerIds, descending, context.database, [&](const CPlayer& p) {
        text.clear();
        field.AppendText(p, context, text);
        return CTextCase::ToUpper(text);
    });
}
