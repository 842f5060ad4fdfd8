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

// Runs the program with the arguments through the shell, each argument quoted; its output is
// captured in files inside scratch, which must exist.
SProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& scratch);
