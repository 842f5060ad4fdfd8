#pragma once

#include <cstdint>
#include <string>

class CGameDatabase;

// The records of the game database as JSON objects, every field by name. Empty when the id is
// unknown.
std::string PlayerJson(const CGameDatabase& database, int32_t id);
std::string TeamJson(const CGameDatabase& database, int32_t id);
std::string LeagueJson(const CGameDatabase& database, int32_t id);
