#pragma once

// How a packed column is held in memory: the file value as is, its low 8 bits, or 0/1.
enum class EFieldKind { Int32, UInt8, Bool };

// A packed column of a record class: its field name (lower case with underscores, as scripts
// and CSV headers use it) and how its value is held.
struct SColumnInfo {
    const char* name;
    EFieldKind kind;
};

// Applies the in-memory width of a column to a value read from the file or set by a caller.
constexpr int ApplyFieldKind(EFieldKind kind, int value) {
    switch (kind) {
    case EFieldKind::UInt8:
        return value & 0xFF;
    case EFieldKind::Bool:
        return value != 0 ? 1 : 0;
    case EFieldKind::Int32:
        break;
    }
    return value;
}
