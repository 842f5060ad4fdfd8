#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Shape containers made by our own writer: every stored form the reader knows.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> ShapeSeeds();
