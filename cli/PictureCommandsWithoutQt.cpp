#include "PictureCommands.h"

#include <iostream>

namespace {

int RunWithoutPictures(const CliContext& context) {
    return CliFail(context.args.front() +
                   " is not available: this kestrel-cli was built without Qt, which reads and "
                   "writes the pictures");
}

} // namespace

std::vector<CliCommand> PictureCommands() {
    const std::string missing = "not in this build (built without Qt)";
    return {
        {"shape", "shape ARCHIVE CONTAINER SHAPE OUT.png [--whole]", missing, RunWithoutPictures,
         {{"--whole", 0, ""}}},
        {"picture", "picture --game DIR ...", missing, RunWithoutPictures,
         {{"--size", 1, ""}, {"--bgra32", 0, ""}, {"--keep-magenta", 0, ""}}},
    };
}

void CopyTeamPictures(const CliContext&, const std::string&, int32_t, int32_t, const CTeam&,
                      const std::string&) {
    std::cerr << "kestrel-cli: pictures not copied: this kestrel-cli was built without Qt, which "
                 "reads and writes the pictures\n";
}
