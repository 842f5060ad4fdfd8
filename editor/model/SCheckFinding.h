#pragma once

#include <cstdint>
#include <string>

// One finding of the database check. Errors can break the game or lose data; warnings are
// oddities. The code is stable (scripts match on it); the message is English detail.
struct SCheckFinding {
    enum class ESeverity { Error, Warning };
    enum class EKind { Player, Team, League, Stadium, Formation, File };

    ESeverity severity = ESeverity::Error;
    std::string code;
    EKind kind = EKind::File;
    int32_t id = 0;
    std::string message;
    // The player field the finding is about, by its filter name; empty when it is about none.
    std::string playerField;

    static const char* SeverityName(ESeverity severity);
    static const char* KindName(EKind kind);
};
