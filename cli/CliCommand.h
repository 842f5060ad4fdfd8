#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// What every command sees: its positional arguments, the options it declared and the global
// options, which may stand before or after the command name.
struct CliContext {
    std::vector<std::string> args; // args[0] is the command name, then the positional arguments
    std::map<std::string, std::vector<std::string>> options; // declared options that were given
    std::optional<std::string> game;
    std::optional<std::string> db;
    std::optional<std::string> texts;
    std::optional<std::string> library;
    unsigned gameLanguage = 0;
    std::optional<int> keep; // backups a save keeps of each file (--keep)
    bool force = false;      // save even what loses rows the load left out (--force)
    std::string programPath; // argv[0], to find libraries beside the tool

    bool Has(const std::string& option) const { return options.count(option) != 0; }
    // The (first) value of an option, or nothing when it was not given.
    std::optional<std::string> Value(const std::string& option) const;
};

// An option of one command: a flag (values 0), or an option taking that many values.
struct CliOption {
    std::string name;   // "--seed"
    int values = 1;
    std::string what;   // shown in the command's --help, e.g. "N  seed of the generator"
};

struct CliCommand {
    std::string name;
    std::string usage;   // one line, e.g. "info FILE"
    std::string summary; // what it prints or does
    int (*run)(const CliContext&);
    std::vector<CliOption> options = {};
};

// Exit status of a command line the tool cannot make sense of (unknown command or option, a
// missing or extra argument); a failure of the work itself is 1.
constexpr int kCliUsageStatus = 2;

// Prints "kestrel-cli: MESSAGE" to standard error and returns exit status 1.
int CliFail(const std::string& message);
// Prints "kestrel-cli: usage: kestrel-cli USAGE" to standard error and returns exit status 2.
int CliUsage(const std::string& usage);
