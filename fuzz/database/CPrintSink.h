#pragma once

#include "editor/database/CMessageSink.h"

#include <iostream>
#include <string>

// Says on stderr why a seed could not be made.
class CPrintSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        std::cerr << key << ": " << detail << "\n";
    }
};
