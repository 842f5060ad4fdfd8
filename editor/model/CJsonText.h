#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A small JSON reader that remembers the line of every value, so a file a person edits can be
// refused with the line of what is wrong. Numbers keep their text as written. Nesting is limited
// and duplicate keys are refused.
class CJsonText {
public:
    struct SMember;
    struct SValue {
        enum class EType { Null, Bool, Number, String, Array, Object };
        EType type = EType::Null;
        int line = 1;
        bool boolean = false;
        // A string's text, or a number's text as written.
        std::string text;
        std::vector<SValue> items;
        std::vector<SMember> members;

        const SValue* Member(std::string_view key) const;
    };
    struct SMember {
        std::string key;
        SValue value;
    };

    static constexpr int kMaxDepth = 16;
    // Keys are compared one by one: an object of a record's fields has a hundred or so.
    static constexpr size_t kMaxMembers = 1000;

    // False with "line N: reason" in error when text is not one JSON value in UTF-8.
    static bool Parse(std::string_view text, SValue& root, std::string& error);
    // text as a JSON string literal (quotes included).
    static std::string Quote(std::string_view text);
};
