// Parses any text as a player filter and a bulk change; what parses is evaluated over every
// player of the sample game.
#include "CSampleGenerator.h"

#include "editor/model/CBulkChange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerField.h"
#include "editor/model/CPlayerFilter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

const CGameDatabase& Game() {
    static const CGameDatabase* database = [] {
        auto* db = new CGameDatabase();
        CSampleGenerator::BuildGame(*db, CSampleGenerator::kDefaultSeed);
        return db;
    }();
    return *database;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CGameDatabase& db = Game();
    SQueryError error;
    if (auto filter = CPlayerFilter::Parse(text, error)) {
        const SPlayerFieldContext context(db, CDate(2004, 7, 1));
        const std::vector<int32_t> ids = filter->Select(context);
        if (ids.size() > db.Players().size() || (filter->KeepsAll() && ids.size() != db.Players().size()))
            __builtin_trap();
        // Matches agrees with Select.
        size_t matching = 0;
        for (const auto& [id, player] : db.Players())
            matching += filter->Matches(player, context);
        if (matching != ids.size())
            __builtin_trap();
    } else if (error.message.empty()) {
        __builtin_trap(); // a refusal always says why
    }
    if (auto change = CBulkChange::Parse(text, error)) {
        std::vector<int32_t> all;
        for (const auto& [id, player] : db.Players())
            all.push_back(id);
        const CBulkChange changes[] = {*change};
        (void)SBulkPlan::Make(db, all, changes);
    }
    return 0;
}
