#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

// SHA-256 digests as 64 lower-case hex digits, the form backups record and compare. An object
// digests bytes given piece by piece, so a file of any size is hashed without holding it whole.
class CSha256 {
public:
    CSha256();
    ~CSha256();
    CSha256(const CSha256&) = delete;
    CSha256& operator=(const CSha256&) = delete;

    void Add(std::span<const uint8_t> bytes);
    // The digest of everything added; the object starts again empty.
    std::string HexDigest();

    static std::string Hex(std::span<const uint8_t> bytes);
    // The digest and size of a file read in chunks; nothing, with the reason in error, when it
    // cannot be read.
    struct SFileDigest {
        std::string sha256;
        uint64_t size = 0;
    };
    static std::optional<SFileDigest> OfFile(const std::filesystem::path& path,
                                             std::string& error);

private:
    struct SState;
    std::unique_ptr<SState> m_state;
};
