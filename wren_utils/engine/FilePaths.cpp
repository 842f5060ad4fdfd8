#include "wren_utils/engine/FilePaths.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace wren {

std::filesystem::path FILE_pathof(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FILE_utf8of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::FILE* FILE_fopen(const std::string& utf8, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(FILE_pathof(utf8).c_str(), wideMode.c_str());
#else
    return std::fopen(utf8.c_str(), mode);
#endif
}

void FILE_replace(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::error_code& error) {
#ifdef _WIN32
    error.clear();
    if (!MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
#else
    std::filesystem::rename(from, to, error);
#endif
}

std::string FILE_fromnative(const char* name) {
#ifdef _WIN32
    const int wideSize = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    if (wideSize <= 0)
        return name;
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide.data(), wideSize);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return name;
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
#else
    return name;
#endif
}

} // namespace wren
