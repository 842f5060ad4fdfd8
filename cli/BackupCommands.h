#pragma once

#include "CliCommand.h"

#include <vector>

// backups, restore and check: the safety net around saves.
const std::vector<CliCommand>& BackupCommands();
