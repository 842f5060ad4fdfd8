#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Valid inputs made by our own encoder and archive writer, each with a file name.
using Seed = std::pair<std::string, std::vector<std::uint8_t>>;

std::vector<Seed> PackedStreamSeeds();
std::vector<Seed> ArchiveSeeds();
