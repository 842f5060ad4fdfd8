#include "DatabaseCommands.h"

const std::vector<CliCommand>& DatabaseCommands() {
    static const std::vector<CliCommand> commands = {};
    return commands;
}
