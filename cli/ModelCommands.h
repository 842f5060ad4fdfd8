#pragma once

#include "CliCommand.h"

// Commands on the loaded game database: records, squads, search, CSV, sample installation.
const std::vector<CliCommand>& ModelCommands();
