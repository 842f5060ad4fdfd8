#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One seed: a file name and its contents.
using Seed = std::pair<std::string, std::vector<std::uint8_t>>;

// The folder named by the only argument, created if missing; nothing (after a usage line on
// stderr) when the arguments are wrong.
std::optional<std::filesystem::path> SeedFolder(int argc, char** argv);

// Writes one seed into the folder; false (after saying so on stderr) when it cannot.
bool WriteSeed(const std::filesystem::path& folder, const Seed& seed);

// The whole main of a generator whose seeds are made in memory: 0 when every file was written.
int SeedsMain(int argc, char** argv, std::vector<Seed> (*makeSeeds)());
