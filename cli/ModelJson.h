#pragma once

#include <string>
#include <string_view>

// A small writer of compact JSON objects, enough for the record commands.
class CJsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray(std::string_view key = {});
    void EndArray();
    void BeginObjectAt(std::string_view key);
    void Key(std::string_view key);
    void String(std::string_view key, std::string_view value);
    void Number(std::string_view key, long long value);
    // A value already in JSON form (a number as text).
    void Raw(std::string_view key, std::string_view json);
    void ArrayNumber(long long value);

    const std::string& Text() const { return m_out; }

    // A JSON string literal; bytes that are not valid UTF-8 become U+FFFD.
    static std::string Quote(std::string_view text);

private:
    void Separate();

    std::string m_out;
    bool m_first = true;
};
