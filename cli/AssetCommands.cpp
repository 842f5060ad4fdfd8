#include "AssetCommands.h"

const std::vector<CliCommand>& AssetCommands() {
    static const std::vector<CliCommand> commands = {};
    return commands;
}
