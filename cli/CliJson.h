#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

// Objects keep their keys in the order they were written; floats are single precision, as the
// game stores them, so they print as short as they read.
using CliJson = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                     std::int64_t, std::uint64_t, float>;

// Compact text of the document; bytes that are not UTF-8 become U+FFFD.
std::string CliJsonText(const CliJson& json);

// A string value whose bytes that are not UTF-8 CliJsonTextKeepingBytes prints as \u00XX.
CliJson CliByteString(const std::string& bytes);
std::string CliJsonTextKeepingBytes(const CliJson& json);

// A number given as text ("12", "-0.5"); null for text that is no finite number.
CliJson CliNumber(const std::string& text);
