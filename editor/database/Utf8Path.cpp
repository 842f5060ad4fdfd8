#include "Utf8Path.h"

std::filesystem::path Utf8Path(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string Utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::FILE* OpenUtf8(const std::string& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(Utf8Path(path).c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}
