#pragma once

#include "CliCommand.h"

#include <vector>

// Commands between databases: diff, patches, copies of teams and players from another
// installation.
const std::vector<CliCommand>& PatchCommands();
// copy-player --from OTHER_DIR PLAYER [TEAM].
int RunCopyPlayerFrom(const CliContext& context);
