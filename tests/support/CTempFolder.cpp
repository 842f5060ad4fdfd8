#include "CTempFolder.h"

#include "WholeFile.h"

#include <atomic>
#include <random>

CTempFolder::CTempFolder() {
    // Random part for parallel test processes, counter for folders within one process.
    static std::atomic<int> counter{0};
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() /
             ("kestrel-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_path);
}

CTempFolder::~CTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string CTempFolder::Write(const std::string& name,
                               const std::vector<std::uint8_t>& bytes) const {
    const std::string path = File(name);
    WriteAll(path, bytes);
    return path;
}
