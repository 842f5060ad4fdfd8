#pragma once

#include <cstddef>

class CGameDatabase;

// How one database differs from another by record: what a restore would add, remove or change.
class CDatabaseDiff {
public:
    struct SCounts {
        size_t added = 0;
        size_t removed = 0;
        size_t changed = 0;
        bool operator==(const SCounts&) const = default;
    };

    // Records of `other` not in `base` are added, those of `base` not in `other` removed.
    static CDatabaseDiff Compare(const CGameDatabase& base, const CGameDatabase& other);

    SCounts players;
    SCounts teams;
    SCounts leagues;
};
