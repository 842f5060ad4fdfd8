#include "CPlayerField.h"

#include "editor/database/CDbCatalogue.h"
#include "editor/model/CGameDatabase.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

using C = EPlayerColumn;
using T = CPlayerField::EType;
using S = CPlayerField::ESource;

// The ranges the player windows accept for the fields they edit.
std::optional<SValueRange> WindowRange(int column) {
    switch (static_cast<C>(column)) {
    case C::Acceleration:
    case C::Aggression:
    case C::Anticipation:
    case C::Awareness:
    case C::Balance:
    case C::BallControl:
    case C::Crossing:
    case C::Determination:
    case C::Dribbling:
    case C::Handling:
    case C::Heading:
    case C::Jumping:
    case C::LongBalls:
    case C::Marking:
    case C::Pace:
    case C::Passing:
    case C::Punching:
    case C::Reflexes:
    case C::Rushing:
    case C::ShotAccuracy:
    case C::ShotPower:
    case C::Stamina:
    case C::Strength:
    case C::Tackling:
    case C::Throwing:
        return SValueRange{0, 100};
    case C::Height:
    case C::Weight:
        return SValueRange{0, 205};
    case C::PreferredPosition1:
        return SValueRange{0, 34};
    case C::PreferredPosition2:
    case C::PreferredPosition3:
        return SValueRange{-1, 34};
    case C::Footed:
        return SValueRange{0, 2};
    case C::StarPlayer:
    case C::SleeveLength:
        return SValueRange{0, 1};
    case C::Leadership:
    case C::Consistency:
        return SValueRange{0, 4};
    case C::Talent:
        return SValueRange{0, 5};
    case C::TacticalIconId1:
    case C::TacticalIconId2:
    case C::TacticalIconId3:
    case C::TacticalIconId4:
        return SValueRange{0, 13};
    case C::AgeRate1:
        return SValueRange{1, 7};
    case C::AgeRate2:
        return SValueRange{1, 5};
    case C::FaceType:
        return SValueRange{1, 25};
    case C::HairColour:
    case C::AccessoryColour1:
    case C::AccessoryColour2:
    case C::AccessoryColour3:
    case C::AccessoryColour4:
    case C::ShoeColour:
        return SValueRange{1, 5};
    case C::HairType:
        return SValueRange{1, 11};
    case C::FacialHairStyle:
    case C::LegType:
        return SValueRange{1, 6};
    case C::SpecificFace:
        return SValueRange{0, 650};
    case C::Accessory1:
    case C::Accessory2:
    case C::Accessory3:
    case C::Accessory4:
        return SValueRange{1, 15};
    default:
        return std::nullopt;
    }
}

SValueRange KindRange(EFieldKind kind) {
    switch (kind) {
    case EFieldKind::UInt8:
        return {0, 255};
    case EFieldKind::Bool:
        return {0, 1};
    case EFieldKind::Int32:
        break;
    }
    return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
}

SValueRange Intersect(SValueRange a, SValueRange b) {
    const SValueRange both{std::max(a.low, b.low), std::min(a.high, b.high)};
    // Ranges that do not meet leave the wider one's narrowing out rather than allow nothing.
    return both.low <= both.high ? both : a;
}

std::vector<CPlayerField> BuildFields() {
    std::vector<CPlayerField> fields = {
        {"id", T::Number, S::Id},
        {"first_name", T::Text, S::FirstName},
        {"common_name", T::Text, S::CommonName},
        {"last_name", T::Text, S::LastName},
    };
    const auto columns = CPlayer::Columns();
    for (int c = 0; c < CPlayer::kColumnCount; ++c)
        fields.emplace_back(columns[c].name, T::Number, S::Column, c);
    fields.emplace_back("name", T::Text, S::Name);
    fields.emplace_back("age", T::Number, S::Age);
    fields.emplace_back("overall", T::Number, S::Overall);
    fields.emplace_back("position_group", T::Number, S::PositionGroup);
    fields.emplace_back("team", T::Team, S::Team);
    fields.emplace_back("league", T::League, S::League);
    return fields;
}

const std::vector<CPlayerField>& Fields() {
    static const std::vector<CPlayerField> fields = BuildFields();
    return fields;
}

constexpr size_t kFirstColumnField = 4;

const CTeam* FirstTeam(const CPlayer& player, const CGameDatabase& database) {
    return player.Teams().empty() ? nullptr : database.FindTeam(player.Teams().front());
}

const CLeague* FirstLeague(const CPlayer& player, const CGameDatabase& database) {
    const CTeam* team = FirstTeam(player, database);
    if (!team || team->Leagues().empty())
        return nullptr;
    return database.FindLeague(team->Leagues().front());
}

} // namespace

SPlayerFieldContext::SPlayerFieldContext(const CGameDatabase& database, const CDate& ageDate)
    : database(database), ageDate(ageDate) {}

std::span<const CPlayerField> CPlayerField::All() {
    return Fields();
}

const CPlayerField* CPlayerField::Find(std::string_view name) {
    // Names are lower case; people type them in any case.
    auto same = [name](const char* fieldName) {
        size_t i = 0;
        for (; i < name.size() && fieldName[i]; ++i) {
            const char c = name[i] >= 'A' && name[i] <= 'Z' ? char(name[i] + 32) : name[i];
            if (c != fieldName[i])
                return false;
        }
        return i == name.size() && !fieldName[i];
    };
    for (const CPlayerField& field : Fields())
        if (same(field.m_name))
            return &field;
    return nullptr;
}

const CPlayerField& CPlayerField::OfColumn(int column) {
    return Fields()[kFirstColumnField + static_cast<size_t>(column)];
}

int32_t CPlayerField::Age(const CPlayer& player, const CDate& ageDate) {
    const CDate birth = player.BirthDate();
    int32_t age = ageDate.Year() - birth.Year();
    if (ageDate.Month() < birth.Month() ||
        (ageDate.Month() == birth.Month() && ageDate.Day() < birth.Day()))
        --age;
    return age;
}

int64_t CPlayerField::Number(const CPlayer& player, const SPlayerFieldContext& context) const {
    switch (m_source) {
    case S::Id:
        return player.Id();
    case S::Column:
        return player.ColumnValue(m_column);
    case S::Age:
        return Age(player, context.ageDate);
    case S::Overall:
        return player.ComputeOverall();
    case S::PositionGroup:
        return player.PositionGroup();
    case S::Team:
        return player.Teams().empty() ? CGameDatabase::kNoTeamId : player.Teams().front();
    case S::League: {
        const CTeam* team = FirstTeam(player, context.database);
        return team && !team->Leagues().empty() ? team->Leagues().front() : 0;
    }
    case S::FirstName:
    case S::CommonName:
    case S::LastName:
    case S::Name:
        break;
    }
    return 0;
}

void CPlayerField::AppendText(const CPlayer& player, const SPlayerFieldContext& context,
                              std::string& out) const {
    switch (m_source) {
    case S::FirstName:
        out += player.FirstName();
        return;
    case S::CommonName:
        out += player.CommonName();
        return;
    case S::LastName:
        out += player.LastName();
        return;
    case S::Name:
        out += player.DisplayName();
        return;
    case S::Team:
        if (const CTeam* team = FirstTeam(player, context.database))
            out += team->Name();
        return;
    case S::League:
        if (const CLeague* league = FirstLeague(player, context.database))
            out += league->name;
        return;
    case S::Id:
    case S::Column:
    case S::Age:
    case S::Overall:
    case S::PositionGroup:
        out += std::to_string(Number(player, context));
        return;
    }
}

std::string CPlayerField::Text(const CPlayer& player, const SPlayerFieldContext& context) const {
    std::string out;
    AppendText(player, context, out);
    return out;
}

SValueRange CPlayerField::EditRange(const CDbCatalogue& catalogue) const {
    if (!IsColumn())
        return {0, 0};
    const EFieldKind kind = CPlayer::Columns()[m_column].kind;
    SValueRange range = KindRange(kind);
    // A byte-sized field holds what its column stores, a negative low included.
    if (const CDbTable* table = catalogue.FindTable("players"))
        if (const CDbColumn* column = table->Column(m_column))
            range = kind == EFieldKind::UInt8 ? SValueRange{column->Low(), column->High()}
                                              : Intersect(range, {column->Low(), column->High()});
    if (const auto window = WindowRange(m_column))
        range = Intersect(range, *window);
    return range;
}
