#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace wren {

// File names travel through the library as UTF-8; these hand the system what it takes (wide
// names on Windows, whose narrow calls would read them in the ANSI code page).
std::filesystem::path FILE_pathof(const std::string& utf8);
std::string FILE_utf8of(const std::filesystem::path& path);
std::FILE* FILE_fopen(const std::string& utf8, const char* mode);

// Puts from in place of to, replacing it, in one step: on Windows MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, which returns once the move is on the disk.
void FILE_replace(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::error_code& error);

// A name handed to an export, in the platform's narrow encoding (the ANSI code page on
// Windows), as UTF-8.
std::string FILE_fromnative(const char* name);

} // namespace wren
