#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What a finished program left behind: its exit status (-1 when it did not exit normally) and
// everything it wrote.
struct SProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Where a program's standard input comes from and its output goes, when not the defaults.
struct SProcessIo {
    std::filesystem::path input;  // a file read as standard input (empty: none)
    std::string output;           // where standard output goes instead of being captured, e.g.
                                  // /dev/full (empty: captured into out)
    bool closedOutput = false;    // standard output is a pipe whose reader has gone
};

// Runs the program with the arguments through the shell, each argument quoted; its output is
// captured in files inside scratch, which must exist.
SProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& scratch, const SProcessIo& io = {});
