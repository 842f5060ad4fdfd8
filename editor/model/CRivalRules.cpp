#include "CRivalRules.h"

CRivalRules::EVerdict CRivalRules::Check(int32_t teamId, const std::vector<int32_t>& rivals,
                                         int32_t candidate, std::optional<size_t> replacedRow) {
    if (candidate == teamId)
        return EVerdict::IsTheTeamItself;
    for (size_t row = 0; row < rivals.size(); ++row) {
        if (rivals[row] == candidate && row != replacedRow)
            return EVerdict::AlreadyListed;
    }
    return EVerdict::Accepted;
}
