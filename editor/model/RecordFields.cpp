#include "RecordFields.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool ValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t length = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        if (length == 0 || i + length > s.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// Checks a value for a packed column: the in-memory width first, then the column's range as
// the loaded file declares it (a column the file lacks is not written, so any value goes). The
// value the record holds is always taken back: the file held it, so it saves to the same bits.
std::string CheckColumn(const CDbCatalogue& catalogue, const char* table, int column,
                        EFieldKind kind, std::string_view text, int32_t current, int32_t& value) {
    if (!ParseInt32(text, value))
        return "'" + std::string(text) + "' is not a whole number";
    if (value == current)
        return {};
    const CDbTable* t = catalogue.FindTable(table);
    const CDbColumn* c = t ? t->Column(column) : nullptr;
    // A byte-sized field holds what its column stores (a low below 0 included).
    if (kind == EFieldKind::UInt8 && !c && (value < 0 || value > 255))
        return std::to_string(value) + " is outside 0..255";
    if (kind == EFieldKind::Bool && (value < 0 || value > 1))
        return std::to_string(value) + " is not 0 or 1";
    if (c && (value < c->Low() || value > c->High()))
        return std::to_string(value) + " is outside " + std::to_string(c->Low()) + ".." +
               std::to_string(c->High());
    return {};
}

std::string CheckText(std::string_view text, std::string& out) {
    if (text.size() > 255)
        return "text of " + std::to_string(text.size()) + " bytes is longer than 255 bytes";
    if (text.find('\0') != std::string_view::npos)
        return "text holds a zero byte";
    if (!ValidUtf8(text))
        return "text is not valid UTF-8";
    out = std::string(text);
    return {};
}

std::string FloatText(float value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

std::string ParseFloat(std::string_view text, float& value) {
    text = Trim(text);
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return "'" + std::string(text) + "' is not a number";
    return {};
}

template <typename R>
SField<R> TextField(std::string name, std::function<const std::string&(const R&)> get,
                    std::function<void(R&, std::string)> set) {
    return {std::move(name), [get](const R& r) { return get(r); },
            [get, set](R& r, std::string_view text) {
                if (text == get(r))
                    return std::string(); // as the file has it, even when that is not UTF-8
                std::string value;
                std::string error = CheckText(text, value);
                if (error.empty())
                    set(r, std::move(value));
                return error;
            },
            true};
}

template <typename R> SField<R> KeyField(std::string name, std::function<int32_t(const R&)> get) {
    return {std::move(name), [get](const R& r) { return std::to_string(get(r)); }, nullptr};
}

template <typename R>
SField<R> ColumnField(const CDbCatalogue& catalogue, const char* table, int column, EFieldKind kind,
                      std::string name, std::function<int32_t(const R&)> get,
                      std::function<void(R&, int32_t)> set) {
    return {std::move(name), [get](const R& r) { return std::to_string(get(r)); },
            [&catalogue, table, column, kind, get, set](R& r, std::string_view text) {
                int32_t value = 0;
                std::string error =
                    CheckColumn(catalogue, table, column, kind, text, get(r), value);
                if (error.empty())
                    set(r, value);
                return error;
            }};
}

} // namespace

bool IsInGameNameField(std::string_view field) {
    for (std::string_view name : {"team_name", "short_team_name", "medium_team_name", "league_name",
                                  "short_league_name", "medium_league_name"})
        if (field == name)
            return true;
    return false;
}

bool ParseInt32(std::string_view text, int32_t& value) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

std::vector<SField<CPlayer>> PlayerFields(const CDbCatalogue& catalogue) {
    using S = CPlayerField::ESource;
    // The stored fields of the one player field list; the derived ones are not in files.
    std::vector<SField<CPlayer>> fields;
    for (const CPlayerField& field : CPlayerField::All()) {
        switch (field.Source()) {
        case S::Id:
            fields.push_back(
                KeyField<CPlayer>(field.Name(), [](const CPlayer& p) { return p.Id(); }));
            break;
        case S::FirstName:
            fields.push_back(TextField<CPlayer>(
                field.Name(), [](const CPlayer& p) -> const std::string& { return p.FirstName(); },
                [](CPlayer& p, std::string v) { p.SetFirstName(std::move(v)); }));
            break;
        case S::CommonName:
            fields.push_back(TextField<CPlayer>(
                field.Name(), [](const CPlayer& p) -> const std::string& { return p.CommonName(); },
                [](CPlayer& p, std::string v) { p.SetCommonName(std::move(v)); }));
            break;
        case S::LastName:
            fields.push_back(TextField<CPlayer>(
                field.Name(), [](const CPlayer& p) -> const std::string& { return p.LastName(); },
                [](CPlayer& p, std::string v) { p.SetLastName(std::move(v)); }));
            break;
        case S::Column: {
            const int c = field.Column();
            fields.push_back(ColumnField<CPlayer>(
                catalogue, "players", c, CPlayer::Columns()[c].kind, field.Name(),
                [c](const CPlayer& p) { return p.ColumnValue(c); },
                [c](CPlayer& p, int32_t v) { p.SetStoredValue(c, v); }));
            break;
        }
        case S::Name:
        case S::Age:
        case S::Overall:
        case S::PositionGroup:
        case S::Team:
        case S::League:
            break;
        }
    }
    return fields;
}

std::vector<SField<CTeam>> TeamFields(const CDbCatalogue& catalogue) {
    std::vector<SField<CTeam>> fields;
    fields.push_back(KeyField<CTeam>("id", [](const CTeam& t) { return t.Id(); }));
    fields.push_back(TextField<CTeam>(
        "team_name", [](const CTeam& t) -> const std::string& { return t.Name(); },
        [](CTeam& t, std::string v) { t.SetName(std::move(v)); }));
    fields.push_back(TextField<CTeam>(
        "short_team_name", [](const CTeam& t) -> const std::string& { return t.ShortName(); },
        [](CTeam& t, std::string v) { t.SetShortName(std::move(v)); }));
    fields.push_back(TextField<CTeam>(
        "medium_team_name", [](const CTeam& t) -> const std::string& { return t.MediumName(); },
        [](CTeam& t, std::string v) { t.SetMediumName(std::move(v)); }));
    for (int i = 0; i < 3; ++i)
        fields.push_back(TextField<CTeam>(
            "record_name_" + std::to_string(i + 1),
            [i](const CTeam& t) -> const std::string& { return t.RecordName(i); },
            [i](CTeam& t, std::string v) { t.SetRecordName(i, std::move(v)); }));
    const auto columns = CTeam::Columns();
    for (int c = 0; c < CTeam::kColumnCount; ++c)
        fields.push_back(ColumnField<CTeam>(
            catalogue, "teams", c, columns[c].kind, columns[c].name,
            [c](const CTeam& t) { return t.ColumnValue(c); },
            [c](CTeam& t, int32_t v) { t.SetColumnValue(c, v); }));
    const auto takers = CTeam::TakerNames();
    for (int k = 0; k < CTeam::kTakerCount; ++k)
        fields.push_back(ColumnField<CTeam>(
            catalogue, "specialteamplayers", k, EFieldKind::Int32, takers[k],
            [k](const CTeam& t) { return t.Taker(static_cast<ETaker>(k)); },
            [k](CTeam& t, int32_t v) { t.SetTaker(static_cast<ETaker>(k), v); }));
    return fields;
}

std::vector<SField<CLeague>> LeagueFields(const CDbCatalogue& catalogue) {
    std::vector<SField<CLeague>> fields;
    fields.push_back(KeyField<CLeague>("id", [](const CLeague& l) { return l.id; }));
    fields.push_back(TextField<CLeague>(
        "league_name", [](const CLeague& l) -> const std::string& { return l.name; },
        [](CLeague& l, std::string v) { l.name = std::move(v); }));
    fields.push_back(TextField<CLeague>(
        "short_league_name", [](const CLeague& l) -> const std::string& { return l.shortName; },
        [](CLeague& l, std::string v) { l.shortName = std::move(v); }));
    fields.push_back(TextField<CLeague>(
        "medium_league_name", [](const CLeague& l) -> const std::string& { return l.mediumName; },
        [](CLeague& l, std::string v) { l.mediumName = std::move(v); }));
    for (int i = 0; i < 3; ++i)
        fields.push_back(TextField<CLeague>(
            "record_name_" + std::to_string(i + 1),
            [i](const CLeague& l) -> const std::string& { return l.recordNames[i]; },
            [i](CLeague& l, std::string v) { l.recordNames[i] = std::move(v); }));
    fields.push_back(ColumnField<CLeague>(
        catalogue, "leagues", 0, EFieldKind::Int32, "column_0",
        [](const CLeague& l) { return l.columns[0]; },
        [](CLeague& l, int32_t v) { l.columns[0] = v; }));
    fields.push_back(ColumnField<CLeague>(
        catalogue, "leagues", CLeague::kLevelColumn, EFieldKind::Int32, "level",
        [](const CLeague& l) { return l.Level(); }, [](CLeague& l, int32_t v) { l.SetLevel(v); }));
    return fields;
}

std::vector<SField<CTeamPlayerLink>> LinkFields(const CDbCatalogue& catalogue) {
    using L = CTeamPlayerLink;
    std::vector<SField<L>> fields;
    fields.push_back(KeyField<L>("team_id", [](const L& l) { return l.teamId; }));
    fields.push_back(KeyField<L>("player_id", [](const L& l) { return l.playerId; }));
    fields.push_back(ColumnField<L>(
        catalogue, "teamplayerlinks", 0, EFieldKind::Int32, "jersey_number",
        [](const L& l) { return l.jerseyNumber; }, [](L& l, int32_t v) { l.jerseyNumber = v; }));
    fields.push_back(ColumnField<L>(
        catalogue, "teamplayerlinks", 1, EFieldKind::Int32, "formation_position",
        [](const L& l) { return l.formationPosition; },
        [](L& l, int32_t v) { l.formationPosition = v; }));
    return fields;
}

std::vector<SField<CTeamKit>> KitFields(const CDbCatalogue& catalogue) {
    using K = CTeamKit;
    std::vector<SField<K>> fields;
    fields.push_back(KeyField<K>("team_id", [](const K& k) { return k.TeamId(); }));
    fields.push_back(KeyField<K>("kit_type", [](const K& k) { return k.KitType(); }));
    fields.push_back({"shorts_number_x", [](const K& k) { return FloatText(k.ShortsNumberX()); },
                      [](K& k, std::string_view text) {
                          // A value as exported (even one that is no number) stays as it is.
                          if (Trim(text) == FloatText(k.ShortsNumberX()))
                              return std::string();
                          float value = 0;
                          std::string error = ParseFloat(text, value);
                          if (error.empty())
                              k.SetShortsNumberX(value);
                          return error;
                      }});
    fields.push_back({"shorts_number_y", [](const K& k) { return FloatText(k.ShortsNumberY()); },
                      [](K& k, std::string_view text) {
                          // A value as exported (even one that is no number) stays as it is.
                          if (Trim(text) == FloatText(k.ShortsNumberY()))
                              return std::string();
                          float value = 0;
                          std::string error = ParseFloat(text, value);
                          if (error.empty())
                              k.SetShortsNumberY(value);
                          return error;
                      }});
    const auto columns = CTeamKit::Columns();
    for (int c = 0; c < CTeamKit::kColumnCount; ++c)
        fields.push_back(ColumnField<K>(
            catalogue, "teamkits", c, columns[c].kind, columns[c].name,
            [c](const K& k) { return k.ColumnValue(c); },
            [c](K& k, int32_t v) { k.SetStoredValue(c, v); }));
    return fields;
}

std::vector<SField<CStadium>> StadiumFields(const CDbCatalogue& catalogue) {
    std::vector<SField<CStadium>> fields;
    fields.push_back(KeyField<CStadium>("id", [](const CStadium& s) { return s.id; }));
    fields.push_back(TextField<CStadium>(
        "stadium_name", [](const CStadium& s) -> const std::string& { return s.name; },
        [](CStadium& s, std::string v) { s.name = std::move(v); }));
    for (int c = 0; c < CStadium::kColumnCount; ++c)
        fields.push_back(ColumnField<CStadium>(
            catalogue, "stadiums", c, EFieldKind::Int32, "column_" + std::to_string(c),
            [c](const CStadium& s) { return s.columns[c]; },
            [c](CStadium& s, int32_t v) { s.columns[c] = v; }));
    return fields;
}

std::vector<SField<CFormationName>> FormationFields() {
    using F = CFormationName;
    std::vector<SField<F>> fields;
    fields.push_back(KeyField<F>("id", [](const F& f) { return f.id; }));
    fields.push_back(TextField<F>(
        "formation_name", [](const F& f) -> const std::string& { return f.name; },
        [](F& f, std::string v) { f.name = std::move(v); }));
    return fields;
}
