#pragma once

#include "fuzz/common/SeedFiles.h"

#include <vector>

// Shape containers made by our own writer: every stored form the reader knows.
std::vector<Seed> ShapeSeeds();
