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
                          const std::filesystem::path& scratch) {
    const std::filesystem::path out = scratch / "stdout.txt";
    const std::filesystem::path err = scratch / "stderr.txt";
    std::string command = Quote(program);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
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
