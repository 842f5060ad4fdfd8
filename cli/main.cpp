#include "AssetCommands.h"
#include "CliCommand.h"
#include "DatabaseCommands.h"
#include "ModelCommands.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <iostream>

namespace {

std::vector<const CliCommand*> AllCommands() {
    std::vector<const CliCommand*> all;
    for (const auto* group : {&DatabaseCommands(), &ModelCommands(), &AssetCommands()})
        for (const CliCommand& command : *group)
            all.push_back(&command);
    return all;
}

void PrintHelp() {
    std::cout << "Usage: kestrel-cli [GLOBAL OPTIONS] COMMAND [ARGS]\n\n"
                 "Global options (before or after the command):\n"
                 "  --game DIR           game installation folder (data/cmn/corvid.db and its texts)\n"
                 "  --game-language N    in-game text database of language N (default 0)\n"
                 "  --db FILE            game database file, instead of --game\n"
                 "  --texts FILE         in-game text database file, with --db\n"
                 "  --library PATH       Wren_Utils shared library to load\n"
                 "  --help               this text\n\n"
                 "Exit status: 0 on success, 1 with a one-line message on standard error.\n\n"
                 "Commands:\n";
    for (const CliCommand* command : AllCommands())
        std::cout << "  " << command->usage << "\n      " << command->summary << "\n";
}

// Takes the global options out of the argument list; returns false with a message on error.
bool ParseGlobalOptions(int argc, char** argv, CliContext& context, std::string& error) {
    context.programPath = argc > 0 ? argv[0] : "";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::optional<std::string>& slot) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            slot = argv[++i];
            return true;
        };
        if (arg == "--game") {
            if (!value(context.game))
                return false;
        } else if (arg == "--db") {
            if (!value(context.db))
                return false;
        } else if (arg == "--texts") {
            if (!value(context.texts))
                return false;
        } else if (arg == "--library") {
            if (!value(context.library))
                return false;
        } else if (arg == "--game-language") {
            std::optional<std::string> text;
            if (!value(text))
                return false;
            const char* end = text->data() + text->size();
            auto [ptr, ec] = std::from_chars(text->data(), end, context.gameLanguage);
            if (ec != std::errc() || ptr != end) {
                error = "--game-language needs a number, not '" + *text + "'";
                return false;
            }
        } else {
            context.args.push_back(arg);
        }
    }
    return true;
}

int Run(int argc, char** argv) {
    CliContext context;
    std::string error;
    if (!ParseGlobalOptions(argc, argv, context, error))
        return CliFail(error);
    if (context.args.empty() || context.args[0] == "--help" || context.args[0] == "help") {
        PrintHelp();
        return context.args.empty() ? 1 : 0;
    }
    for (const CliCommand* command : AllCommands())
        if (command->name == context.args[0])
            return command->run(context);
    return CliFail("unknown command '" + context.args[0] + "' (see kestrel-cli --help)");
}

} // namespace

int CliFail(const std::string& message) {
    std::cout.flush();
    std::cerr << "kestrel-cli: " << message << std::endl;
    return 1;
}

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        return CliFail(std::string("internal error: ") + e.what());
    } catch (...) {
        return CliFail("internal error");
    }
}
