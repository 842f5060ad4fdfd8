#pragma once

#include <cstdint>
#include <string>

// Something a load met and could not keep as it was in the file; the save would lose it.
struct SLoadAnomaly {
    enum class EKind {
        DuplicateId,       // a later record of the same id replaced this one
        KitTypeOutOfRange, // a kit of type `value`, outside slots 0-10, was left out
        UnknownTeam        // a row of `table` for team `id`, which does not exist, was left out
    };
    EKind kind;
    std::string table;
    int32_t id = 0;
    int32_t value = 0;
};
