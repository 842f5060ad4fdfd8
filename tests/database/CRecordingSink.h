#pragma once

#include "editor/database/CMessageSink.h"

#include <string>
#include <vector>

// Remembers every report, so tests can check that a failure was reported and what it names.
class CRecordingSink : public CMessageSink {
public:
    struct Message {
        std::string key;
        std::string detail;
    };
    void Report(const std::string& key, const std::string& detail) override {
        messages.push_back({key, detail});
    }
    std::string Last() const { return messages.empty() ? "" : messages.back().detail; }
    std::vector<Message> messages;
};
