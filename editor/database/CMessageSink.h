#pragma once

#include <string>

// Where the core reports a failure it cannot return on its own: the editor shows a message box
// with the localised text of the key, the command-line tool prints one line to standard error.
class CMessageSink {
public:
    virtual ~CMessageSink() = default;

    // key: a localisation key such as "Error_OpenToRead"; detail: what went wrong and where
    // (file, table, record, offset, the system's reason), in English; may be empty.
    virtual void Report(const std::string& key, const std::string& detail) = 0;
};

// For a failure the caller handles itself (an optional file, a second look at a file).
class CIgnoringSink : public CMessageSink {
public:
    void Report(const std::string&, const std::string&) override {}
};
