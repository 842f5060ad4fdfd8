#include "CSha256.h"

#include "Utf8Path.h"

#ifdef _WIN32
// MinGW has no OpenSSL; the system's own hash provider gives the same digests.
#include <windows.h>
#include <bcrypt.h>
#else
#include <openssl/evp.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef _WIN32

struct CSha256::SState {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    SState() {
        if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0)
            algorithm = nullptr;
        Begin();
    }
    ~SState() {
        if (hash)
            BCryptDestroyHash(hash);
        if (algorithm)
            BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    void Begin() {
        if (hash)
            BCryptDestroyHash(hash);
        hash = nullptr;
        if (algorithm && BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) != 0)
            hash = nullptr;
    }
    bool Update(const uint8_t* bytes, size_t size) {
        // BCryptHashData takes at most 4 GiB a call.
        while (size > 0) {
            const ULONG part = static_cast<ULONG>(std::min<size_t>(size, 0x40000000));
            if (!hash || BCryptHashData(hash, const_cast<PUCHAR>(bytes), part, 0) != 0)
                return false;
            bytes += part;
            size -= part;
        }
        return true;
    }
    bool Finish(unsigned char* digest, unsigned int& length) {
        length = 32;
        const bool done = hash && BCryptFinishHash(hash, digest, 32, 0) == 0;
        Begin();
        return done;
    }
};

#else

struct CSha256::SState {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    SState() { Begin(); }
    ~SState() { EVP_MD_CTX_free(context); }
    void Begin() { EVP_DigestInit_ex(context, EVP_sha256(), nullptr); }
    bool Update(const uint8_t* bytes, size_t size) {
        return EVP_DigestUpdate(context, bytes, size) == 1;
    }
    bool Finish(unsigned char* digest, unsigned int& length) {
        const bool done = EVP_DigestFinal_ex(context, digest, &length) == 1;
        Begin();
        return done;
    }
};

#endif

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

CSha256::CSha256() : m_state(std::make_unique<SState>()) {}

CSha256::~CSha256() = default;

void CSha256::Add(std::span<const uint8_t> bytes) {
    if (!bytes.empty())
        m_state->Update(bytes.data(), bytes.size());
}

std::string CSha256::HexDigest() {
    unsigned char digest[64];
    unsigned int length = 0;
    const bool done = m_state->Finish(digest, length);
    return done ? ToHex(digest, length) : std::string();
}

std::string CSha256::Hex(std::span<const uint8_t> bytes) {
    SState state;
    unsigned char digest[64];
    unsigned int length = 0;
    if (!state.Update(bytes.data(), bytes.size()) || !state.Finish(digest, length))
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
