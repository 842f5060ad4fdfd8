#pragma once

#include "fuzz/common/SeedFiles.h"

#include <vector>

// Valid inputs made by our own encoder and archive writer, each with a file name.

std::vector<Seed> PackedStreamSeeds();
std::vector<Seed> ArchiveSeeds();
