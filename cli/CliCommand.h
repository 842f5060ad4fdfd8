#pragma once

#include <optional>
#include <string>
#include <vector>

// What every command sees: its own arguments (global options already taken out) and the
// global options, which may stand before or after the command name.
struct CliContext {
    std::vector<std::string> args; // args[0] is the command name
    std::optional<std::string> game;
    std::optional<std::string> db;
    std::optional<std::string> texts;
    std::optional<std::string> library;
    unsigned gameLanguage = 0;
    std::string programPath; // argv[0], to find libraries beside the tool
};

struct CliCommand {
    std::string name;
    std::string usage;   // one line, e.g. "info FILE"
    std::string summary; // what it prints or does
    int (*run)(const CliContext&);
};

// Prints "kestrel-cli: MESSAGE" to standard error and returns exit status 1.
int CliFail(const std::string& message);
