#pragma once

#include "CliCommand.h"

// Commands on raw database files: catalogue dump, in-game texts.
const std::vector<CliCommand>& DatabaseCommands();
