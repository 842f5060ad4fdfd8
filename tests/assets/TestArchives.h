#pragma once

#include "wren_utils/shapes/BgraImage.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Archives and containers written by our own writers for the tests.
namespace testarchives {

wren::BgraImage Picture(uint32_t width, uint32_t height, uint8_t seed);

// A container with one 32-bit shape per (tag, picture).
std::vector<uint8_t> Container(const std::vector<std::pair<std::string, wren::BgraImage>>& shapes);

// A "BIGF" archive of (name, bytes) entries; `packEntries` stores each entry as a packed stream.
std::vector<uint8_t>
Archive(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries, bool packEntries);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace testarchives
