#pragma once

#include "CliCommand.h"

// Commands on the game's archives, packed streams and pictures.
const std::vector<CliCommand>& AssetCommands();
