#pragma once

#include "editor/database/CMessageSink.h"

#include <QtGlobal>

// Reports go to the test's log as warnings, where a failing check's cause can be read.
class CWarningSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        qWarning("%s: %s", key.c_str(), detail.c_str());
    }
};
