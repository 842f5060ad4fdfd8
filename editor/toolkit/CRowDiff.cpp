#include "CRowDiff.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Where each key stands; nothing when a key shows twice.
std::optional<std::unordered_map<int32_t, int>> Positions(const std::vector<int32_t>& keys) {
    std::unordered_map<int32_t, int> positions;
    positions.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (!positions.emplace(keys[i], static_cast<int>(i)).second) {
            return std::nullopt;
        }
    }
    return positions;
}

void AddToRuns(std::vector<CRowDiff::SRun>& runs, int row) {
    if (!runs.empty() && runs.back().first + runs.back().count == row) {
        ++runs.back().count;
    } else {
        runs.push_back({row, 1});
    }
}

} // namespace

std::optional<CRowDiff> CRowDiff::Between(const std::vector<int32_t>& before,
                                          const std::vector<int32_t>& after) {
    const auto old = Positions(before);
    const auto next = Positions(after);
    if (!old || !next) {
        return std::nullopt;
    }
    CRowDiff diff;
    std::size_t kept = 0;
    std::size_t removed = 0;
    // The rows that stay, in the old order, must meet the new list in the same order.
    int lastKeptAt = -1;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const auto found = next->find(before[i]);
        if (found == next->end()) {
            AddToRuns(diff.m_removals, static_cast<int>(i));
            ++removed;
        } else if (found->second < lastKeptAt) {
            return std::nullopt;
        } else {
            lastKeptAt = found->second;
            ++kept;
        }
    }
    const std::size_t inserted = after.size() - kept;
    if (removed + inserted > kept) {
        return std::nullopt;
    }
    for (std::size_t j = 0; j < after.size(); ++j) {
        if (!old->contains(after[j])) {
            AddToRuns(diff.m_inserts, static_cast<int>(j));
        }
    }
    std::reverse(diff.m_removals.begin(), diff.m_removals.end());
    return diff;
}
