#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wren {

// Reads one entry of an archive with 4-byte offsets and sizes ("BIGF" or "BIG4") from its file
// through the file system, reading only the directory and the entry. Names compare exactly
// (letter case counts) and may be up to 255 bytes. Reports to the debug channel and returns
// nullopt when the file is missing or unreadable, the name is absent, or the directory or the
// entry runs past the file.
std::optional<std::vector<std::uint8_t>> BIG_readentry(const std::string& path,
                                                       std::string_view name);

} // namespace wren
