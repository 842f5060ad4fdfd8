#pragma once

#include <string>
#include <string_view>

// Upper-casing of UTF-8 names for searches: Latin (with the accented letters of Latin-1 and
// Latin Extended-A), Greek and Cyrillic; other characters and invalid bytes pass unchanged.
class CTextCase {
public:
    static std::string ToUpper(std::string_view utf8);
};
