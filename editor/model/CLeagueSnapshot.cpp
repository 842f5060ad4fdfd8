#include "CLeagueSnapshot.h"

CLeagueSnapshot CLeagueSnapshot::Of(const CLeague& league) {
    CLeagueSnapshot snapshot;
    snapshot.m_name = league.name;
    snapshot.m_mediumName = league.mediumName;
    snapshot.m_shortName = league.shortName;
    snapshot.m_level = league.Level();
    return snapshot;
}

void CLeagueSnapshot::RestoreInto(CLeague& league) const {
    league.name = m_name;
    league.mediumName = m_mediumName;
    league.shortName = m_shortName;
    league.SetLevel(m_level);
}
