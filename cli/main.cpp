#include "AssetCommands.h"
#include "BackupCommands.h"
#include "CliCommand.h"
#include "DatabaseCommands.h"
#include "ModelCommands.h"
#include "PatchCommands.h"

#include "editor/database/CInstallationLock.h"
#include "editor/model/CBackupStore.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>

#ifndef KESTREL_VERSION
#define KESTREL_VERSION "unknown"
#endif

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

constexpr const char* kUsage = "[GLOBAL OPTIONS] COMMAND [ARGS]; see kestrel-cli --help";

constexpr const char* kGlobalHelp =
    "Usage: kestrel-cli [GLOBAL OPTIONS] COMMAND [ARGS]\n\n"
    "Global options (before or after the command):\n"
    "  --game DIR           game installation folder (data/cmn/corvid.db and its texts)\n"
    "  --game-language N    in-game text database of language N (default 0)\n"
    "  --db FILE            game database file, instead of --game\n"
    "  --texts FILE         in-game text database file, with --db\n"
    "  --library PATH       Wren_Utils shared library to load\n"
    "  --keep N             backups a save keeps of each file, 0-1000 (default 20; the\n"
    "                       first backup of a file is always kept)\n"
    "  --wait SECONDS       how long a command that writes the game waits for another\n"
    "                       writer to finish, 0-3600 (default 5)\n"
    "  --force              save even when the load had to leave rows out (duplicate\n"
    "                       ids, broken rows: see check), which the save then loses\n"
    "  -h, --help           this text (COMMAND --help: that command's)\n"
    "  --version            the tool's version\n\n"
    "A FILE given as - is standard input where it is read, standard output where written.\n\n"
    "Exit status: 0 on success; 1 when the work failed, with a one-line message on standard\n"
    "error; 2 when the command line is wrong (unknown command or option, a missing or extra\n"
    "argument), with the usage on standard error.\n\n"
    "Commands:\n";

std::vector<const CliCommand*> AllCommands() {
    std::vector<const CliCommand*> all;
    for (const auto* group : {&DatabaseCommands(), &ModelCommands(), &PatchCommands(),
                              &BackupCommands(), &AssetCommands()})
        for (const CliCommand& command : *group)
            all.push_back(&command);
    return all;
}

void PrintHelp(std::ostream& out) {
    out << kGlobalHelp;
    for (const CliCommand* command : AllCommands())
        out << "  " << command->usage << "\n      " << command->summary << "\n";
}

// Breaks text into lines of at most width characters, each starting with indent.
std::string Wrap(const std::string& text, const std::string& indent, size_t width = 79) {
    std::string out, line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && indent.size() + line.size() + 1 + word.size() > width) {
            out += indent + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return line.empty() ? out : out + indent + line + "\n";
}

std::string CommandHelp(const CliCommand& command) {
    std::string help = "Usage: kestrel-cli [GLOBAL OPTIONS] " + command.usage + "\n\n" +
                       Wrap(command.summary, "") + "\nOptions:\n";
    for (const CliOption& option : command.options)
        help += "  " + option.name + " " + option.what + "\n";
    return help + "  --help this text\n\nGlobal options: see kestrel-cli --help\n";
}

// The global options, wherever they stand, go to the context as the commands expect them.
void AddGlobalOptions(CLI::App& app, CliContext& context) {
    const auto slot = [&app](const char* name, std::optional<std::string>& target) {
        app.add_option_function<std::string>(name, [&target](const std::string& v) { target = v; })
            ->expected(1);
    };
    slot("--game", context.game);
    slot("--db", context.db);
    slot("--texts", context.texts);
    slot("--library", context.library);
    app.add_option_function<std::string>("--game-language", [&context](const std::string& text) {
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, context.gameLanguage);
        if (ec != std::errc() || ptr != end)
            throw CLI::ValidationError("--game-language needs a number, not '" + text + "'");
    });
    app.add_option_function<std::string>("--keep", [&context](const std::string& text) {
        int keep = -1;
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, keep);
        if (ec != std::errc() || ptr != end || keep < 0 || keep > 1000)
            throw CLI::ValidationError("--keep needs a number from 0 to 1000, not '" + text + "'");
        context.keep = keep;
    });
    app.add_option_function<std::string>("--wait", [](const std::string& text) {
        double seconds = -1;
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, seconds);
        if (ec != std::errc() || ptr != end || !(seconds >= 0 && seconds <= 3600))
            throw CLI::ValidationError("--wait needs a number of seconds from 0 to 3600, not '" +
                                       text + "'");
        CInstallationLock::SetDefaultWait(std::chrono::milliseconds(std::lround(seconds * 1000)));
    });
    app.add_flag_callback("--force", [&context] { context.force = true; });
}

CLI::App* AddCommand(CLI::App& app, const CliCommand& command, CliContext& context) {
    CLI::App* sub = app.add_subcommand(command.name, command.summary);
    sub->fallthrough(); // global options may follow the command
    sub->set_help_flag("--help", "this text");
    sub->add_option_function<std::vector<std::string>>(
        "args", [&context](const std::vector<std::string>& values) {
            context.args.insert(context.args.end(), values.begin(), values.end());
        });
    for (const CliOption& option : command.options) {
        const std::string name = option.name;
        if (option.values == 0) {
            sub->add_flag_callback(name, [&context, name] { context.options[name]; });
            continue;
        }
        sub->add_option_function<std::vector<std::string>>(
               name,
               [&context, name](const std::vector<std::string>& values) {
                   context.options[name] = values;
               })
            ->expected(option.values)
            // An option takes its own values only; the words after them stay positional.
            ->allow_extra_args(false);
    }
    return sub;
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// "kestrel-cli: WHAT (usage: kestrel-cli USAGE)", exit status 2.
int UsageError(const std::string& what, const std::string& usage) {
    std::cout.flush();
    std::cerr << "kestrel-cli: " << what << " (usage: kestrel-cli " << usage << ")" << std::endl;
    return kCliUsageStatus;
}

// What was printed must have arrived: a full disk or a closed file is a failure, while a reader
// that went away (a closed pipe, e.g. `| head`) only wanted less, and stays silent.
int FinishOutput(int status) {
    // errno stays as the failed write left it: each later write to the same output fails alike.
    std::cout.flush();
    if (std::fflush(stdout) == 0 && !std::ferror(stdout) && std::cout.good())
        return status;
    const int error = errno;
    if (error == EPIPE)
        return status;
    std::cerr << "kestrel-cli: cannot write to standard output: "
              << (error != 0 ? std::strerror(error) : "write error") << std::endl;
    return 1;
}

int Run(int argc, char** argv) {
    CInstallationLock::SetHolderName("kestrel-cli");
    CBackupStore::SetWarningHandler(
        [](const std::string& text) { std::cerr << "kestrel-cli: warning: " << text << "\n"; });
    CliContext context;
    context.programPath = argc > 0 ? argv[0] : "";
    CLI::App app("kestrel-cli");
    app.set_help_flag("-h,--help");
    bool version = false;
    app.add_flag("--version", version);
    app.allow_extras();           // unknown words are reported below in the tool's own words
    app.require_subcommand(0, 1); // a command's arguments may be other commands' names
    AddGlobalOptions(app, context);
    std::vector<std::pair<CLI::App*, const CliCommand*>> commands;
    for (const CliCommand* command : AllCommands())
        commands.emplace_back(AddCommand(app, *command, context), command);
    app.add_subcommand("help", "this text");

    const auto chosen = [&]() -> const CliCommand* {
        for (const auto& [sub, command] : commands)
            if (sub->parsed())
                return command;
        return nullptr;
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        if (const CliCommand* command = chosen())
            std::cout << CommandHelp(*command);
        else
            PrintHelp(std::cout);
        return 0;
    } catch (const CLI::ParseError& e) {
        const CliCommand* command = chosen();
        return UsageError(OneLine(e.what()), command ? command->usage : kUsage);
    }
    const CliCommand* command = chosen();
    const std::vector<std::string> extras = app.remaining();
    if (version && !command && extras.empty()) {
        std::cout << "kestrel-cli " << KESTREL_VERSION << "\n";
        return 0;
    }
    if (!command) {
        if (!extras.empty() && extras[0].starts_with("-") && extras[0] != "-")
            return UsageError("unknown option " + extras[0], kUsage);
        if (!extras.empty())
            return UsageError("unknown command '" + extras[0] + "'", kUsage);
        if (app.got_subcommand("help")) {
            PrintHelp(std::cout);
            return 0;
        }
        std::cout.flush();
        PrintHelp(std::cerr);
        return kCliUsageStatus;
    }
    if (version)
        return UsageError("--version takes no command", command->usage);
    if (!extras.empty())
        return UsageError("unknown option " + extras[0], command->usage);
    context.args.insert(context.args.begin(), command->name);
    return command->run(context);
}

} // namespace

std::optional<std::string> CliContext::Value(const std::string& option) const {
    const auto found = options.find(option);
    if (found == options.end() || found->second.empty())
        return std::nullopt;
    return found->second.front();
}

int CliFail(const std::string& message) {
    std::cout.flush();
    std::cerr << "kestrel-cli: " << message << std::endl;
    return 1;
}

#ifdef _WIN32
// Paths travel through the tool as UTF-8; the narrow arguments Windows hands main are in the
// ANSI code page, which cannot hold every name, so the wide command line is converted instead.
std::vector<std::string> Utf8Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return arguments;
    for (int i = 0; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(size > 0 ? static_cast<size_t>(size) : 1, '\0');
        if (size > 0)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
        text.resize(text.size() - 1);
        arguments.push_back(std::move(text));
    }
    LocalFree(wide);
    return arguments;
}
#endif

int CliUsage(const std::string& usage) {
    std::cout.flush();
    std::cerr << "kestrel-cli: usage: kestrel-cli " << usage << std::endl;
    return kCliUsageStatus;
}

int main(int argc, char** argv) {
    int status = 1;
    try {
#ifdef _WIN32
        std::vector<std::string> arguments = Utf8Arguments();
        std::vector<char*> pointers;
        for (std::string& argument : arguments)
            pointers.push_back(argument.data());
        pointers.push_back(nullptr);
        status = arguments.empty() ? Run(argc, argv)
                                   : Run(static_cast<int>(arguments.size()), pointers.data());
#else
        status = Run(argc, argv);
#endif
    } catch (const std::exception& e) {
        status = CliFail(std::string("internal error: ") + e.what());
    } catch (...) {
        status = CliFail("internal error");
    }
    return FinishOutput(status);
}
