#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Whole files at once; a missing file reads as empty.
std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);
// Replaces the file's contents; false when it could not be written.
bool WriteAll(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
bool WriteText(const std::filesystem::path& path, const std::string& text);
