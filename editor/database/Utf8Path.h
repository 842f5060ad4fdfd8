#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// Paths travel through the core as UTF-8; these turn them into what the system calls take.
std::filesystem::path Utf8Path(const std::string& path);
// The UTF-8 text of a path (the narrow string() is in the ANSI code page on Windows).
std::string Utf8Text(const std::filesystem::path& path);
std::FILE* OpenUtf8(const std::string& path, const char* mode);
