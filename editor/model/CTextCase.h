#pragma once

#include <string>
#include <string_view>

// Upper-casing of UTF-8 names for searches: Latin (with the accented letters of Latin-1 and
// Latin Extended-A), Greek and Cyrillic; other characters and invalid bytes pass unchanged.
class CTextCase {
public:
    static std::string ToUpper(std::string_view utf8);
    // Appends the upper case of utf8 to out (no allocation once out has room).
    static void AppendUpper(std::string_view utf8, std::string& out);
};
