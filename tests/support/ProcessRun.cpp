#include "ProcessRun.h"

#include "WholeFile.h"

#include <cstdlib>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

std::string Quote(const std::string& arg) {
#ifdef _WIN32
    return "\"" + arg + "\"";
#else
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
#endif
}

} // namespace

SProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& scratch, const SProcessIo& io) {
    const std::filesystem::path out = scratch / "stdout.txt";
    const std::filesystem::path err = scratch / "stderr.txt";
    std::string command = Quote(program);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    if (!io.input.empty())
        command += " <" + Quote(io.input.string());
    std::filesystem::remove(out);
    if (io.closedOutput) {
        // The reader ends at once; the program's writes then meet a closed pipe. The status is
        // the program's (pipefail), read back through a file.
        const std::filesystem::path status = scratch / "status.txt";
        command = "(" + command + " 2>" + Quote(err.string()) + "; echo $? >" +
                  Quote(status.string()) + ") | true";
        SProcessResult result;
        [[maybe_unused]] const int shell = std::system(command.c_str());
        const std::string text = ReadText(status);
        result.status = text.empty() ? -1 : std::stoi(text);
        result.err = ReadText(err);
        return result;
    }
    command += " >" + Quote(io.output.empty() ? out.string() : io.output) + " 2>" +
               Quote(err.string());
    SProcessResult result;
    const int raw = std::system(command.c_str());
#ifdef _WIN32
    result.status = raw;
#else
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    result.out = ReadText(out);
    result.err = ReadText(err);
    return result;
}
