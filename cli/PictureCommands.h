#pragma once

#include "CliCommand.h"

#include <cstdint>
#include <string>

class CTeam;

// The commands that read and write pictures (shape, picture).
std::vector<CliCommand> PictureCommands();

// Imports the crest and kit pictures of team `there` in the installation `from` here under the
// team's id `here`; a picture that cannot be copied is skipped with a message on standard error.
void CopyTeamPictures(const CliContext& context, const std::string& from, int32_t there,
                      int32_t here, const CTeam& team, const std::string& dbPath);
