#pragma once

#include <array>
#include <string_view>

// The tables of the game database in the order the game expects them written.
inline constexpr std::array<std::string_view, 15> kGameDatabaseTables = {"coloridtorgb",
                                                                         "leagues",
                                                                         "leagueteamlinks",
                                                                         "playergrowth",
                                                                         "players",
                                                                         "playerstasis",
                                                                         "playerstats",
                                                                         "stadiums",
                                                                         "teamkits",
                                                                         "specialteamplayers",
                                                                         "teamformationnames",
                                                                         "teamplayerlinks",
                                                                         "teamrivalry",
                                                                         "teams",
                                                                         "teamstats"};
