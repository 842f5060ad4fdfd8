// Writes patches made by our own writer from edits of the sample database into the folder argv[1].
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPatch.h"
#include "fuzz/common/SeedFiles.h"
#include "tools/CSampleGenerator.h"

namespace {

Seed Text(const std::string& name, const std::string& text) {
    return {name, std::vector<std::uint8_t>(text.begin(), text.end())};
}

std::vector<Seed> MakeSeeds() {
    CGameDatabase base, changed;
    CSampleGenerator::BuildGame(base, CSampleGenerator::kDefaultSeed);
    CSampleGenerator::BuildGame(changed, CSampleGenerator::kDefaultSeed);
    std::vector<Seed> seeds;
    seeds.push_back(Text("empty.kpatch", CPatch::Make(base, changed, "", "").ToText()));

    CPlayer& player = *changed.FindPlayer(changed.Players().begin()->first);
    player.SetValue(EPlayerColumn::Pace, player.Value(EPlayerColumn::Pace) ^ 1);
    player.SetCommonName("Zé \"Ørn\"\t\\");
    seeds.push_back(Text("player.kpatch", CPatch::Make(base, changed, "", "names").ToText()));

    const int32_t team = changed.Teams().begin()->first;
    changed.NewPlayer(team);
    CTeam& club = *changed.FindTeam(team);
    club.SetName("Renamed");
    club.SetRivals({team + 1, team + 2});
    if (CTeamKit* kit = club.FindKit(0))
        kit->SetShortsNumberX(1.25f);
    club.ClearKit(1);
    std::vector<int32_t> teams = changed.TeamsOfLeague(changed.Leagues().begin()->first);
    teams.pop_back();
    changed.SetLeagueTeams(changed.Leagues().begin()->first, teams);
    CStadium stadium = changed.Stadiums().begin()->second;
    stadium.id += 100000;
    changed.InsertStadium(stadium);
    seeds.push_back(Text("mixed.kpatch", CPatch::Make(base, changed, std::string(64, 'f'), "").ToText()));
    // The same changes seen from the other side: removals instead of additions.
    seeds.push_back(Text("reverse.kpatch", CPatch::Make(changed, base, "", "back").ToText()));
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    return SeedsMain(argc, argv, &MakeSeeds);
}
