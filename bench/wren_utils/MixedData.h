#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Deterministic data of the sort the game packs: text and names, image rows with gradients and
// flat areas, runs, repeats near and far, and incompressible stretches.
std::vector<std::uint8_t> MakeMixedData(std::size_t size, unsigned seed);
