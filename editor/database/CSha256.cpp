#include "CSha256.h"

#include "Utf8Path.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

struct CSha256::SState {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~SState() { EVP_MD_CTX_free(context); }
};

namespace {

constexpr size_t kFileChunk = size_t{1} << 20;

std::string ToHex(const unsigned char* digest, unsigned int length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 0xF];
    }
    return hex;
}

} // namespace

CSha256::CSha256() : m_state(std::make_unique<SState>()) {
    EVP_DigestInit_ex(m_state->context, EVP_sha256(), nullptr);
}

CSha256::~CSha256() = default;

void CSha256::Add(std::span<const uint8_t> bytes) {
    if (!bytes.empty())
        EVP_DigestUpdate(m_state->context, bytes.data(), bytes.size());
}

std::string CSha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const bool done = EVP_DigestFinal_ex(m_state->context, digest, &length) == 1;
    EVP_DigestInit_ex(m_state->context, EVP_sha256(), nullptr);
    return done ? ToHex(digest, length) : std::string();
}

std::string CSha256::Hex(std::span<const uint8_t> bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1)
        return {};
    return ToHex(digest, length);
}

std::optional<CSha256::SFileDigest> CSha256::OfFile(const std::filesystem::path& path,
                                                   std::string& error) {
    const std::u8string name = path.u8string();
    const std::string text(name.begin(), name.end());
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenUtf8(text, "rb"), &std::fclose);
    if (!file) {
        error = "cannot open " + text + ": " + std::strerror(errno);
        return std::nullopt;
    }
    CSha256 hash;
    SFileDigest digest;
    std::vector<uint8_t> chunk(kFileChunk);
    for (;;) {
        const size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        hash.Add(std::span(chunk.data(), got));
        digest.size += got;
        if (got < chunk.size())
            break;
    }
    if (std::ferror(file.get())) {
        error = "cannot read " + text + ": " + std::strerror(errno);
        return std::nullopt;
    }
    digest.sha256 = hash.HexDigest();
    return digest;
}
