#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Which teams a team's rival list takes. A team is not its own rival, and a rivalry listed
// twice is stored twice and gains nothing but a repeated row, so both are refused.
class CRivalRules {
public:
    enum class EVerdict { Accepted, IsTheTeamItself, AlreadyListed };

    // `replacedRow` is the row the candidate would replace (a double click on a line); that
    // row's own team does not count as listed.
    static EVerdict Check(int32_t teamId, const std::vector<int32_t>& rivals, int32_t candidate,
                          std::optional<size_t> replacedRow = std::nullopt);
};
