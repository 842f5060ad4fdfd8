// Writes filter texts in the language of docs/filters.md into the folder argv[1].
#include "fuzz/common/SeedFiles.h"

#include <string>

namespace {

std::vector<Seed> FilterSeeds() {
    const char* texts[] = {
        "pace>=85 and age<21",
        "name~\"son\" and team~\"united\" or preferred_position_1 in (26,27,28)",
        "not (league=1 or league~\"premier\") and overall between",
        "first_name=\"Jiří\" or last_name!~\"ö\" or common_name = \"\"",
        "team not in (1, 2, \"Kestrel FC\") and height<=-5",
        "((((pace>1))))",
        "age>99999999999999999999",
        "reflexes+=5",
        "pace*=1.1",
        "",
    };
    std::vector<Seed> seeds;
    int index = 0;
    for (const char* text : texts) {
        const std::string value(text);
        seeds.push_back({"filter" + std::to_string(index++) + ".txt",
                         std::vector<uint8_t>(value.begin(), value.end())});
    }
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    return SeedsMain(argc, argv, FilterSeeds);
}
