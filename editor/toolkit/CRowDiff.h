#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// How a list goes from one sequence of row keys to another by removing and inserting runs of
// rows, so that views keep their selection, current row and scroll position through a change.
// There is no plan (the list starts over) when rows that stay change their order, a key shows
// twice, or most rows come or go.
class CRowDiff {
public:
    struct SRun {
        int first = 0;
        int count = 0;
        bool operator==(const SRun&) const = default;
    };

    static std::optional<CRowDiff> Between(const std::vector<int32_t>& before,
                                           const std::vector<int32_t>& after);

    // Runs of old rows that go, the last first: each is numbered as the list is when it goes.
    const std::vector<SRun>& Removals() const { return m_removals; }
    // Runs of new rows that come, the first first, numbered as in the new list: once the
    // removals are done, inserting them in this order gives the new list.
    const std::vector<SRun>& Inserts() const { return m_inserts; }
    bool IsEmpty() const { return m_removals.empty() && m_inserts.empty(); }

private:
    std::vector<SRun> m_removals;
    std::vector<SRun> m_inserts;
};
