#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The record kinds a comparison reports, in the order it lists them (by name).
enum class ERecordKind { Formation, Kit, League, Player, Squad, Stadium, Team };

// One field of a record: its value before and after (both for a change; only the new one for an
// added record, only the old one for a removed record).
struct SFieldChange {
    std::string field;
    std::string oldValue;
    std::string newValue;

    bool operator==(const SFieldChange&) const = default;
};

// How one record differs. Kits and squad places are keyed by their team (id) and by kit type or
// player (sub); the other kinds by id alone.
struct SRecordChange {
    enum class EType { Added, Removed, Changed };

    ERecordKind kind = ERecordKind::Player;
    int32_t id = 0;
    int32_t sub = 0;
    EType type = EType::Changed;
    // Changed fields, or every field of an added or removed record; by field name.
    std::vector<SFieldChange> fields;
    // The patch file line the record came from (0 when it was not read from one).
    int line = 0;

    bool operator==(const SRecordChange& other) const {
        return kind == other.kind && id == other.id && sub == other.sub && type == other.type &&
               fields == other.fields;
    }
};
