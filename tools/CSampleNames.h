#pragma once

#include "CSampleRandom.h"

#include <set>
#include <string>
#include <vector>

// Made-up names that look like those of a football game: a country's leagues, its clubs and
// its players, with accents and, for some countries, their own scripts.
class CSampleNames {
public:
    struct SCountry {
        const char* name;
        int divisions;
        int countryId;
        int speechId;
    };

    static const std::vector<SCountry>& Countries();

    explicit CSampleNames(CSampleRandom& random) : m_random(random) {}

    std::string LeagueName(int country, int division) const;
    std::string LeagueShortName(int country, int division) const;
    // A club name unique within the sample, and the town it is named after.
    std::string TeamName(int country, std::string& town);
    static std::string ShortName(const std::string& name);
    std::string FirstName(int country);
    std::string LastName(int country);
    std::string StadiumName(int country, bool training);

private:
    std::string Town(int country);

    CSampleRandom& m_random;
    std::set<std::string> m_usedTeams;
};
