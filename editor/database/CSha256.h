#pragma once

#include <cstdint>
#include <span>
#include <string>

// SHA-256 digests as 64 lower-case hex digits, the form backups record and compare.
class CSha256 {
public:
    static std::string Hex(std::span<const uint8_t> bytes);
};
