#pragma once

#include "CliCommand.h"

#include <string>

class CAssetLibrary;

// Commands on the game's archives, packed streams and pictures.
const std::vector<CliCommand>& AssetCommands();

// Loads and initialises the library (beside the tool, or --library) as the editor does; false
// with a message in error.
bool StartLibrary(const CliContext& context, CAssetLibrary& library, std::string& error);
