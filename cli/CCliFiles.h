#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The files a command reads and writes, where "-" stands for standard input or output.
class CCliFiles {
public:
    static bool IsStandard(const std::string& path) { return path == "-"; }

    // The whole file, or all of standard input for "-". Only a regular file is read by name
    // (a FIFO would block, a folder cannot be read). Nothing, with the reason, beyond limit
    // bytes or when it cannot be read.
    static std::optional<std::vector<uint8_t>> Read(const std::string& path, std::string& error,
                                                    uint64_t limit = UINT64_MAX);
    // Writes the bytes to standard output for "-". An existing target that is not a regular
    // file (a device, a FIFO) is written through as it is; otherwise the file is replaced
    // whole through a new file beside it (a link stays a link and its file is replaced), so a
    // failure leaves it as it was. False with the reason.
    static bool Write(const std::string& path, std::span<const uint8_t> bytes, std::string& error);
    static bool Write(const std::string& path, const std::string& text, std::string& error);
};
