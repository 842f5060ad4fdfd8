#pragma once

#include "editor/database/CDbCatalogue.h"
#include "editor/model/CLeague.h"
#include "editor/model/CPlayer.h"
#include "editor/model/CPlayerField.h"
#include "editor/model/CFormationName.h"
#include "editor/model/CStadium.h"
#include "editor/model/CTeam.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A named field of a record, read and written as text. The setter checks the value against
// the field's width and the range of its column in the loaded database, and returns what is
// wrong with it (empty when it was stored). Key fields have no setter.
template <typename R> struct SField {
    std::string name;
    std::function<std::string(const R&)> get;
    std::function<std::string(R&, std::string_view)> set;
    // Strings are quoted in JSON; the rest are numbers.
    bool text = false;
};

// Field tables of the record kinds scripts, CSV files and database comparisons work with; names are lower case with
// underscores, packed columns named as the record classes name them; players' as the filters
// name them (CPlayerField).
std::vector<SField<CPlayer>> PlayerFields(const CDbCatalogue& catalogue);
std::vector<SField<CTeam>> TeamFields(const CDbCatalogue& catalogue);
std::vector<SField<CLeague>> LeagueFields(const CDbCatalogue& catalogue);
std::vector<SField<CTeamPlayerLink>> LinkFields(const CDbCatalogue& catalogue);
std::vector<SField<CTeamKit>> KitFields(const CDbCatalogue& catalogue);
std::vector<SField<CStadium>> StadiumFields(const CDbCatalogue& catalogue);
std::vector<SField<CFormationName>> FormationFields();

template <typename R>
const SField<R>* FindField(const std::vector<SField<R>>& fields, std::string_view name) {
    for (const SField<R>& field : fields)
        if (field.name == name)
            return &field;
    return nullptr;
}

// A team or league name kept in the in-game text database.
bool IsInGameNameField(std::string_view field);

// Whole-text parse of a 32-bit integer (surrounding blanks allowed); false when it is not one.
bool ParseInt32(std::string_view text, int32_t& value);
