#pragma once

#include "fuzz/common/SeedFiles.h"

#include <vector>

// Shape containers made by our own writer: every stored form the reader knows.
std::vector<Seed> ShapeSeeds();

// Old entries of an import: two control bytes, then each shape seed as it is and packed.
std::vector<Seed> ShapeImportSeeds();
